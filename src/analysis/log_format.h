// Which kind of log a file holds, judged from its first non-empty line: a web
// server's common or combined log, or the logging script's records.
#pragma once

#include <cstdint>
#include <string>

namespace vorel::analysis {

enum class LogFormat { Records, Server };

// Records for a file that cannot be read or holds no line: the record
// reader then reports it as it always has.
LogFormat DetectLogFormat(const std::string& path);

// Whether the file starts with the gzip signature.
bool IsGzipFile(const std::string& path);

// The record count of any log, compressed or not, as the analysis command's
// checks and the progress range need it: LFs and TABs (plus an unfinished
// last line) of a record log, four for every line of a server log, since
// each line stands for one access's four records. `format` is the file's, as
// DetectLogFormat gives it. -1 when it cannot be read.
int32_t CountLogRecords(const std::string& path, LogFormat format);

}  // namespace vorel::analysis
