// --help and --list-operations: what they print, and that they succeed.
#include "CliFixture.h"

namespace glimster::cli_tests {
namespace {

using ::testing::HasSubstr;

class Help : public CliTest {};

TEST_F(Help, PrintsUsageOptionsExitStatusesAndExamplesAndSucceeds) {
  const ToolRun run = RunHostAsGiven({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.rfind("usage: glimster-host [OPTIONS] [PLUGIN]\n", 0), 0u) << run.out;
  for (const char* option :
       {"--comp-name", "--size", "--time", "--test-card", "--noise", "--frame-png", "--demo",
        "--desktop", "--no-capture", "--repeat", "--trace", "--fail", "--refuse-suite",
        "--list-operations", "--help", "--macos"}) {
    EXPECT_THAT(run.out, HasSubstr(option));
  }
  EXPECT_THAT(run.out, HasSubstr("Exit status:"));
  for (const char* status : {"\n  0  ", "\n  1  ", "\n  2  ", "\n  3  "}) {
    EXPECT_THAT(run.out, HasSubstr(status));
  }
  EXPECT_THAT(run.out, HasSubstr("Examples:"));
}

TEST_F(Help, NamesTheBuiltPluginAsTheDefault) {
  EXPECT_THAT(RunHostAsGiven({"-h"}).out, HasSubstr(test_support::BuiltPlugin().string()));
}

TEST_F(Help, ComesBeforeAnyLoadingOrCapture) {
  const ToolRun run = RunHostAsGiven({"/no/such/plugin.so", "--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(EntriesOf(DefaultDesktop()).empty());
}

TEST_F(Help, ListOperationsNamesEveryFaultableOperationAndOfferedSuite) {
  const ToolRun run = RunHostAsGiven({"--list-operations"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  for (const char* line : {"\n  AEGP_RenderAndCheckoutFrame\n", "\n  AEGP_GetActiveItem\n",
                           "\n  AEGP_InsertMenuCommand\n", "\n  AEGP_FillOutPFEffectWorld\n",
                           "\n  \"AEGP Render Suite\":2\n", "\n  \"AEGP Register Suite\":6\n"}) {
    EXPECT_THAT(run.out, HasSubstr(line));
  }
}

}  // namespace
}  // namespace glimster::cli_tests
