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

class Fault : public CliTest {};

TEST_F(Fault, AFailingRenderShowsTheErrorAndWritesNothing) {
  const ToolRun run =
      RunHost({"--size", "8x8", "--fail", "AEGP_RenderAndCheckoutFrame:7", "--trace"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_THAT(run.err, HasSubstr("glimster-host: capture failed: CommandHook returned 7"));
  EXPECT_EQ(ValueOf(run.out, "wrote"), "");
  EXPECT_TRUE(EntriesOf(DefaultDesktop()).empty());
  const std::vector<TracedCall> calls = TraceOf(run.out);
  const std::size_t render = Find(calls, "AEGP_RenderAndCheckoutFrame");
  ASSERT_LT(render, calls.size());
  EXPECT_EQ(calls[render].result, "7");
  EXPECT_EQ(Find(calls, "AEGP_CheckinFrame"), calls.size());  // nothing to give back
}

// :written: the host gives the world and still answers 7. A world had with
// an error is no frame: the capture stops there, before the name.
TEST_F(Fault, AWorldGivenWithAnErrorIsNoFrame) {
  const ToolRun run =
      RunHost({"--size", "8x8", "--fail", "AEGP_GetReceiptWorld:7:written", "--trace"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_THAT(run.err, HasSubstr("glimster-host: capture failed: CommandHook returned 7"));
  EXPECT_TRUE(EntriesOf(DefaultDesktop()).empty());
  const std::vector<TracedCall> calls = TraceOf(run.out);
  const std::size_t world = Find(calls, "AEGP_GetReceiptWorld");
  ASSERT_LT(world, calls.size());
  EXPECT_THAT(calls[world].args, HasSubstr("-> world"));
  EXPECT_EQ(calls[world].result, "7");
  EXPECT_EQ(Find(calls, "AEGP_GetItemName"), calls.size());
  EXPECT_EQ(Find(calls, "AEGP_FillOutPFEffectWorld"), calls.size());
  EXPECT_LT(Find(calls, "AEGP_CheckinFrame", world), calls.size());
}

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

TEST_F(Fault, ARefusedRegisterSuiteStopsTheStart) {
  const ToolRun run = RunHost({"--refuse-suite", "AEGP Register Suite:6"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(ValueOf(run.out, "entry"),
            "EntryPointFunc returned 516");  // the plug-in's missing-suite code
  EXPECT_THAT(run.err,
              HasSubstr("glimster-host: the plug-in did not start: EntryPointFunc returned 516"));
  EXPECT_THAT(run.out, Not(HasSubstr("menu:")));
  EXPECT_THAT(run.out, Not(HasSubstr("capture:")));
  EXPECT_FALSE(fs::exists(DefaultDesktop()));
}

TEST_F(Fault, AFailedRegistrationShowsThePluginsReport) {
  const ToolRun run = RunHost({"--fail", "AEGP_RegisterIdleHook:6"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(ValueOf(run.out, "entry"), "EntryPointFunc returned 6");
  EXPECT_EQ(ValueOf(run.out, "report"), "Error enabling Glimster.");
  EXPECT_FALSE(fs::exists(DefaultDesktop()));
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

TEST_F(Fault, ARefusedRenderSuiteFailsTheCaptureOnly) {
  const ToolRun run = RunHost({"--size", "4x4", "--refuse-suite", "AEGP Render Suite:2:5"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(ValueOf(run.out, "entry"), "EntryPointFunc returned 0");
  EXPECT_THAT(run.err, HasSubstr("capture failed: CommandHook returned "));
  EXPECT_TRUE(EntriesOf(DefaultDesktop()).empty());
}

}  // namespace
}  // namespace glimster::cli_tests
