// The built plug-in exports its entry point and nothing else.
#include "support/ElfDynamicSymbols.h"
#include "tests/support/PluginUnderTest.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace glimster::integration {
namespace {

using ::testing::Contains;
using ::testing::Not;

TEST(ExportTableTest, EntryPointFuncIsThePluginsOnlyExport) {
  EXPECT_THAT(DefinedDynamicSymbols(test_support::BuiltPlugin()),
              ::testing::ElementsAre("EntryPointFunc"));
}

TEST(ExportTableTest, ReaderFindsExportedFunctionsAndDataButNoHiddenOnes) {
  const std::vector<std::string> exports = DefinedDynamicSymbols(GLIMSTER_EXPORT_PROBE_FILE);

  EXPECT_THAT(exports, Contains("glimster_probe_exported"));
  EXPECT_THAT(exports, Contains("glimster_probe_also_exported"));
  EXPECT_THAT(exports, Contains("glimster_probe_uses_hidden"));
  EXPECT_THAT(exports, Not(Contains("glimster_probe_hidden")));
}

}  // namespace
}  // namespace glimster::integration
