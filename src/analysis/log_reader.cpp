#include "analysis/log_reader.h"

#include <algorithm>
#include <cstring>

#include "analysis/log_format.h"
#include "platform/codepage.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorel::analysis {

namespace {

constexpr size_t kChunkSize = 1 << 16;

// The first LF in p[0, n), or npos; `high` is set when a byte before it (or
// any byte, when there is none) has its high bit set.
size_t ScanToLineEnd(const char* p, size_t n, bool& high) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  unsigned seenHigh = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const auto ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
    const auto highBits = static_cast<unsigned>(_mm_movemask_epi8(v));
    if (ends != 0) {
      const unsigned k = static_cast<unsigned>(__builtin_ctz(ends));
      if ((seenHigh | (highBits & ((1u << k) - 1))) != 0) high = true;
      return i + k;
    }
    seenHigh |= highBits;
  }
  if (seenHigh != 0) high = true;
#endif
  for (; i < n; ++i) {
    const auto b = static_cast<unsigned char>(p[i]);
    if (b == '\n') return i;
    if (b >= 0x80) high = true;
  }
  return std::string::npos;
}

}  // namespace

bool LogReader::Open(const std::string& path) {
  Close();
  if (!source_.Open(path)) return false;
  open_ = true;
  exhausted_ = eof_ = started_ = false;
  readTotal_ = 0;
  lineNo_ = 0;
  raw_.assign(2 * kChunkSize, '\0');
  pos_ = end_ = 0;
  return true;
}

void LogReader::Close() {
  source_.Close();
  open_ = false;
  raw_ = std::string();
  pos_ = end_ = 0;
}

// Reads one more chunk after dropping the bytes already returned, so memory
// holds one line (at most its bound) and a chunk. False at the end.
bool LogReader::ReadChunk() {
  if (pos_ > 0) {
    std::memmove(raw_.data(), raw_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  if (eof_) return false;
  if (raw_.size() - end_ < kChunkSize) raw_.resize(std::max(raw_.size() * 2, end_ + kChunkSize));
  const long n = source_.Read(raw_.data() + end_, kChunkSize);
  if (n <= 0) {
    eof_ = true;
    return false;
  }
  end_ += static_cast<size_t>(n);
  readTotal_ += n;
  return true;
}

std::string_view LogReader::Head(size_t size) {
  if (started_ || pos_ != 0 || readTotal_ != static_cast<int64_t>(end_)) return {};
  while (end_ < size && ReadChunk()) {
  }
  return std::string_view(raw_.data(), std::min(size, end_));
}

bool LogReader::SkipByteOrderMark() {
  while (end_ - pos_ < kByteOrderMark.size() && ReadChunk()) {
  }
  if (std::string_view(raw_.data() + pos_, end_ - pos_).substr(0, kByteOrderMark.size()) == kByteOrderMark)
    pos_ += kByteOrderMark.size();
  return true;
}

// A line of records may be long (the four records of an access on one line,
// each with a long referrer); any other line is a server's line or garbage.
size_t LogReader::Bound() const {
  return IsRecordLine(std::string_view(raw_.data() + pos_, end_ - pos_)) ? kMaxRecordLineBytes : kMaxServerLineBytes;
}

uint64_t LogReader::BytesRead() const {
  const uint64_t taken = source_.BytesRead();
  if (source_.compression() != Compression::None) return taken;
  const uint64_t buffered = end_ - pos_;
  return taken > buffered ? taken - buffered : 0;
}

std::string_view LogReader::Text(std::string_view bytes, bool high) {
  if (!high) return bytes;
  text_.clear();
  platform::Cp932Decoder decoder;
  decoder.Decode(bytes, text_);
  decoder.Finish(text_);
  return text_;
}

bool LogReader::ReadLine(LogLine& line) {
  line = LogLine{};
  if (exhausted_ || !open_) return false;
  if (!started_) started_ = SkipByteOrderMark();
  bool high = false;
  size_t scanned = 0;  // bytes after pos_ known to hold no LF
  size_t lf;
  while (true) {
    const size_t found = ScanToLineEnd(raw_.data() + pos_ + scanned, end_ - pos_ - scanned, high);
    if (found != std::string::npos) {
      lf = pos_ + scanned + found;
      break;
    }
    scanned = end_ - pos_;
    if (scanned > Bound()) {
      // Too long to be a line worth keeping: let the rest stream past.
      ++lineNo_;
      line.tooLong = true;
      line.ended = false;
      while (true) {
        pos_ = end_;
        if (!ReadChunk()) {
          exhausted_ = true;
          return true;
        }
        if (const void* end = std::memchr(raw_.data(), '\n', end_)) {
          pos_ = static_cast<size_t>(static_cast<const char*>(end) - raw_.data()) + 1;
          line.ended = true;
          return true;
        }
      }
    }
    if (!ReadChunk()) {
      // The text after the last LF: one last line, whole.
      exhausted_ = true;
      if (pos_ >= end_ || source_.ReadFailed()) return false;
      ++lineNo_;
      line.bytes = std::string_view(raw_.data() + pos_, end_ - pos_);
      line.ended = false;
      line.high = high;
      pos_ = end_;
      return true;
    }
  }
  TakeLine(lf, high, line);
  return true;
}

// The line that ends at the LF at `lf`.
void LogReader::TakeLine(size_t lf, bool high, LogLine& line) {
  ++lineNo_;
  size_t end = lf;
  if (end > pos_ && raw_[end - 1] == '\r') --end;
  if (end - pos_ > Bound()) {
    line.tooLong = true;
  } else {
    line.bytes = std::string_view(raw_.data() + pos_, end - pos_);
    line.high = high;
  }
  pos_ = lf + 1;
}

bool LogReader::ReadBufferedLine(LogLine& line) {
  if (exhausted_ || !open_ || !started_) return false;
  bool high = false;
  const size_t found = ScanToLineEnd(raw_.data() + pos_, end_ - pos_, high);
  if (found == std::string::npos) return false;
  line = LogLine{};
  TakeLine(pos_ + found, high, line);
  return true;
}

bool LineRecords::Next(std::string_view& record) {
  if (done_) return false;
  const size_t tab = split_ ? rest_.find('\t') : std::string_view::npos;
  if (tab == std::string_view::npos) {
    record = rest_;
    done_ = true;
    return true;
  }
  record = rest_.substr(0, tab);
  if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
  rest_.remove_prefix(tab + 1);
  return true;
}

}  // namespace vorel::analysis
