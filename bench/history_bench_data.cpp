#include "history_bench_data.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "history/history_adder.h"
#include "log_generator.h"

namespace vorel::bench {
namespace {

LogShape BusyBlog(size_t pageViews, uint64_t seed) {
  LogShape shape;
  shape.accesses = pageViews;
  shape.pages = 500;
  shape.hosts = 150000;
  shape.agents = 5000;
  shape.referrers = 20000;
  shape.combined = true;
  shape.timeOrdered = true;
  shape.agentFollowsHost = true;
  shape.seed = seed;
  return shape;
}

}  // namespace

std::string BusyBlogLogPath(size_t pageViews) {
  return GeneratedLog(BusyBlog(pageViews, 20261209), "/tmp/vorel-bench-busy-blog-" + std::to_string(pageViews) + ".log");
}

std::string HistoryPath(int64_t pageViews) {
  const std::string path = "/tmp/vorel-bench-" + std::to_string(pageViews) + ".history";
  if (std::ifstream(path)) return path;
  const std::string part = path + ".part";
  for (const char* suffix : {"", "-wal", "-shm"}) std::remove((part + suffix).c_str());
  constexpr int kLogs = 10;
  for (int i = 0; i < kLogs; ++i) {
    // Logs of different seeds are different logs to the history.
    LogShape shape = BusyBlog(static_cast<size_t>(pageViews / kLogs), 1000 + static_cast<uint64_t>(i));
    shape.firstYear = 2000 + 2 * i;
    const std::string log = "/tmp/vorel-bench-history-part.log";
    std::remove(log.c_str());
    GeneratedLog(shape, log);
    const history::AddOutcome outcome = history::AddLogToHistory(part, log);
    std::remove(log.c_str());
    if (!outcome.ok) throw std::runtime_error(outcome.error);
  }
  std::rename(part.c_str(), path.c_str());
  return path;
}

}  // namespace vorel::bench
