#include "substitute_host/suites/OfferedSuites.h"

#include "substitute_host/suites/SuiteTables.h"

namespace glimster::substitute_host {
namespace {

template <auto kTable>
const void* TableAddress() {
  return &kTable();
}

}  // namespace

const std::array<OfferedSuite, kOfferedSuiteCount>& OfferedSuites() {
  static const std::array<OfferedSuite, kOfferedSuiteCount> kSuites = {{
      {"AEGP Command Suite", 1, &TableAddress<CommandSuite1>},
      {"AEGP Register Suite", 6, &TableAddress<RegisterSuite6>},
      {"AEGP Utility Suite", 7, &TableAddress<UtilitySuite7>},
      {"AEGP Item Suite", 10, &TableAddress<ItemSuite10>},
      {"AEGP Item Suite", 13, &TableAddress<ItemSuite13>},
      {"AEGP Comp Suite", 14, &TableAddress<CompSuite14>},
      {"AEGP Render Options Suite", 2, &TableAddress<RenderOptionsSuite2>},
      {"AEGP Render Suite", 2, &TableAddress<RenderSuite2>},
      {"AEGP Memory Suite", 1, &TableAddress<MemorySuite1>},
      {"AEGP World Suite", 2, &TableAddress<WorldSuite2>},
  }};
  return kSuites;
}

const void* TableOf(std::string_view name, std::int32_t version) {
  for (const OfferedSuite& suite : OfferedSuites()) {
    if (suite.name == name && suite.version == version) {
      return suite.table();
    }
  }
  return nullptr;
}

}  // namespace glimster::substitute_host
