// Fills every slot of a suite table with its own recorder of an unexpected
// call, before the offered operations are put in their slots: a plug-in that
// calls a slot the host does not serve (a wrong slot, a wrong layout) is
// recorded as a problem instead of jumping into nothing.
#pragma once

#include "host/AE_HostInterface.h"
#include "substitute_host/suites/OfferedSuites.h"

#include <array>
#include <cstring>
#include <utility>

namespace glimster::substitute_host {

// Records that slot `slot` of suite `row` was called; gives kHostGenericError.
A_Err ReportUnexpectedSlot(OfferedSuiteIndex row, std::size_t slot) noexcept;

template <OfferedSuiteIndex kRow, std::size_t kSlot>
A_Err UnexpectedSlot() {
  return ReportUnexpectedSlot(kRow, kSlot);
}

template <OfferedSuiteIndex kRow, std::size_t... kSlots>
std::array<AEGP_UnusedSlot, sizeof...(kSlots)> UnexpectedSlots(std::index_sequence<kSlots...>) {
  return {{reinterpret_cast<AEGP_UnusedSlot>(&UnexpectedSlot<kRow, kSlots>)...}};
}

// A table of suite `Row` whose every slot records an unexpected call.
template <OfferedSuiteIndex kRow, typename Table>
Table TableOfUnexpectedSlots() {
  static_assert(sizeof(Table) % sizeof(AEGP_UnusedSlot) == 0, "a suite is a table of pointers");
  constexpr std::size_t kSlots = sizeof(Table) / sizeof(AEGP_UnusedSlot);
  const auto slots = UnexpectedSlots<kRow>(std::make_index_sequence<kSlots>{});
  Table table;
  std::memcpy(&table, slots.data(), sizeof(Table));
  return table;
}

}  // namespace glimster::substitute_host
