#include "analysis/log_source.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vorel::analysis {

namespace {
constexpr size_t kBlockSize = 1 << 16;
}

LogSource::~LogSource() { Close(); }

bool LogSource::Open(const std::string& path) {
  Close();
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  struct stat info {};
  totalSize_ = ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode) ? static_cast<uint64_t>(info.st_size) : 0;
  bytesRead_ = 0;
  endedEarly_ = readFailed_ = ended_ = false;
  // The signature is read from the stream itself, so a pipe is not read twice.
  head_.assign(kCompressionSignatureBytes, '\0');
  size_t have = 0;
  while (have < head_.size()) {
    const ssize_t n = ::read(fd_, head_.data() + have, head_.size() - have);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) readFailed_ = true;
    if (n <= 0) break;
    have += static_cast<size_t>(n);
  }
  head_.resize(have);
  headPos_ = 0;
  bytesRead_ = have;
  compression_ = DetectCompression(head_);
  if (compression_ != Compression::None && !readFailed_ && !OpenDecompression()) {
    // Signature and no data behind it: the file ends before its first block.
    if (!readFailed_) endedEarly_ = true;
    ended_ = true;
  }
  return true;
}

void LogSource::Close() {
  if (archive_) archive_read_free(archive_);
  archive_ = nullptr;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  head_.clear();
  block_ = std::string();
}

long LogSource::ReadRaw(char* buffer, size_t size) {
  if (headPos_ < head_.size()) {
    const size_t n = std::min(size, head_.size() - headPos_);
    std::memcpy(buffer, head_.data() + headPos_, n);
    headPos_ += n;
    return static_cast<long>(n);
  }
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) readFailed_ = true;
    if (n > 0) bytesRead_ += static_cast<uint64_t>(n);
    return n;
  }
}

long LogSource::ArchiveRead(struct archive*, void* self, const void** block) {
  auto* source = static_cast<LogSource*>(self);
  *block = source->block_.data();
  return source->ReadRaw(source->block_.data(), source->block_.size());
}

// Only the four formats the signature names, each by its library: nothing
// is handed to an outside program.
bool LogSource::OpenDecompression() {
  archive_ = archive_read_new();
  if (!archive_) return false;
  switch (compression_) {
    case Compression::Gzip: archive_read_support_filter_gzip(archive_); break;
    case Compression::Bzip2: archive_read_support_filter_bzip2(archive_); break;
    case Compression::Xz: archive_read_support_filter_xz(archive_); break;
    case Compression::Zstd: archive_read_support_filter_zstd(archive_); break;
    case Compression::None: break;
  }
  archive_read_support_format_raw(archive_);
  block_.assign(kBlockSize, '\0');
  if (archive_read_open(archive_, this, nullptr, &LogSource::ArchiveRead, nullptr) != ARCHIVE_OK) return false;
  struct archive_entry* entry = nullptr;
  const int header = archive_read_next_header(archive_, &entry);
  if (header == ARCHIVE_EOF) {
    ended_ = true;  // an empty stream
    return true;
  }
  // A filter that did not take the data found it too short to be its kind.
  return header == ARCHIVE_OK && archive_filter_code(archive_, 0) != ARCHIVE_FILTER_NONE;
}

long LogSource::ReadDecompressed(char* buffer, size_t size) {
  const la_ssize_t n = archive_read_data(archive_, buffer, size);
  if (n >= 0) return static_cast<long>(n);
  ended_ = true;
  if (readFailed_) return -1;
  endedEarly_ = true;
  return 0;
}

long LogSource::Read(char* buffer, size_t size) {
  if (ended_ || fd_ < 0 || size == 0) return 0;
  const long n = compression_ == Compression::None ? ReadRaw(buffer, size) : ReadDecompressed(buffer, size);
  if (n <= 0) ended_ = true;
  return n;
}

}  // namespace vorel::analysis
