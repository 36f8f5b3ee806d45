#include "analysis/log_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
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
  eof_ = exhausted_ = readFailed_ = false;
  lineNo_ = 0;
  raw_.assign(2 * kChunkSize, '\0');
  pos_ = end_ = 0;
  lineEnd_ = std::string::npos;
  return true;
}

void LogReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

// Reads chunks until the buffer holds an LF after pos_ or the file has ended.
// Consumed bytes are dropped first, so memory holds one line and a chunk.
bool LogReader::FillUntilLineEnd() {
  if (pos_ > 0) {
    std::memmove(raw_.data(), raw_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  size_t searched = end_;
  while (!eof_) {
    if (raw_.size() - end_ < kChunkSize) raw_.resize(std::max(raw_.size() * 2, end_ + kChunkSize));
    ssize_t n = ::read(fd_, raw_.data() + end_, kChunkSize);
    if (n < 0) {
      if (errno == EINTR) continue;
      readFailed_ = true;
      eof_ = true;
      break;
    }
    if (n == 0) {
      eof_ = true;
      break;
    }
    end_ += static_cast<size_t>(n);
    const void* lf = std::memchr(raw_.data() + searched, '\n', end_ - searched);
    if (lf) {
      lineEnd_ = static_cast<size_t>(static_cast<const char*>(lf) - raw_.data());
      return true;
    }
    searched = end_;
  }
  lineEnd_ = std::string::npos;
  return false;
}

std::string_view LogReader::Text(size_t begin, size_t end) {
  std::string_view bytes(raw_.data() + begin, end - begin);
  if (platform::IsAscii(bytes)) return bytes;
  text_.clear();
  platform::Cp932Decoder decoder;
  decoder.Decode(bytes, text_);
  decoder.Finish(text_);
  return text_;
}

bool LogReader::ReadLogRecord(std::string_view& record) {
  record = {};
  if (exhausted_ || fd_ < 0) return false;
  if (lineEnd_ == std::string::npos || lineEnd_ < pos_) {
    const void* lf = std::memchr(raw_.data() + pos_, '\n', end_ - pos_);
    if (lf) {
      lineEnd_ = static_cast<size_t>(static_cast<const char*>(lf) - raw_.data());
    } else if (!FillUntilLineEnd()) {
      if (readFailed_ || pos_ >= end_) {
        exhausted_ = true;
        raw_ = std::string();
        pos_ = end_ = 0;
        return false;
      }
      // The file ended without a final LF: the rest is one last record, whole.
      ++lineNo_;
      record = Text(pos_, end_);
      pos_ = end_;
      exhausted_ = true;
      return true;
    }
  }
  // A TAB before the line's LF separates a record without ending the line.
  const char* begin = raw_.data() + pos_;
  const void* tab = std::memchr(begin, '\t', lineEnd_ - pos_);
  size_t separator = tab ? static_cast<size_t>(static_cast<const char*>(tab) - raw_.data()) : lineEnd_;
  if (!tab) ++lineNo_;
  size_t end = separator;
  if (end > pos_ && raw_[end - 1] == '\r') --end;
  record = Text(pos_, end);
  pos_ = separator + 1;
  if (!tab) lineEnd_ = std::string::npos;
  return true;
}

}  // namespace vorel::analysis
