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
  // With false, a TAB is text like any other and every record is a whole
  // physical line (a web server's log has one access a line).
  void SetSplitAtTabs(bool split) { splitAtTabs_ = split; }
  void Close();

  // The next record, valid until the next call; false when the log is
  // exhausted (or a read failed: see ReadFailed). The text after the last LF
  // of a file that does not end in LF is one last record, whole: TABs are not
  // split and a final CR is kept.
  bool ReadLogRecord(std::string_view& record);

  // Physical lines returned so far.
  int32_t LineNo() const { return lineNo_; }
  bool ReadFailed() const { return readFailed_; }

 private:
  bool FillUntilLineEnd();
  // Raw bytes from the file, decompressed when it is gzip; -1 on a read error.
  long ReadBytes(char* buffer, size_t size);

  int fd_ = -1;
  void* gz_ = nullptr;  // gzFile when the file is gzip
  bool splitAtTabs_ = true;
  bool eof_ = false;
  bool exhausted_ = false;
  bool readFailed_ = false;
  int32_t lineNo_ = 0;
  std::string buffer_;    // decoded text not yet returned, from pos_
  size_t pos_ = 0;
  size_t lineEnd_ = std::string::npos;  // the LF ending the current physical line
  std::string chunk_;
  platform::Cp932Decoder decoder_;
};

}  // namespace vorel::analysis
