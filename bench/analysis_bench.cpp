// Throughput of the analysis pass, and of vorel-report end to end, over
// generated logs of realistic shape.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "analysis/companion.h"
#include "analysis/result.h"
#include "history_bench_data.h"
#include "log_generator.h"
#include "platform/prompter.h"
#include "settings/param_store.h"

namespace {

std::string LogPath(const vorel::bench::LogShape& shape, const std::string& name) {
  return vorel::bench::GeneratedLog(shape, "/tmp/vorel-bench-" + name + ".log");
}

std::string LogPath(size_t accesses) {
  vorel::bench::LogShape shape;
  shape.accesses = accesses;
  return LogPath(shape, std::to_string(accesses));
}

// A year of a busy site: 100,000 distinct referrers (search queries) and
// 50,000 hosts, most of them IPv6 addresses each in a /48 of its own.
std::string BigTablesLogPath(size_t accesses) {
  vorel::bench::LogShape shape;
  shape.accesses = accesses;
  shape.referrers = 100000;
  shape.hosts = 50000;
  shape.ipv6Share = 0.8;
  shape.everyNameOnce = true;
  return LogPath(shape, "big-tables-" + std::to_string(accesses));
}

void Analyze(benchmark::State& state, const std::string& log, size_t accesses, int robotMode = 1) {
  using namespace vorel;
  settings::ApplyDefaults();
  settings::SetParam("RobotMode", robotMode);
  settings::SetParam("LogFile", log);
  settings::SetParam("SpecifyDate", false);
  settings::SetParam("SpecifyPage", false);
  analysis::LoadClassListsFrom(VOREL_SOURCE_DIR "/data/vorel.dat");
  for (auto _ : state) {
    if (!analysis::AnalyzeLog(0)) state.SkipWithError("analysis failed");
    benchmark::DoNotOptimize(analysis::Result().Total);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * accesses));
  state.counters["hosts"] = analysis::Result().Host.Count;
  state.counters["agents"] = analysis::Result().Agent.Count;
  state.counters["urls"] = analysis::Result().Url.Count;
}

void BM_AnalyzeLog(benchmark::State& state) {
  const auto accesses = static_cast<size_t>(state.range(0));
  Analyze(state, LogPath(accesses), accesses);
}
BENCHMARK(BM_AnalyzeLog)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// A web server's combined log: page views with the images and style sheets
// they pull in, about two lines a page view; items are lines. The second
// argument is RobotMode: 1 (robots set apart, the default) against 0 (robots
// counted like everyone) measures what the robot list costs.
void BM_AnalyzeServerLog(benchmark::State& state) {
  vorel::bench::LogShape shape;
  shape.accesses = static_cast<size_t>(state.range(0));
  shape.combined = true;
  const std::string log = LogPath(shape, "combined-with-robots-" + std::to_string(shape.accesses));
  std::ifstream in(log, std::ios::binary);
  size_t lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  Analyze(state, log, lines, static_cast<int>(state.range(1)));
  const auto& r = vorel::analysis::Result();
  state.counters["page_views"] = static_cast<double>(r.Total + r.RobotTotal);
  state.counters["robot_share"] = r.Total + r.RobotTotal ? static_cast<double>(r.RobotTotal) / (r.Total + r.RobotTotal) : 0;
}
BENCHMARK(BM_AnalyzeServerLog)->Args({500000, 0})->Args({500000, 1})->Unit(benchmark::kMillisecond)->Iterations(3);

