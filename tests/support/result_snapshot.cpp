#include "support/result_snapshot.h"

#include "analysis/result.h"

namespace vorel::testing {

ResultSnapshot TakeResultSnapshot(bool withPages) {
  const analysis::AnalysisResult& r = analysis::Result();
  ResultSnapshot s;
  s.total = r.Total;
  s.robotTotal = r.RobotTotal;
  s.periods.insert(s.periods.end(), r.Month.begin(), r.Month.end());
  s.periods.insert(s.periods.end(), r.WWeek.begin(), r.WWeek.end());
  s.periods.insert(s.periods.end(), r.DWeek.begin(), r.DWeek.end());
  s.periods.insert(s.periods.end(), r.Date.begin(), r.Date.end());
  s.periods.insert(s.periods.end(), r.Time.begin(), r.Time.end());
  for (const analysis::CategoryTable* t : {&r.OS, &r.Brws, &r.Agent, &r.Ref, &r.Url, &r.Host, &r.Robot, &r.Page}) {
    if (t == &r.Page && !withPages) break;
    std::vector<std::pair<std::string, int32_t>> entries;
    for (int32_t i = 1; i <= t->Count; ++i)
      entries.emplace_back(t->Names[static_cast<size_t>(i)], t->Counts[static_cast<size_t>(i)]);
    s.tables.push_back(entries);
  }
  return s;
}

}  // namespace vorel::testing
