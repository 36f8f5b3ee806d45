// Texts a visitor crafts against the analyser, beside ordinary ones of the
// same size: each pair should cost about the same.
#include <benchmark/benchmark.h>

#include "analysis/category_table.h"
#include "analysis/class_lists.h"
#include "analysis/normalize.h"
#include "support/hostile_inputs.h"

namespace {

using namespace vorel;

void FillTable(benchmark::State& state, const std::vector<std::string>& names) {
  for (auto _ : state) {
    analysis::CategoryTable table(analysis::kMaxGrowingTableEntries);
    for (const auto& name : names) table.FindOrAppend(name);
    benchmark::DoNotOptimize(table.Count);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * names.size()));
}

void BM_TableOrdinaryNames(benchmark::State& state) {
  FillTable(state, testing::OrdinaryNames(static_cast<size_t>(state.range(0))));
}
void BM_TableNamesCollidingUnderPlainHash(benchmark::State& state) {
  FillTable(state, testing::NamesCollidingUnderPlainHash(static_cast<size_t>(state.range(0))));
}
BENCHMARK(BM_TableOrdinaryNames)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableNamesCollidingUnderPlainHash)->Arg(100000)->Unit(benchmark::kMillisecond);

analysis::NormalizeOptions PortsOnly() {
  analysis::NormalizeOptions o;
  o.codeChange = o.ignoreIndex = o.ignoreQuestion = o.ignoreSharp = o.smallize = false;
  o.ignorePortNo = true;
  return o;
}

void RemovePorts(benchmark::State& state, const std::string& referrer) {
  const auto options = PortsOnly();
  for (auto _ : state) benchmark::DoNotOptimize(analysis::NormalizeRef(referrer, options, {}));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * referrer.size()));
}

void BM_PortRemovalOrdinaryPath(benchmark::State& state) {
  std::string referrer = "http://x:8080";
  while (referrer.size() < static_cast<size_t>(state.range(0))) referrer += "/dir";
  RemovePorts(state, referrer);
}
void BM_PortRemovalChainOfPorts(benchmark::State& state) {
  RemovePorts(state, testing::PortChainReferrer(static_cast<size_t>(state.range(0)) / 3));
}
BENCHMARK(BM_PortRemovalOrdinaryPath)->Arg(300000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PortRemovalChainOfPorts)->Arg(300000)->Unit(benchmark::kMillisecond);

void Match(benchmark::State& state, const std::string& agent, const char* pattern) {
  for (auto _ : state) benchmark::DoNotOptimize(analysis::MatchesLike(agent, pattern));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * agent.size()));
}

std::string OrdinaryAgent(size_t bytes) {
  std::string agent = "2#Mozilla/5.0 (Windows NT 10.0; Win64; x64) ";
  while (agent.size() < bytes) agent += "AppleWebKit/537.36 (KHTML, like Gecko) ";
  return agent;
}

void BM_LikeOrdinaryAgent(benchmark::State& state) {
  Match(state, OrdinaryAgent(static_cast<size_t>(state.range(0))), "*win*95*");
}
void BM_LikeNearMissAgent(benchmark::State& state) {
  Match(state, testing::NearMissAgent(static_cast<size_t>(state.range(0))), "*win*95*");
}
void BM_LikeManyStarsOrdinaryAgent(benchmark::State& state) {
  Match(state, OrdinaryAgent(static_cast<size_t>(state.range(0))), "*w*i*n*9*5*");
}
void BM_LikeManyStarsNearMissAgent(benchmark::State& state) {
  Match(state, testing::NearMissAgent(static_cast<size_t>(state.range(0))), "*w*i*n*9*5*");
}
BENCHMARK(BM_LikeOrdinaryAgent)->Arg(96 * 1024)->Arg(1 << 20);
BENCHMARK(BM_LikeNearMissAgent)->Arg(96 * 1024)->Arg(1 << 20);
BENCHMARK(BM_LikeManyStarsOrdinaryAgent)->Arg(2400)->Arg(1 << 20);
BENCHMARK(BM_LikeManyStarsNearMissAgent)->Arg(2400)->Arg(1 << 20);

}  // namespace
