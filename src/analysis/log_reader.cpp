#include "analysis/log_reader.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>


namespace vorel::analysis {

namespace {
constexpr size_t kChunkSize = 1 << 16;
}

LogReader::~LogReader() { Close(); }

bool LogReader::Open(const std::string& path) {
  Close();
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  unsigned char magic[2] = {0, 0};
  if (::pread(fd_, magic, 2, 0) == 2 && magic[0] == 0x1F && magic[1] == 0x8B) {
    gz_ = gzdopen(fd_, "rb");
    if (!gz_) {
      ::close(fd_);
      fd_ = -1;
      return false;
    }
    gzbuffer(static_cast<gzFile>(gz_), 1 << 17);
  }
  decoder_.Reset();
  eof_ = exhausted_ = readFailed_ = false;
  lineNo_ = 0;
  buffer_.clear();
  pos_ = 0;
  lineEnd_ = std::string::npos;
  chunk_.resize(kChunkSize);
  return true;
}

void LogReader::Close() {
  if (gz_) gzclose(static_cast<gzFile>(gz_));  // closes fd_ too
  else if (fd_ >= 0) ::close(fd_);
  gz_ = nullptr;
  fd_ = -1;
}

long LogReader::ReadBytes(char* buffer, size_t size) {
  if (gz_) {
    int n = gzread(static_cast<gzFile>(gz_), buffer, static_cast<unsigned>(size));
    return n < 0 ? -1 : n;
  }
  for (;;) {
    ssize_t n = ::read(fd_, buffer, size);
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

// Reads and decodes chunks until the buffer holds an LF after pos_ or the file
// has ended. Consumed text is dropped first, so memory holds one line and a chunk.
bool LogReader::FillUntilLineEnd() {
  if (pos_ > 0) {
    buffer_.erase(0, pos_);
    pos_ = 0;
  }
  size_t searched = 0;
  while (!eof_) {
    long n = ReadBytes(chunk_.data(), chunk_.size());
    if (n < 0) {
      readFailed_ = true;
      eof_ = true;
      break;
    }
    if (n == 0) {
      eof_ = true;
      decoder_.Finish(buffer_);
      break;
    }
    decoder_.Decode(std::string_view(chunk_.data(), static_cast<size_t>(n)), buffer_);
    const void* lf = std::memchr(buffer_.data() + searched, '\n', buffer_.size() - searched);
    if (lf) {
      lineEnd_ = static_cast<size_t>(static_cast<const char*>(lf) - buffer_.data());
      return true;
    }
    searched = buffer_.size();
  }
  const void* lf = std::memchr(buffer_.data() + searched, '\n', buffer_.size() - searched);
  lineEnd_ = lf ? static_cast<size_t>(static_cast<const char*>(lf) - buffer_.data()) : std::string::npos;
  return lineEnd_ != std::string::npos;
}

bool LogReader::ReadLogRecord(std::string_view& record) {
  record = {};
  if (exhausted_ || fd_ < 0) return false;
  if (lineEnd_ == std::string::npos || lineEnd_ < pos_) {
    const void* lf = std::memchr(buffer_.data() + pos_, '\n', buffer_.size() - pos_);
    if (lf) {
      lineEnd_ = static_cast<size_t>(static_cast<const char*>(lf) - buffer_.data());
    } else if (!FillUntilLineEnd()) {
      if (readFailed_ || pos_ >= buffer_.size()) {
        exhausted_ = true;
        buffer_.clear();
        pos_ = 0;
        return false;
      }
      // The file ended without a final LF: the rest is one last record, whole.
      ++lineNo_;
      record = std::string_view(buffer_).substr(pos_);
      pos_ = buffer_.size();
      exhausted_ = true;
      return true;
    }
  }
  // A TAB before the line's LF separates a record without ending the line.
  const char* begin = buffer_.data() + pos_;
  const void* tab = splitAtTabs_ ? std::memchr(begin, '\t', lineEnd_ - pos_) : nullptr;
  size_t separator = tab ? static_cast<size_t>(static_cast<const char*>(tab) - buffer_.data()) : lineEnd_;
  if (!tab) ++lineNo_;
  size_t length = separator - pos_;
  if (length > 0 && begin[length - 1] == '\r') --length;
  record = std::string_view(begin, length);
  pos_ = separator + 1;
  if (!tab) lineEnd_ = std::string::npos;
  return true;
}

}  // namespace vorel::analysis
