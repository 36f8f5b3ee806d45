#include "analysis/log_format.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cstring>
#include <vector>

#include "analysis/log_reader.h"
#include "analysis/server_log.h"

namespace vorel::analysis {

LogFormat DetectLogFormat(const std::string& path) {
  LogReader reader;
  if (!reader.Open(path)) return LogFormat::Records;
  reader.SetSplitAtTabs(false);
  std::string_view line;
  while (reader.ReadLogRecord(line)) {
    if (line.find_first_not_of(" \r") == std::string_view::npos) continue;
    ServerLogLine parsed;
    return ParseServerLogLine(line, parsed) ? LogFormat::Server : LogFormat::Records;
  }
  return LogFormat::Records;
}

bool IsGzipFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  unsigned char magic[2] = {0, 0};
  bool gzip = ::read(fd, magic, 2) == 2 && magic[0] == 0x1F && magic[1] == 0x8B;
  ::close(fd);
  return gzip;
}

int32_t CountLogRecords(const std::string& path, LogFormat format) {
  // gzread reads a file that is not compressed as it stands.
  gzFile file = gzopen(path.c_str(), "rb");
  if (!file) return -1;
  gzbuffer(file, 1 << 17);
  std::vector<char> buffer(1 << 16);
  long long count = 0;
  char last = '\n';
  bool any = false;
  for (;;) {
    int n = gzread(file, buffer.data(), static_cast<unsigned>(buffer.size()));
    if (n < 0) {
      gzclose(file);
      return -1;
    }
    if (n == 0) break;
    any = true;
    const char* p = buffer.data();
    const char* end = p + n;
    while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p))))) {
      ++count;
      ++p;
    }
    if (format == LogFormat::Records)
      for (p = buffer.data(); (p = static_cast<const char*>(std::memchr(p, '\t', static_cast<size_t>(end - p))));
           ++p)
        ++count;
    last = buffer[static_cast<size_t>(n) - 1];
  }
  gzclose(file);
  if (any && last != '\n') ++count;
  if (format == LogFormat::Server) count *= 4;
  return count > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(count);
}

}  // namespace vorel::analysis
