// The one analysis result the whole program shares: the total, five period
// breakdowns and seven category tables, and beside them the robots' accesses
// that were set apart from the people's. Only the analysis engine writes it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>

#include "analysis/category_table.h"

namespace vorel::analysis {

struct AnalysisResult {
  int32_t Total = 0;
  std::array<int32_t, 13> Month{};  // 1 = January … 12 = December
  std::array<int32_t, 55> WWeek{};  // weeks 1..54
  std::array<int32_t, 8> DWeek{};   // 1 = Sunday … 7 = Saturday
  std::array<int32_t, 32> Date{};   // days 1..31
  std::array<int32_t, 25> Time{};   // hours 0..24
  CategoryTable OS;
  CategoryTable Brws;
  CategoryTable Agent;
  CategoryTable Host{kMaxGrowingTableEntries};
  CategoryTable Ref{kMaxGrowingTableEntries};
  CategoryTable Url{kMaxGrowingTableEntries};
  CategoryTable Page;
  // How the zone a server log's times were shown in is named (TimeZone's
  // Description); empty while only record logs, which carry no zone, were read.
  std::string ServerTimeZone;
  // Robots set apart (RobotMode): they count here and nowhere above.
  int32_t RobotTotal = 0;
  CategoryTable Robot;  // display names of the robot list, appended on first count
};

AnalysisResult& Result();

// A count, a name, or nothing (a kind that is not assigned).
using ResultValue = std::variant<std::monostate, int32_t, std::string>;

// Reads one value by numbered kind:
//  0 Total; 1..5 slot of Month, WWeek, DWeek, Date, Time;
//  6/7/9 OS count/entry count/entry name; 10/11/13 Brws; 14/15/16 Agent;
//  17/18/19 Host; 20/21/22 Ref; 23/24/25 Url; 26/27/28 Page;
//  29 number of host filter entries; 30 host filter entry;
//  31 RobotTotal; 32/33/34 Robot count/entry count/entry name.
// Throws std::out_of_range for an index outside the member's slots.
ResultValue GetResult(int kind, int index = 0);

// Shorthands for readers that know what a kind returns.
int32_t ResultCount(int kind, int index = 0);
std::string ResultName(int kind, int index);

}  // namespace vorel::analysis
