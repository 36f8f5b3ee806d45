#include "analysis/log_reader.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
  eof_ = exhausted_ = readFailed_ = false;
  lineNo_ = 0;
  readTotal_ = 0;
  raw_.assign(2 * kChunkSize, '\0');
  pos_ = end_ = 0;
  lineEnd_ = std::string::npos;
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

namespace {

// The first LF or TAB in p[0, n), or npos; `high` is set when a byte before
// it (or any byte, when there is none) has its high bit set.
size_t ScanToSeparator(const char* p, size_t n, bool& high) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i tab = _mm_set1_epi8('\t');
  unsigned seenHigh = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const auto separators =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, tab))));
    const auto highBits = static_cast<unsigned>(_mm_movemask_epi8(v));
    if (separators != 0) {
      const unsigned k = static_cast<unsigned>(__builtin_ctz(separators));
      if ((seenHigh | (highBits & ((1u << k) - 1))) != 0) high = true;
      return i + k;
    }
    seenHigh |= highBits;
  }
  if (seenHigh != 0) high = true;
#endif
  for (; i < n; ++i) {
    const auto b = static_cast<unsigned char>(p[i]);
    if (b == '\n' || b == '\t') return i;
    if (b >= 0x80) high = true;
  }
  return std::string::npos;
}

}  // namespace

// Reads one more chunk after dropping the bytes already returned, so memory
// holds one line and a chunk. False at the end of the file or on a read error.
bool LogReader::ReadChunk() {
  if (pos_ > 0) {
    std::memmove(raw_.data(), raw_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    if (lineEnd_ != std::string::npos) lineEnd_ -= pos_;
    pos_ = 0;
  }
  while (!eof_) {
    if (raw_.size() - end_ < kChunkSize) raw_.resize(std::max(raw_.size() * 2, end_ + kChunkSize));
    long n = ReadBytes(raw_.data() + end_, kChunkSize);
    if (n < 0) {
      readFailed_ = true;
      eof_ = true;
      break;
    }
    if (n == 0) {
      eof_ = true;
      break;
    }
    end_ += static_cast<size_t>(n);
    readTotal_ += n;
    return true;
  }
  return false;
}

std::string_view LogReader::Text(size_t begin, size_t end, bool high) {
  std::string_view bytes(raw_.data() + begin, end - begin);
  if (!high) return bytes;
  text_.clear();
  platform::Cp932Decoder decoder;
  decoder.Decode(bytes, text_);
  decoder.Finish(text_);
  return text_;
}

std::string_view LogReader::Head(size_t size) {
  if (readTotal_ != static_cast<int64_t>(end_) || pos_ != 0) return {};
  while (end_ < size && ReadChunk()) {
  }
  return std::string_view(raw_.data(), std::min(size, end_));
}

// The text after the last LF of a file that does not end in LF: one record,
// whole, TABs and a final CR included.
bool LogReader::LastRecord(std::string_view& record) {
  exhausted_ = true;
  if (readFailed_ || pos_ >= end_) {
    raw_ = std::string();
    pos_ = end_ = 0;
    return false;
  }
  ++lineNo_;
  record = Text(pos_, end_, true);
  pos_ = end_;
  return true;
}

bool LogReader::ReadLogRecord(std::string_view& record) {
  record = {};
  if (exhausted_ || fd_ < 0) return false;
  bool high = false;
  size_t scanned = 0;  // bytes after pos_ known to hold no separator
  size_t separator;
  while (true) {
    const size_t found = ScanToSeparator(raw_.data() + pos_ + scanned, end_ - pos_ - scanned, high);
    if (found != std::string::npos) {
      separator = pos_ + scanned + found;
      if (splitAtTabs_ || raw_[separator] != '\t') break;
      scanned = separator - pos_ + 1;  // a TAB inside a whole line
      continue;
    }
    scanned = end_ - pos_;
    if (!ReadChunk()) return LastRecord(record);
  }
  const bool tab = raw_[separator] == '\t';
  if (tab && (lineEnd_ == std::string::npos || lineEnd_ < separator)) {
    // A TAB separates records only on a line that ends in LF.
    size_t searched = separator - pos_;
    while (true) {
      const void* lf = std::memchr(raw_.data() + pos_ + searched, '\n', end_ - pos_ - searched);
      if (lf) {
        lineEnd_ = static_cast<size_t>(static_cast<const char*>(lf) - raw_.data());
        break;
      }
      searched = end_ - pos_;
      const size_t offset = separator - pos_;
      if (!ReadChunk()) return LastRecord(record);
      separator = pos_ + offset;
    }
  }
  if (!tab) {
    ++lineNo_;
    lineEnd_ = std::string::npos;
  }
  size_t end = separator;
  if (end > pos_ && raw_[end - 1] == '\r') --end;
  record = Text(pos_, end, high);
  pos_ = separator + 1;
  return true;
}

}  // namespace vorel::analysis
