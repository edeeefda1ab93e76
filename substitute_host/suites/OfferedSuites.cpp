#include "substitute_host/suites/OfferedSuites.h"

#include "substitute_host/suites/SuiteTables.h"

namespace glimster::substitute_host {
namespace {

template <auto Table>
const void* tableAddress() {
  return &Table();
}

}  // namespace

const std::array<OfferedSuite, kOfferedSuiteCount>& offeredSuites() {
  static const std::array<OfferedSuite, kOfferedSuiteCount> kSuites = {{
      {"AEGP Command Suite", 1, &tableAddress<commandSuite1>},
      {"AEGP Register Suite", 6, &tableAddress<registerSuite6>},
      {"AEGP Utility Suite", 7, &tableAddress<utilitySuite7>},
      {"AEGP Item Suite", 10, &tableAddress<itemSuite10>},
      {"AEGP Item Suite", 13, &tableAddress<itemSuite13>},
      {"AEGP Comp Suite", 14, &tableAddress<compSuite14>},
      {"AEGP Render Options Suite", 2, &tableAddress<renderOptionsSuite2>},
      {"AEGP Render Suite", 2, &tableAddress<renderSuite2>},
      {"AEGP Memory Suite", 1, &tableAddress<memorySuite1>},
      {"AEGP World Suite", 2, &tableAddress<worldSuite2>},
  }};
  return kSuites;
}

const void* offeredSuite(std::string_view name, std::int32_t version) {
  for (const OfferedSuite& suite : offeredSuites()) {
    if (suite.name == name && suite.version == version) {
      return suite.table();
    }
  }
  return nullptr;
}

}  // namespace glimster::substitute_host
