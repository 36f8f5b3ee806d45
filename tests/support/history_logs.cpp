#include "support/history_logs.h"

#include <openssl/sha.h>
#include <zlib.h>

#include <cstdio>
#include <stdexcept>

#include "support/test_files.h"

namespace vorel::testing {
namespace {

struct Visit {
  int day, hour, minute;
  std::string page, agent, referrer, address;
};

Visit VisitNumber(int n) {
  static const char* const kPages[] = {"index", "diary", "photo", "bbs"};
  static const char* const kAgents[] = {"Mozilla/5.0 (X11; Linux) Firefox/1.0",
                                        "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)",
                                        "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)"};
  static const char* const kReferrers[] = {"", "http://www.example.jp/link.html", "http://search.example/?q=vorel"};
  const int minutes = n;
  return {1 + minutes / 1440 % 28, minutes / 60 % 24, minutes % 60, kPages[n % 4], kAgents[n % 3],
          kReferrers[n % 5 % 3], "192.0.2." + std::to_string(n % 50)};
}

std::string Two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

std::string ServerLogLines(int first, int count, const std::string& zone) {
  std::string log;
  for (int n = first; n < first + count; ++n) {
    const Visit v = VisitNumber(n);
    log += v.address + " - - [" + Two(v.day) + "/May/2026:" + Two(v.hour) + ":" + Two(v.minute) + ":07 " + zone +
           "] \"GET /" + v.page + ".html HTTP/1.1\" 200 512 \"" + (v.referrer.empty() ? "-" : v.referrer) + "\" \"" +
           v.agent + "\"\n";
  }
  return log;
}

std::string RecordLogLines(int first, int count) {
  std::string log;
  for (int n = first; n < first + count; ++n) {
    const Visit v = VisitNumber(n);
    log += "1#(" + v.page + ")2026/05/" + Two(v.day) + " " + Two(v.hour) + ":" + Two(v.minute) + ":07\r\n2#" +
           v.agent + "\r\n3#" + v.referrer + "\r\n4#(" + v.address + ")\r\n";
  }
  return log;
}

void WriteGzipFile(const std::string& path, const std::string& bytes) {
  gzFile file = gzopen(path.c_str(), "wb");
  if (!file || gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size())) != static_cast<int>(bytes.size()))
    throw std::runtime_error("cannot write " + path);
  gzclose(file);
}

std::string FileDigest(const std::string& path) {
  const std::string bytes = ReadFile(path);
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
  return std::string(reinterpret_cast<const char*>(digest), sizeof digest);
}

}  // namespace vorel::testing
