#include "analysis/result.h"

#include <stdexcept>

#include "analysis/class_lists.h"

namespace vorel::analysis {
namespace {

[[noreturn]] void OutOfRange() { throw std::out_of_range("インデックスが有効範囲にありません。"); }

template <size_t N>
ResultValue Slot(const std::array<int32_t, N>& slots, int index) {
  if (index < 0 || static_cast<size_t>(index) >= N) OutOfRange();
  return slots[static_cast<size_t>(index)];
}

ResultValue Entry(const CategoryTable& table, int which, int index) {
  if (which == 0) return table.Count;
  if (index < 0 || index > table.Count) OutOfRange();
  if (which == 1) return table.Counts[static_cast<size_t>(index)];
  return std::string(table.Names[static_cast<size_t>(index)]);
}

}  // namespace

AnalysisResult& Result() {
  static AnalysisResult result;
  return result;
}

ResultValue GetResult(int kind, int index) {
  const AnalysisResult& r = Result();
  switch (kind) {
    case 0: return r.Total;
    case 1: return Slot(r.Month, index);
    case 2: return Slot(r.WWeek, index);
    case 3: return Slot(r.DWeek, index);
    case 4: return Slot(r.Date, index);
    case 5: return Slot(r.Time, index);
    case 6: return Entry(r.OS, 0, index);
    case 7: return Entry(r.OS, 1, index);
    case 9: return Entry(r.OS, 2, index);
    case 10: return Entry(r.Brws, 0, index);
    case 11: return Entry(r.Brws, 1, index);
    case 13: return Entry(r.Brws, 2, index);
    case 14: case 15: case 16: return Entry(r.Agent, kind - 14, index);
    case 17: case 18: case 19: return Entry(r.Host, kind - 17, index);
    case 20: case 21: case 22: return Entry(r.Ref, kind - 20, index);
    case 23: case 24: case 25: return Entry(r.Url, kind - 23, index);
    case 26: case 27: case 28: return Entry(r.Page, kind - 26, index);
    case 29: return static_cast<int32_t>(Classes().hostFilter.size());
    case 30: {
      const auto& list = Classes().hostFilter;
      if (index < 1 || static_cast<size_t>(index) > list.size()) OutOfRange();
      return list[static_cast<size_t>(index - 1)];
    }
    case 31: return r.RobotTotal;
    case 32: case 33: case 34: return Entry(r.Robot, kind - 32, index);
    default: return std::monostate{};
  }
}

int32_t ResultCount(int kind, int index) {
  ResultValue v = GetResult(kind, index);
  auto* n = std::get_if<int32_t>(&v);
  return n ? *n : 0;
}

std::string ResultName(int kind, int index) {
  ResultValue v = GetResult(kind, index);
  auto* s = std::get_if<std::string>(&v);
  return s ? *s : std::string();
}

}  // namespace vorel::analysis
