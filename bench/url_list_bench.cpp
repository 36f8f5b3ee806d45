// Filling and sorting the URL list window with a large referrer table, as
// the window does it: through the result accessor into the list's model.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <string>

#include "analysis/result.h"
#include "ui/urllist/frm_url.h"
#include "ui/urllist/url_list_model.h"

namespace {

// A referrer table of `rows` distinct URLs in standing order (ascending count).
void MakeReferrers(int rows) {
  vorel::analysis::CategoryTable& url = vorel::analysis::Result().Url;
  url.Clear();
  for (int i = 1; i <= rows; ++i)
    url.Append("http://www" + std::to_string(i % 997) + ".example.ne.jp/diary/" + std::to_string(i) +
                   "/index.html?from=search&q=%E6%97%A5%E8%A8%98",
               i / 40);
}

void BM_FillUrlList(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  MakeReferrers(rows);
  vorel::ui::frmUrl form;
  form.show();
  for (auto _ : state) {
    form.FillUrlList();
    QApplication::processEvents();
    benchmark::DoNotOptimize(form.Model()->rowCount());
  }
  if (form.Model()->rowCount() != rows) state.SkipWithError("rows missing");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * rows);
}
BENCHMARK(BM_FillUrlList)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SortUrlList(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  MakeReferrers(rows);
  vorel::ui::frmUrl form;
  form.show();
  int column = 0;
  for (auto _ : state) {
    // Alternating columns, so that every click really reorders the rows.
    form.lsvUrlList_ColumnClick(column);
    column = 1 - column;
    QApplication::processEvents();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * rows);
}
BENCHMARK(BM_SortUrlList)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
