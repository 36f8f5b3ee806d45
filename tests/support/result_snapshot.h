// The whole analysis result as a value, for comparing two analyses.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vorel::testing {

struct ResultSnapshot {
  int32_t total = 0;
  std::vector<int32_t> periods;  // month, week, weekday, date and hour slots in turn
  std::vector<std::vector<std::pair<std::string, int32_t>>> tables;  // OS, Brws, Agent, Ref, Url, Host, Robot (, Page)
  int32_t robotTotal = 0;
  bool operator==(const ResultSnapshot&) const = default;
};

// `withPages` false leaves out the Page table (a server log names its pages
// by path, a record log by name).
ResultSnapshot TakeResultSnapshot(bool withPages = true);

}  // namespace vorel::testing