// A combined log in which every line is a page view: the reader and the
// server-line steps at full rate; items are lines.
void BM_AnalyzeServerLogPageViews(benchmark::State& state) {
  vorel::bench::LogShape shape;
  shape.accesses = static_cast<size_t>(state.range(0));
  shape.combined = shape.pageViewsOnly = true;
  Analyze(state, LogPath(shape, "reader-page-views-" + std::to_string(shape.accesses)), shape.accesses);
}
BENCHMARK(BM_AnalyzeServerLogPageViews)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Page views with 200,000 distinct referrers and 100,000 hosts, each of them
// at least once: the tables' lookups dominate.
void BM_AnalyzeServerLogBigTables(benchmark::State& state) {
  vorel::bench::LogShape shape;
  shape.accesses = static_cast<size_t>(state.range(0));
  shape.combined = true;
  shape.pageViewsOnly = true;
  shape.referrers = 200000;
  shape.hosts = 100000;
  shape.ipv6Share = 0.5;
  shape.everyNameOnce = true;
  Analyze(state, LogPath(shape, "server-big-tables-" + std::to_string(shape.accesses)), shape.accesses);
}
BENCHMARK(BM_AnalyzeServerLogBigTables)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AnalyzeLogBigTables(benchmark::State& state) {
  const auto accesses = static_cast<size_t>(state.range(0));
  Analyze(state, BigTablesLogPath(accesses), accesses);
}
BENCHMARK(BM_AnalyzeLogBigTables)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// A history of 10 million page views (a busy blog's twenty years).
void BM_AnalyzeHistory(benchmark::State& state) {
  const auto pageViews = static_cast<size_t>(state.range(0));
  const std::string history = vorel::bench::HistoryPath(static_cast<int64_t>(pageViews));
  Analyze(state, history, pageViews);
  state.counters["bytes_per_page_view"] =
      static_cast<double>(std::filesystem::file_size(history)) / static_cast<double>(pageViews);
}
BENCHMARK(BM_AnalyzeHistory)->Arg(10000000)->Unit(benchmark::kMillisecond)->Iterations(2);

// The companion library's record count of a whole log, at memory speed.
void BM_RecordCount(benchmark::State& state) {
  const std::string log = LogPath(static_cast<size_t>(state.range(0)));
  std::ifstream file(log, std::ios::binary | std::ios::ate);
  const auto bytes = static_cast<int64_t>(file.tellg());
  for (auto _ : state) benchmark::DoNotOptimize(vorel::analysis::aa_get_analize_line(log.c_str(), 10000));
  state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_RecordCount)->Arg(1000000)->Unit(benchmark::kMillisecond);

#ifdef VOREL_REPORT_EXE
// vorel-report end to end, as a user runs it: process start, the one pass
// over the log, and the text report. Timed by the CPU time of the child process.
void RunReportCommand(benchmark::State& state, const std::string& log, size_t accesses,
                      const std::string& settingsFile = "") {
  const std::string out = "/tmp/vorel-bench-report-" + std::to_string(::getpid()) + ".txt";
  std::vector<std::string> args = {VOREL_REPORT_EXE, "-q", "--classes", VOREL_SOURCE_DIR "/data/vorel.dat",
                                   "--all-dates", "--all-pages", log, "-o", out};
  if (!settingsFile.empty()) args.insert(args.begin() + 2, {"--settings", settingsFile});
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  double cpu = 0;
  for (auto _ : state) {
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("vorel-report did not start");
      break;
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("vorel-report failed");
    const double seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    cpu += seconds;
    state.SetIterationTime(seconds);
  }
  std::remove(out.c_str());
  state.counters["accesses_per_cpu_second"] =
      cpu > 0 ? static_cast<double>(accesses) * static_cast<double>(state.iterations()) / cpu : 0;
}

void BM_ReportCommand(benchmark::State& state) {
  const auto accesses = static_cast<size_t>(state.range(0));
  RunReportCommand(state, LogPath(accesses), accesses);
}
BENCHMARK(BM_ReportCommand)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_ReportCommandBigTables(benchmark::State& state) {
  const auto accesses = static_cast<size_t>(state.range(0));
  RunReportCommand(state, BigTablesLogPath(accesses), accesses);
}
// The same page-view log through vorel-report, end to end on one core.
void BM_ReportCommandServerLogPageViews(benchmark::State& state) {
  vorel::bench::LogShape shape;
  shape.accesses = static_cast<size_t>(state.range(0));
  shape.combined = shape.pageViewsOnly = true;
  RunReportCommand(state, LogPath(shape, "reader-page-views-" + std::to_string(shape.accesses)), shape.accesses);
}
BENCHMARK(BM_ReportCommandServerLogPageViews)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

BENCHMARK(BM_ReportCommandBigTables)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// vorel-report over a history of 10 million page views.
void BM_ReportCommandHistory(benchmark::State& state) {
  const auto pageViews = static_cast<size_t>(state.range(0));
  const std::string settingsFile = "/tmp/vorel-bench-history.ini";
  std::ofstream(settingsFile, std::ios::binary) << "[vorel]\r\nCheckLine=32767\r\n";
  RunReportCommand(state, vorel::bench::HistoryPath(static_cast<int64_t>(pageViews)), pageViews, settingsFile);
}
BENCHMARK(BM_ReportCommandHistory)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);
#endif

}  // namespace

BENCHMARK_MAIN();
