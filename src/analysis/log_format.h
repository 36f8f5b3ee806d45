// What kind of text a log holds, judged line by line and never for a whole
// file: a line of the logging script's records begins with a digit and "#";
// anything else may be a web server's log line. Compressed logs are known by
// their first bytes, whatever their name.
#pragma once

#include <cstddef>
#include <string_view>

namespace vorel::analysis {

// A line of records: "1#(page)…", "2#agent", or any other marker the record
// steps skip. Two byte comparisons, so every line can afford it.
inline bool IsRecordLine(std::string_view line) {
  return line.size() >= 2 && line[0] >= '0' && line[0] <= '9' && line[1] == '#';
}

enum class Compression { None, Gzip, Bzip2, Xz, Zstd };

// The first bytes a reader must hold to tell every compression apart.
inline constexpr size_t kCompressionSignatureBytes = 10;

// The compression whose signature `head` (the file's first bytes, fewer
// only when the file is shorter) begins with.
Compression DetectCompression(std::string_view head);

// A UTF-8 byte-order mark, which some editors put before the first line.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace vorel::analysis
