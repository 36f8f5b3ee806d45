// Sorting a big table at the end of a pass: search-engine referrers, which
// share a long start, with counts as few and as repeated as a real log's.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "analysis/category_table.h"
#include "analysis/sorting.h"

namespace {

using namespace vorel;

analysis::CategoryTable SearchReferrers(size_t count) {
  analysis::CategoryTable table;
  std::mt19937 random(7);
  std::geometric_distribution<int32_t> repeats(0.25);
  for (size_t i = 0; i < count; ++i) {
    const std::string name = "http://www.google.co.jp/search?q=word" + std::to_string(random() % 100000) + "+" +
                             std::to_string(i) + "&hl=ja";
    table.Append(name, 1 + repeats(random));
  }
  return table;
}

void BM_SortSearchReferrers(benchmark::State& state) {
  const analysis::CategoryTable unsorted = SearchReferrers(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    analysis::CategoryTable table = unsorted;
    state.ResumeTiming();
    analysis::SortTable(table, 1, table.Count);
    benchmark::DoNotOptimize(table.Counts.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * state.range(0)));
}
BENCHMARK(BM_SortSearchReferrers)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
