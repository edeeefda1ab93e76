// --trace lists the calls in order; --fail and --refuse-suite change what the
// plug-in meets, and the outcome shows it.
#include "CliFixture.h"

#include <regex>

namespace glimster::cli_tests {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// One line of the trace listing.
struct TracedCall {
  int number;
  bool into_plugin;  // a call into the plug-in, not one the plug-in made
  std::string op;
  std::string args;
  std::string result;
};

// The trace lines of `output` after its "trace: N calls, in order" heading;
// fails the test when the heading's count does not match.
std::vector<TracedCall> TraceOf(const std::string& output) {
  const std::vector<std::string> lines = LinesOf(output);
  const std::regex heading(R"(trace: (\d+) calls, in order)");
  const std::regex call(R"( *(\d+)(  |    )([A-Za-z_]+)\((.*)\) -> (.+))");
  std::vector<TracedCall> calls;
  std::size_t expected = 0;
  bool in_trace = false;
  for (const std::string& line : lines) {
    std::smatch match;
    if (std::regex_match(line, match, heading)) {
      in_trace = true;
      expected = std::stoul(match[1]);
    } else if (in_trace && std::regex_match(line, match, call)) {
      calls.push_back({std::stoi(match[1]), match[2].length() == 2, match[3], match[4], match[5]});
    } else if (in_trace) {
      ADD_FAILURE() << "not a trace line: " << line;
    }
  }
  EXPECT_TRUE(in_trace) << output;
  EXPECT_EQ(calls.size(), expected);
  return calls;
}

// The position of the first call of `op` at or after `from`, or calls.size().
std::size_t Find(const std::vector<TracedCall>& calls, const std::string& op,
                 std::size_t from = 0) {
  for (std::size_t i = from; i < calls.size(); ++i) {
    if (calls[i].op == op) return i;
  }
  return calls.size();
}

class Trace : public CliTest {};

TEST_F(Trace, ListsEveryCallInTheOrderMadeWithArgumentsAndResults) {
  const ToolRun run = RunHost({"--size", "8x8", "--trace"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const std::vector<TracedCall> calls = TraceOf(run.out);
  ASSERT_FALSE(calls.empty());
  for (std::size_t i = 0; i < calls.size(); ++i)
    EXPECT_EQ(calls[i].number, static_cast<int>(i + 1));

  EXPECT_EQ(calls.front().op, "EntryPointFunc");
  EXPECT_TRUE(calls.front().into_plugin);
  EXPECT_EQ(calls.back().op, "DeathHook");
  const std::size_t insert = Find(calls, "AEGP_InsertMenuCommand");
  const std::size_t update = Find(calls, "UpdateMenuHook");
  const std::size_t command = Find(calls, "CommandHook");
  const std::size_t render = Find(calls, "AEGP_RenderAndCheckoutFrame", command);
  const std::size_t checkin = Find(calls, "AEGP_CheckinFrame", render);
  EXPECT_LT(insert, update);
  EXPECT_LT(update, command);
  EXPECT_LT(command, render);
  EXPECT_LT(render, checkin);
  ASSERT_LT(checkin, calls.size());
  EXPECT_THAT(calls[insert].args, HasSubstr("\"Take Glimster\""));
  EXPECT_FALSE(calls[render].into_plugin);
  EXPECT_EQ(calls[render].result, "0");
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const TracedCall& c) { return c.op == "UpdateMenuHook"; }),
            3);
}

