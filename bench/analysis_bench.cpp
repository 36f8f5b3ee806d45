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

const std::string& LogPath(size_t accesses) {
  static std::string path;
  static size_t made = 0;
  if (made != accesses) {
    // Generated once and kept, so that a later run measures the pass alone.
    path = "/tmp/vorel-bench-" + std::to_string(accesses) + ".log";
    if (!std::ifstream(path)) {
      vorel::bench::LogShape shape;
      shape.accesses = accesses;
      std::ofstream(path + ".part", std::ios::binary) << vorel::bench::GenerateLog(shape);
      std::rename((path + ".part").c_str(), path.c_str());
    }
    made = accesses;
  }
  return path;
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

}  // namespace

BENCHMARK_MAIN();
