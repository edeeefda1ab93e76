// --help and --list-operations: what they print, and that they succeed.
#include "CliFixture.h"

#include <map>
#include <string_view>

#include "substitute_host/cli/OptionTable.h"

namespace glimster::cli_tests {
namespace {

using ::testing::HasSubstr;

class Help : public CliTest {};

TEST_F(Help, PrintsUsageExitStatusesAndExamplesAndSucceeds) {
  const ToolRun run = RunHostAsGiven({"--help"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.rfind("usage: glimster-host [OPTIONS] [PLUGIN]\n", 0), 0u) << run.out;
  EXPECT_THAT(run.out, HasSubstr("Exit status:"));
  for (const char* status : {"\n  0  ", "\n  1  ", "\n  2  ", "\n  3  "}) {
    EXPECT_THAT(run.out, HasSubstr(status));
  }
  EXPECT_THAT(run.out, HasSubstr("Examples:"));
}

// Every option of the program's table shows in --help and is accepted: given
// before --help, in each of its spellings and forms, the help is shown.
TEST_F(Help, ShowsAndAcceptsEveryOption) {
  // A value each option that takes one accepts.
  const std::map<std::string_view, std::string> k_values = {
      {"--macos", "arm64"},       {"--comp-name", "Shot"},
      {"--size", "4x4"},          {"--time", "48/24"},
      {"--noise", "7"},           {"--frame-png", "in.png"},
      {"--desktop", "/tmp"},      {"--repeat", "2"},
      {"--fail", "AEGP_SetTime"}, {"--refuse-suite", "AEGP Render Suite:2"}};
  const std::string help = RunHostAsGiven({"--help"}).out;
  for (const substitute_host::cli::OptionRow& row : substitute_host::cli::OptionTable()) {
    const std::string name(row.name);
    std::vector<std::vector<std::string>> forms = {{name}};
    if (!row.short_name.empty()) forms.push_back({std::string(row.short_name)});
    if (row.TakesValue()) {
      const auto value = k_values.find(row.name);
      ASSERT_TRUE(value != k_values.end()) << "no value to give " << name;
      forms = {{name, value->second}, {name + "=" + value->second}};
    }
    const std::string shown =
        row.short_name.empty() ? name : std::string(row.short_name) + ", " + name;
    EXPECT_THAT(help, HasSubstr("\n  " + shown + (row.TakesValue() ? " " : "") +
                                std::string(row.placeholder)));
    for (std::vector<std::string> arguments : forms) {
      arguments.push_back("--help");
      const ToolRun run = RunHostAsGiven(arguments);
      EXPECT_EQ(run.exit_code, 0) << arguments.front() << ": " << run.err;
      EXPECT_EQ(run.out, help) << arguments.front();
    }
  }
}

TEST_F(Help, NamesTheBuiltPluginAsTheDefault) {
  EXPECT_THAT(RunHostAsGiven({"-h"}).out, HasSubstr(test_support::BuiltPlugin().string()));
}

TEST_F(Help, ComesBeforeAnyLoadingOrCapture) {
  const ToolRun run = RunHostAsGiven({"/no/such/plugin.so", "--help"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(EntriesOf(DefaultDesktop()).empty());
}

TEST_F(Help, ListOperationsNamesEveryFaultableOperationAndOfferedSuite) {
  const ToolRun run = RunHostAsGiven({"--list-operations"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err, "");
  for (const char* line : {"\n  AEGP_RenderAndCheckoutFrame\n", "\n  AEGP_GetActiveItem\n",
                           "\n  AEGP_InsertMenuCommand\n", "\n  AEGP_FillOutPFEffectWorld\n",
                           "\n  \"AEGP Render Suite\":2\n", "\n  \"AEGP Register Suite\":6\n"}) {
    EXPECT_THAT(run.out, HasSubstr(line));
  }
}

}  // namespace
}  // namespace glimster::cli_tests