TEST_F(Trace, IsOnlyPrintedWhenAskedFor) {
  const ToolRun run = RunHost({"--size", "4x4"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out, Not(HasSubstr("trace:")));
  EXPECT_THAT(run.out, Not(HasSubstr("AcquireSuite")));
}

// A fault an option sets, and what the run shows of it.
struct FaultMet {
  const char* name;
  const char* option;  // --fail or --refuse-suite
  const char* value;
  int entry;           // what EntryPointFunc returns
  const char* traced;  // the faulted call's trace line, after its number
  const char* error;   // the line on standard error, after "glimster-host: "
  const char* report;  // the plug-in's report shown, or ""
};

class FaultOutcome : public CliTest, public ::testing::WithParamInterface<FaultMet> {};

// Exit status 1, the error, the faulted call in the trace and nothing
// written; no menu and no capture for a plug-in that did not start.
TEST_P(FaultOutcome, EndsTheRunWithTheErrorAndWritesNothing) {
  const FaultMet& fault = GetParam();
  const ToolRun run = RunHost({fault.option, fault.value, "--size", "4x4", "--trace"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "glimster-host: " + std::string(fault.error) + "\n");
  EXPECT_EQ(ValueOf(run.out, "entry"), "EntryPointFunc returned " + std::to_string(fault.entry));
  EXPECT_EQ(ValueOf(run.out, "report"), fault.report);
  EXPECT_THAT(run.out, HasSubstr("  " + std::string(fault.traced) + "\n"));
  EXPECT_EQ(ValueOf(run.out, "menu") != "", fault.entry == 0);
  EXPECT_EQ(ValueOf(run.out, "capture") != "", fault.entry == 0);
  EXPECT_EQ(ValueOf(run.out, "wrote"), "");
  EXPECT_TRUE(EntriesOf(DefaultDesktop()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultOutcome,
    ::testing::Values(
        FaultMet{"AFailingRenderShowsTheErrorAndWritesNothing", "--fail",
                 "AEGP_RenderAndCheckoutFrame:7", 0,
                 "AEGP_RenderAndCheckoutFrame(options 1 (world type 1, time 0/1, downsample 1x1) "
                 "-> none) -> 7",
                 "capture failed: CommandHook returned 7", ""},
        // :written: the host gives the world and still answers 7.
        FaultMet{"AWorldGivenWithAnErrorIsNoFrame", "--fail", "AEGP_GetReceiptWorld:7:written", 0,
                 "AEGP_GetReceiptWorld(receipt 1 -> world) -> 7",
                 "capture failed: CommandHook returned 7", ""},
        FaultMet{"ARefusedRenderSuiteFailsTheCaptureOnly", "--refuse-suite",
                 "AEGP Render Suite:2:5", 0, "AcquireSuite(\"AEGP Render Suite\" 2) -> 5",
                 "capture failed: CommandHook returned 516", ""},
        // 516: the plug-in's missing-suite code.
        FaultMet{"ARefusedRegisterSuiteStopsTheStart", "--refuse-suite", "AEGP Register Suite:6",
                 516, "AcquireSuite(\"AEGP Register Suite\" 6) -> 2",
                 "the plug-in did not start: EntryPointFunc returned 516", ""},
        FaultMet{"AFailedRegistrationShowsThePluginsReport", "--fail", "AEGP_RegisterIdleHook:6", 6,
                 "AEGP_RegisterIdleHook(plugin 256, hook set, refcon null) -> 6",
                 "the plug-in did not start: EntryPointFunc returned 6",
                 "Error enabling Glimster."}),
    [](const ::testing::TestParamInfo<FaultMet>& info) { return std::string(info.param.name); });

class Fault : public CliTest {};

TEST_F(Fault, OnlyTheNthCallFails) {
  // The second AEGP_GetActiveItem is the menu update with the footage item active.
  const ToolRun run = RunHost({"--no-capture", "--fail", "AEGP_GetActiveItem:9:2"});
  EXPECT_EQ(run.exit_code, 1);
  const std::vector<std::string> lines = LinesOf(run.out);
  const auto returned = [](const std::string& line) {
    return line.find("(UpdateMenuHook returned 9)") != std::string::npos;
  };
  ASSERT_EQ(std::count_if(lines.begin(), lines.end(), returned), 1) << run.out;
  EXPECT_THAT(*std::find_if(lines.begin(), lines.end(), returned),
              HasSubstr("footage \"Footage 1\" active"));
  EXPECT_THAT(run.err, HasSubstr("UpdateMenuHook returned an error"));
}

TEST_F(Fault, AFaultWhoseCallNeverComesIsAWarning) {
  const ToolRun run = RunHost({"--no-capture", "--fail", "AEGP_RenderAndCheckoutFrame:7", "--fail",
                               "AEGP_GetActiveItem:9:5"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err,
            "glimster-host: warning: --fail never fired: call 5 of AEGP_GetActiveItem (3 made)\n"
            "glimster-host: warning: --fail never fired: every call of "
            "AEGP_RenderAndCheckoutFrame (none was made)\n");
}

}  // namespace
}  // namespace glimster::cli_tests
