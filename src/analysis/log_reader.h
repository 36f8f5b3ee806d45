// Reads an access log line by line, from any LogSource (file, pipe, FIFO,
// compressed or not). Lines end in LF; a CR directly before the LF belongs
// to the line end. A UTF-8 byte-order mark at the very start is skipped.
// Lines come out as raw CP932 bytes, since what a line is (records or a web
// server's line) is judged on the bytes; Text() decodes a piece to UTF-8.
//
// Memory stays bounded for any input: a line longer than its bound is
// skipped as it streams past, never held whole. A line of records (it begins
// with a digit and "#") may be up to kMaxRecordLineBytes long; any other
// line up to kMaxServerLineBytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/log_source.h"

namespace vorel::analysis {

inline constexpr size_t kMaxServerLineBytes = size_t{64} << 10;
inline constexpr size_t kMaxRecordLineBytes = size_t{16} << 20;

struct LogLine {
  std::string_view bytes;  // without the line end; valid until the next read
  bool ended = true;       // ended by LF; false for text after the last LF
  bool high = false;       // holds a byte of 0x80 or above (needs decoding)
  bool tooLong = false;    // longer than its bound: skipped, `bytes` empty
};

class LogReader {
 public:
  LogReader() = default;
  LogReader(const LogReader&) = delete;
  LogReader& operator=(const LogReader&) = delete;

  // Opens the log; false when it cannot be opened.
  bool Open(const std::string& path);
  void Close();

  // The next physical line; false when the log is exhausted (or a read
  // failed: see ReadFailed). The text after the last LF of a log that does
  // not end in LF is one last line, with `ended` false and any final CR kept.
  bool ReadLine(LogLine& line);
  // The next line when it is already read in whole, without reading more:
  // lines returned since the last ReadLine then all stay valid together.
  // False when the next line needs a read (ReadLine then gives it).
  bool ReadBufferedLine(LogLine& line);

  // `bytes` as UTF-8 (CP932 decoded when `high`), valid until the next call.
  std::string_view Text(std::string_view bytes, bool high);

  // Physical lines returned so far.
  int64_t LineNo() const { return lineNo_; }
  bool ReadFailed() const { return source_.ReadFailed(); }
  const LogSource& Source() const { return source_; }
  // Bytes of the file behind the lines returned so far (of a compressed
  // file, the compressed bytes taken so far), for the progress display.
  uint64_t BytesRead() const;
  // Bytes of the log (decompressed) up to the end of the last line
  // returned: where a later reading may start again.
  int64_t ConsumedBytes() const { return readTotal_ - static_cast<int64_t>(end_ - pos_); }
  // Up to `size` bytes from the log's start (decompressed), read before the
  // first line; empty once lines have been read.
  std::string_view Head(size_t size);
  // The file's size; 0 when not known (a pipe or a FIFO).
  uint64_t TotalSize() const { return source_.TotalSize(); }

 private:
  bool ReadChunk();
  void TakeLine(size_t lf, bool high, LogLine& line);
  bool SkipByteOrderMark();
  size_t Bound() const;

  LogSource source_;
  bool open_ = false;
  bool exhausted_ = false;
  bool started_ = false;
  int64_t lineNo_ = 0;
  int64_t readTotal_ = 0;  // bytes taken from the log (decompressed) so far
  // Raw bytes read and not yet returned are raw_[pos_, end_). Each line is
  // decoded on its own, so the text never depends on where a read ended.
  std::string raw_;
  size_t pos_ = 0;
  size_t end_ = 0;
  bool eof_ = false;
  std::string text_;  // the decoded piece, when it needed decoding
};

// The records of one line of records, in order. TABs separate records like
// LFs do (a CR directly before a TAB belongs to it). The text after the last
// LF is one record, whole, TABs and a final CR included.
class LineRecords {
 public:
  explicit LineRecords(const LogLine& line) : rest_(line.bytes), split_(line.ended) {}
  // The next record as raw bytes; false when none is left.
  bool Next(std::string_view& record);

 private:
  std::string_view rest_;
  bool split_;
  bool done_ = false;
};

}  // namespace vorel::analysis
