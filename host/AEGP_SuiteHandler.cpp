#include "host/AEGP_SuiteHandler.h"

#include "host/HostCallBoundary.h"

namespace glimster {

AEGP_SuiteHandler::AEGP_SuiteHandler(const SPBasicSuite* basic) : basic_(basic) {
  if (basic_ == nullptr) MissingSuiteError();
}

AEGP_SuiteHandler::~AEGP_SuiteHandler() { ReleaseAllSuites(); }

const void* AEGP_SuiteHandler::Row(std::size_t row) {
  const void*& table = tables_.at(row);
  if (table != nullptr) return table;

  const SuiteRow& suite = kSuiteCatalogue[row];
  const void* acquired = nullptr;
  const SPErr err = basic_->AcquireSuite(suite.name, suite.version, &acquired);
  if (err != 0 || acquired == nullptr) MissingSuiteError();
  table = acquired;
  return table;
}

void AEGP_SuiteHandler::ReleaseAllSuites() {
  for (std::size_t row = 0; row < kSuiteCatalogueSize; ++row) {
    if (tables_[row] != nullptr) {
      ReleaseSuite(kSuiteCatalogue[row].name, kSuiteCatalogue[row].version);
    }
  }
}

A_Err AEGP_SuiteHandler::ReleaseSuite(const A_char* name, A_long version) {
  return basic_->ReleaseSuite(name, version);
}

void AEGP_SuiteHandler::MissingSuiteError() const { throw MissingSuite{A_Err_MISSING_SUITE}; }

}  // namespace glimster
