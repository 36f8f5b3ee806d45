// The thirteen result windows the main frame hosts: the summary window and the
// twelve graph windows, with their bits in VisibleWindow and the orders in
// which the frame opens them at start and collects them at close.
#pragma once

#include <array>

#include "ui/results/graph_window.h"

namespace vorel::ui {

enum class ResultSlot { Base, Month, WWeek, DWeek, Date, Time, Os, Brws, Agent, Host, Ref, Page, Robot };
inline constexpr int kResultSlotCount = 13;

// Opened at load in this order, the summary window last so that it ends up active.
inline constexpr std::array<ResultSlot, kResultSlotCount> kOpeningOrder = {
    ResultSlot::Robot, ResultSlot::Page,  ResultSlot::Ref,   ResultSlot::Host,  ResultSlot::Agent,
    ResultSlot::Brws,  ResultSlot::Os,    ResultSlot::Time,  ResultSlot::Date,  ResultSlot::DWeek,
    ResultSlot::WWeek, ResultSlot::Month, ResultSlot::Base};

// Collected into VisibleWindow at close in this order.
inline constexpr std::array<ResultSlot, kResultSlotCount> kCollectingOrder = {
    ResultSlot::Base, ResultSlot::Month, ResultSlot::WWeek, ResultSlot::DWeek, ResultSlot::Date, ResultSlot::Time,
    ResultSlot::Os,   ResultSlot::Brws,  ResultSlot::Agent, ResultSlot::Host,  ResultSlot::Ref,  ResultSlot::Page,
    ResultSlot::Robot};

inline constexpr int SlotIndex(ResultSlot slot) { return static_cast<int>(slot); }
inline constexpr bool IsGraphSlot(ResultSlot slot) { return slot != ResultSlot::Base; }

// The graph kind of a graph slot (slots Month..Page follow kAllGraphKinds).
inline GraphKind GraphKindOf(ResultSlot slot) { return kAllGraphKinds[SlotIndex(slot) - 1]; }
inline ResultSlot SlotOf(GraphKind kind) {
  for (int i = 0; i < kResultSlotCount - 1; ++i)
    if (kAllGraphKinds[i] == kind) return static_cast<ResultSlot>(i + 1);
  return ResultSlot::Base;
}

// The window's bit in VisibleWindow.
inline int VisibleBit(ResultSlot slot) { return IsGraphSlot(slot) ? GraphVisibleBit(GraphKindOf(slot)) : 1; }

}  // namespace vorel::ui
