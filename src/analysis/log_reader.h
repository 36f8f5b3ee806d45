// Reads an access log record by record. Records are separated by LF or TAB;
// a CR directly before either separator belongs to it. Only LFs count as
// physical lines. The log is CP932; records come out as UTF-8. A gzip file
// (servers rotate their logs into them) is decompressed as it is read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace vorel::analysis {

class LogReader {
 public:
  LogReader() = default;
  ~LogReader();
  LogReader(const LogReader&) = delete;
  LogReader& operator=(const LogReader&) = delete;

  // Opens the log as raw bytes; false when it cannot be opened.
  bool Open(const std::string& path);
  void Close();
  // With false, a TAB is text like any other and every record is a whole
  // physical line (a web server's log has one access a line).
  void SetSplitAtTabs(bool split) { splitAtTabs_ = split; }

  // The next record, valid until the next call; false when the log is
  // exhausted (or a read failed: see ReadFailed). The text after the last LF
  // of a file that does not end in LF is one last record, whole: TABs are not
  // split and a final CR is kept.
  bool ReadLogRecord(std::string_view& record);

  // Bytes of the log (decompressed) up to the end of the last record
  // returned: where a later reading may start again.
  int64_t ConsumedBytes() const { return readTotal_ - static_cast<int64_t>(end_ - pos_); }
  // Up to `size` bytes from the log's start (decompressed), read before the
  // first record; empty once records have been read.
  std::string_view Head(size_t size);

  // Physical lines returned so far.
  int32_t LineNo() const { return lineNo_; }
  bool ReadFailed() const { return readFailed_; }

 private:
  bool ReadChunk();
  // Raw bytes from the file, decompressed when it is gzip; -1 on a read error.
  long ReadBytes(char* buffer, size_t size);
  bool LastRecord(std::string_view& record);
  std::string_view Text(size_t begin, size_t end, bool high);

  int fd_ = -1;
  void* gz_ = nullptr;  // gzFile when the file is gzip
  bool splitAtTabs_ = true;
  bool eof_ = false;
  bool exhausted_ = false;
  bool readFailed_ = false;
  int32_t lineNo_ = 0;
  int64_t readTotal_ = 0;  // bytes taken from the file (decompressed) so far
  // Raw bytes read and not yet returned are raw_[pos_, end_). Separators and
  // CRs are found in the raw bytes (no CP932 second byte is below 0x40), and
  // each record is decoded on its own, so the text never depends on where a
  // read ended; a record of plain ASCII is returned without a copy.
  std::string raw_;
  size_t pos_ = 0;
  size_t end_ = 0;
  size_t lineEnd_ = std::string::npos;  // the LF ending the current line, once a TAB needed it
  std::string text_;                    // the decoded record, when it needed decoding
};

}  // namespace vorel::analysis
