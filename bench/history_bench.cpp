// The history file: adding a busy blog's log to it, and the size on disk it
// takes a page view. Analysing a history of 10 million page views:
// BM_AnalyzeHistory and BM_ReportCommandHistory beside the other analyses.
#include <benchmark/benchmark.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "history/history_adder.h"
#include "history_bench_data.h"

namespace {

int64_t FileSize(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
}

size_t CountLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  size_t lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

// Adding a busy blog's web server log (page views, images and style sheets)
// to a fresh history; items are the log's lines. The history's size is
// reported per page view.
void BM_HistoryAdd(benchmark::State& state) {
  const std::string log = vorel::bench::BusyBlogLogPath(static_cast<size_t>(state.range(0)));
  const size_t lines = CountLines(log);
  const std::string history = "/tmp/vorel-bench-add.history";
  int64_t pageViews = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (const char* suffix : {"", "-wal", "-shm"}) std::remove((history + suffix).c_str());
    state.ResumeTiming();
    const vorel::history::AddOutcome outcome = vorel::history::AddLogToHistory(history, log);
    if (!outcome.ok) state.SkipWithError(outcome.error.c_str());
    pageViews = outcome.added;
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * lines));
  state.counters["page_views"] = static_cast<double>(pageViews);
  state.counters["bytes_per_page_view"] = pageViews > 0 ? static_cast<double>(FileSize(history)) / static_cast<double>(pageViews) : 0;
}
BENCHMARK(BM_HistoryAdd)->Arg(1500000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
