// Logs for the history tests: page views numbered from `first`, the same
// visit for the same number in either format, and the files' digests.
#pragma once

#include <string>

namespace vorel::testing {

// `count` lines of a web server's combined log, each a page view, with the
// zone "+0900" (or `zone`). Times rise a minute a line from 1 May 2026.
std::string ServerLogLines(int first, int count, const std::string& zone = "+0900");
// The same visits as records of the logging script (CR LF).
std::string RecordLogLines(int first, int count);
// Writes `bytes` gzip-compressed to `path`.
void WriteGzipFile(const std::string& path, const std::string& bytes);
// SHA-256 of the file's bytes, or empty when it cannot be read.
std::string FileDigest(const std::string& path);

}  // namespace vorel::testing
