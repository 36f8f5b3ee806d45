// Throughput of the analysis pass over a generated log of realistic shape.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "analysis/result.h"
#include "log_generator.h"
#include "platform/prompter.h"
#include "settings/param_store.h"

namespace {

std::string LogPath(size_t accesses, bool combined = false) {
  // Generated once and kept, so that a later run measures the pass alone.
  std::string path = "/tmp/vorel-bench-" + std::to_string(accesses) + (combined ? "-combined" : "") + ".log";
  {
    if (!std::ifstream(path)) {
      vorel::bench::LogShape shape;
      shape.accesses = accesses;
      shape.combined = combined;
      std::ofstream(path + ".part", std::ios::binary) << vorel::bench::GenerateLog(shape);
      std::rename((path + ".part").c_str(), path.c_str());
    }
  }
  return path;
}

// Lines in a file, for the server log's lines-per-second figure.
int64_t LineCount(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  int64_t lines = 0;
  std::string line;
  while (std::getline(in, line)) ++lines;
  return lines;
}

void BM_AnalyzeLog(benchmark::State& state) {
  using namespace vorel;
  const auto accesses = static_cast<size_t>(state.range(0));
  settings::ApplyDefaults();
  settings::SetParam("LogFile", LogPath(accesses));
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
}
BENCHMARK(BM_AnalyzeLog)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// A web server's combined log of about a million lines (page views with
// their images and style sheets); items are lines.
void BM_AnalyzeServerLog(benchmark::State& state) {
  using namespace vorel;
  const std::string path = LogPath(static_cast<size_t>(state.range(0)), true);
  const int64_t lines = LineCount(path);
  settings::ApplyDefaults();
  settings::SetParam("LogFile", path);
  settings::SetParam("SpecifyDate", false);
  settings::SetParam("SpecifyPage", false);
  analysis::LoadClassListsFrom(VOREL_SOURCE_DIR "/data/vorel.dat");
  for (auto _ : state) {
    if (!analysis::AnalyzeLog(0)) state.SkipWithError("analysis failed");
    benchmark::DoNotOptimize(analysis::Result().Total);
  }
  state.SetItemsProcessed(state.iterations() * lines);
  state.counters["page_views"] = static_cast<double>(analysis::Result().Total);
}
BENCHMARK(BM_AnalyzeServerLog)->Arg(500000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
