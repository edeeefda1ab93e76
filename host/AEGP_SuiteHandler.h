// A per-call cache of host suites: each catalogue row is acquired from the
// host the first time it is asked for and given back, once, in catalogue
// order, when the cache goes out of scope (also while an exception unwinds).
#pragma once

#include <array>

#include "host/AE_HostInterface.h"
#include "host/SuiteCatalogue.h"

namespace glimster {

class AEGP_SuiteHandler {
 public:
  // Does not acquire anything; a null `basic` raises MissingSuite.
  explicit AEGP_SuiteHandler(const SPBasicSuite* basic);
  ~AEGP_SuiteHandler();

  AEGP_SuiteHandler(const AEGP_SuiteHandler&) = delete;
  AEGP_SuiteHandler& operator=(const AEGP_SuiteHandler&) = delete;

  // The function table of catalogue row `row` (zero-based), acquired now if
  // not yet held; never null (a refused or empty acquire raises MissingSuite).
  const void* Row(std::size_t row);

  // The typed table of one of the fetched rows.
  template <class Suite>
  const Suite* Get() {
    return static_cast<const Suite*>(Row(FetchedRow<Suite>::index));
  }

  const AEGP_CommandSuite1* CommandSuite1() { return Get<AEGP_CommandSuite1>(); }
  const AEGP_RegisterSuite6* RegisterSuite6() { return Get<AEGP_RegisterSuite6>(); }
  const AEGP_UtilitySuite7* UtilitySuite7() { return Get<AEGP_UtilitySuite7>(); }
  // Item Suite 10: active item, type, current time; 13 only for the name in UTF-16 (10's is 8-bit).
  const AEGP_ItemSuite10* ItemSuite10() { return Get<AEGP_ItemSuite10>(); }
  const AEGP_ItemSuite13* ItemSuite13() { return Get<AEGP_ItemSuite13>(); }
  const AEGP_CompSuite14* CompSuite14() { return Get<AEGP_CompSuite14>(); }
  const AEGP_RenderOptionsSuite2* RenderOptionsSuite2() { return Get<AEGP_RenderOptionsSuite2>(); }
  const AEGP_RenderSuite2* RenderSuite2() { return Get<AEGP_RenderSuite2>(); }
  const AEGP_MemorySuite1* MemorySuite1() { return Get<AEGP_MemorySuite1>(); }
  const AEGP_WorldSuite2* WorldSuite2() { return Get<AEGP_WorldSuite2>(); }

  // Gives back every suite held, in catalogue order; release codes are ignored.
  void ReleaseAllSuites();
  // Calls the host's release for one suite and gives its code unchanged.
  A_Err ReleaseSuite(const A_char* name, A_long version);
  // Raises MissingSuite with the code 516; never returns.
  [[noreturn]] void MissingSuiteError() const;

 private:
  const SPBasicSuite* basic_;
  std::array<const void*, kSuiteCatalogueSize> tables_{};
};

}  // namespace glimster
