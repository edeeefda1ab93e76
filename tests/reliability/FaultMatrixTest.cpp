// Every host fault in every call into the real plug-in. A successful call's
// log names each point where the host can fail (each acquire, each call of a
// suite operation); the call is run again once per point and fault, in a
// fresh host; then once per pair of faults, the second at a later point;
// and every point that a failing run reaches anew is tried in turn. Each run
// must answer the prescribed code, give back every suite and handle exactly
// once, let nothing escape, leave no file or the whole one, and show one
// report for a capture that printed its failure or was given no frame (a
// missing desktop folder makes every capture fail; the report then meets the
// faults too).
#include "ExpectedOutcome.h"
#include "FaultPoints.h"
#include "HookCalls.h"

#include "CaptureFixture.h"
#include "substitute_host/Host.h"
#include "substitute_host/Operations.h"
#include "substitute_host/PluginBinary.h"
#include "substitute_host/platform/DesktopRedirect.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace glimster::reliability {
namespace {

namespace fs = std::filesystem;
namespace op = substitute_host::op;
using capture_tests::DecodePng;
using capture_tests::ExpectedImage;
using capture_tests::FolderEntries;
using capture_tests::GradientFrame;
using capture_tests::IsCaptureFileName;
using substitute_host::Host;

constexpr A_Err kFirstFaultCode = 7001;  // every planted fault gets a code of its own
constexpr SPErr kReleaseFailure = 0x5E;
constexpr char kCompositionName[] = "Matrix";

// A call into the plug-in, in the state it is made in.
struct Scenario {
  const char* name;
  EntryPoint entry;
  bool composition_active;
  bool desktop_missing = false;
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

// One run: the faults planted and whether every release fails as well.
struct RunPlan {
  FaultPath path;
  bool releases_fail = false;

  std::string describe() const {
    std::string text = path.empty() ? "no fault" : "";
    for (const PlantedFault& fault : path) text += (text.empty() ? "" : "; ") + fault.describe();
    return releases_fail ? text + "; every release fails" : text;
  }
};

// What a run left to look at once its host is gone.
struct RunRecord {
  A_Err result = 0;
  substitute_host::CallLog log;
  substitute_host::Outstanding outstanding;
  std::vector<std::string> problems;
  std::vector<std::string> desktop;  // names, sorted
  std::string output;                // what the plug-in printed
};

// How big the matrix was, over all the scenarios run.
struct MatrixSize {
  std::size_t runs = 0;
  std::size_t operation_points = 0;
  std::size_t acquire_points = 0;
  std::size_t faults_planted = 0;
  std::set<A_Err> codes;  // the distinct codes the plug-in answered

  std::string describe() const {
    return std::to_string(runs) + " runs, " + std::to_string(operation_points + acquire_points) +
           " fault points (" + std::to_string(operation_points) + " operation calls, " +
           std::to_string(acquire_points) + " suite acquires), " + std::to_string(faults_planted) +
           " faults planted, " + std::to_string(codes.size()) + " distinct codes answered";
  }
};

MatrixSize& Totals() {
  static MatrixSize totals;
  return totals;
}

// Prints the whole matrix's size once every test has run.
class MatrixSizeReport : public ::testing::Environment {
 public:
  void TearDown() override {
    std::printf("fault matrix: %s\n", Totals().describe().c_str());
    std::fflush(stdout);
  }
};
const auto* const kReport = ::testing::AddGlobalTestEnvironment(new MatrixSizeReport);

substitute_host::Frame MatrixFrame() { return GradientFrame(7, 5, 12, false); }

bool Refuses(const FaultPath& path, const std::string& suite) {
  return std::any_of(path.begin(), path.end(), [&](const PlantedFault& fault) {
    return fault.at.IsAcquire() && fault.at.suite == suite;
  });
}

// How many calls of `op` gave a handle: their log shows "-> <kind> <serial>".
std::size_t HandlesGiven(const substitute_host::CallLog& log, const char* op,
                         const std::string& kind) {
  std::size_t given = 0;
  for (const std::string& args : log.ArgsOf(op))
    given += args.find("-> " + kind + " ") != std::string::npos;
  return given;
}

// Every pair of faults is tried, one after the other in a call; longer
// paths only lead to points no shorter path reached.
constexpr std::size_t kPairedFaults = 2;

// The points of a run that come after its last planted fault, in call order.
std::vector<FaultPoint> PointsAfterTheLastFault(const substitute_host::CallLog& log,
                                                const FaultPath& path) {
  std::vector<FaultPoint> points = FaultPointsOf(log);
  if (path.empty()) return points;
  const FaultPoint& last = path.back().at;
  const auto at = std::find_if(points.begin(), points.end(), [&](const FaultPoint& point) {
    return !(point < last) && !(last < point);
  });
  if (at == points.end()) ADD_FAILURE() << last.describe() << " was never reached";
  return std::vector<FaultPoint>(at == points.end() ? at : std::next(at), points.end());
}

class FaultMatrixTest : public ::testing::TestWithParam<Scenario> {
 protected:
  void SetUp() override {
    home_ = capture_tests::MakeTemporaryFolder("glimster-faults-");
    desktop_ = home_ / "Desktop";
    test_support::LoadedPluginUnderTest();  // loaded before the probe attaches to it
    probe::Attach();
    redirect_.emplace(test_support::LoadedPluginUnderTest(), desktop_);
  }
  void TearDown() override {
    redirect_.reset();
    std::error_code ignored;
    fs::remove_all(home_, ignored);
  }

  // Runs the scenario's call once in a fresh host, with the plug-in started
  // in it unless the entry itself is under test.
  RunRecord RunOnce(const RunPlan& plan) {
    const Scenario& scenario = GetParam();
    fs::remove_all(desktop_);
    if (!scenario.desktop_missing) fs::create_directory(desktop_);
    RunRecord record;
    Host host;
    if (scenario.entry != EntryPoint::kEntry && Start(host) != A_Err_NONE) {
      ADD_FAILURE() << "the plug-in did not start";
      return record;
    }
    if (scenario.composition_active) {
      host.project().SetActive(
          &host.project().AddComposition(u"Matrix", MatrixFrame(), A_Time{12, 24}));
    }
    host.log().clear();
    Plant(plan.path, host.faults());
    if (plan.releases_fail) host.faults().FailReleases(kReleaseFailure);

    ::testing::internal::CaptureStdout();  // what a capture prints
    switch (scenario.entry) {
      case EntryPoint::kEntry:
        record.result = Start(host);
        break;
      case EntryPoint::kUpdateMenu:
        record.result = UpdateMenus(host);
        break;
      case EntryPoint::kCommand:
        record.result = TakeGlimster(host);
        break;
    }
    record.output = ::testing::internal::GetCapturedStdout();
    record.log = host.log();
    record.outstanding = host.outstanding();
    record.problems = host.problems();
    record.desktop = FolderEntries(desktop_);
    return record;
  }

  // Holds one run to every rule.
  void Check(const RunPlan& plan, const RunRecord& run) {
    SCOPED_TRACE(plan.describe());
    const EntryPoint entry = GetParam().entry;
    EXPECT_THAT(run.problems, ::testing::IsEmpty());  // misuse, exceptions escaping
    EXPECT_EQ(run.result, ExpectedCode(entry, plan.path));

    // Suites: each acquired at most once, every one the host gave released
    // once, in catalogue order; none it refused.
    const std::vector<std::string> asked = run.log.ArgsOf(op::kAcquireSuite);
    EXPECT_EQ(std::set<std::string>(asked.begin(), asked.end()).size(), asked.size());
    std::vector<std::string> held;
    for (const std::string& suite : asked) {
      if (!Refuses(plan.path, suite)) held.push_back(suite);
    }
    const auto release_order = InReleaseOrder(held);
    ASSERT_TRUE(release_order) << ::testing::PrintToString(held);
    EXPECT_EQ(run.log.ArgsOf(op::kReleaseSuite), *release_order);

    // Handles: each given back once; only a give-back the host did not carry
    // out leaves one with the host.
    EXPECT_EQ(run.log.count(op::kDispose), HandlesGiven(run.log, op::kNewFromItem, "options"));
    EXPECT_EQ(run.log.count(op::kCheckinFrame),
              HandlesGiven(run.log, op::kRenderAndCheckoutFrame, "receipt"));
    EXPECT_EQ(run.log.count(op::kFreeMemHandle), HandlesGiven(run.log, op::kGetItemName, "mem"));
    substitute_host::Outstanding expected = KeptByTheHost(plan.path);
    expected.suites = plan.releases_fail ? held.size() : 0;
    EXPECT_EQ(run.outstanding.describe(), expected.describe());

    // A capture that printed its failure, or was given no frame, shows one
    // report, unless the host refused the report's suite.
    if (entry == EntryPoint::kCommand) {
      const bool report_due =
          (!run.output.empty() || FrameWithheld(entry, plan.path)) &&
          !Refuses(plan.path, substitute_host::SuiteArgs("AEGP Utility Suite", 7));
      EXPECT_EQ(run.log.count(op::kReportInfo), report_due ? 1u : 0u) << run.output;
    }
    if (GetParam().desktop_missing && !run.output.empty()) {
      EXPECT_EQ(run.output, "error 79: failed to open file for writing\n");
    }

    // The desktop: nothing, or the one whole file.
    EXPECT_EQ(FolderEntries(home_), GetParam().desktop_missing
                                        ? std::vector<std::string>{}
                                        : std::vector<std::string>{"Desktop"});
    if (entry != EntryPoint::kCommand || run.desktop.empty()) {
      EXPECT_THAT(run.desktop, ::testing::IsEmpty());
      return;
    }
    ASSERT_EQ(run.desktop.size(), 1u) << ::testing::PrintToString(run.desktop);
    const std::string& file = run.desktop.front();
    const bool named = IsCaptureFileName(file, kCompositionName) || IsCaptureFileName(file, "");
    EXPECT_TRUE(named) << file;
    const auto decoded = DecodePng(desktop_ / capture_tests::PathOf(file));
    ASSERT_TRUE(decoded) << file << " is no complete PNG";
    EXPECT_TRUE(decoded->pixels == ExpectedImage(MatrixFrame()).pixels) << file;
  }

  fs::path home_;
  fs::path desktop_;
  std::optional<substitute_host::platform::DesktopRedirect> redirect_;
};

TEST_P(FaultMatrixTest, EveryHostFaultGivesThePrescribedCodeAndLeavesNothingBehind) {
  MatrixSize size;
  std::set<FaultPoint> covered;
  std::deque<FaultPath> pending{FaultPath{}};
  A_Err next_code = kFirstFaultCode;
  while (!pending.empty()) {
    const RunPlan plan{pending.front()};
    pending.pop_front();
    const RunRecord run = RunOnce(plan);
    Check(plan, run);
    ++size.runs;
    size.faults_planted += plan.path.size();
    size.codes.insert(run.result);
    for (const FaultPoint& point : PointsAfterTheLastFault(run.log, plan.path)) {
      const bool is_new = covered.insert(point).second;
      if (is_new) (point.IsAcquire() ? size.acquire_points : size.operation_points) += 1;
      if (!is_new && plan.path.size() >= kPairedFaults) continue;
      for (const PlantedFault& fault : FaultsAt(point, next_code++)) {
        FaultPath longer = plan.path;
        longer.push_back(fault);
        pending.push_back(std::move(longer));
      }
    }
    if (HasFatalFailure()) return;
  }
  ASSERT_GT(size.operation_points, 0u);
  ASSERT_GT(size.acquire_points, 0u);

  // A host whose every release fails: each suite is still offered back once.
  const RunPlan releases_fail{FaultPath{}, true};
  Check(releases_fail, RunOnce(releases_fail));
  ++size.runs;

  Totals().runs += size.runs;
  Totals().operation_points += size.operation_points;
  Totals().acquire_points += size.acquire_points;
  Totals().faults_planted += size.faults_planted;
  Totals().codes.insert(size.codes.begin(), size.codes.end());
  RecordProperty("matrix", size.describe());
  std::printf("%s: %s\n", GetParam().name, size.describe().c_str());
}

INSTANTIATE_TEST_SUITE_P(
    EachCallIntoThePlugin, FaultMatrixTest,
    ::testing::Values(Scenario{"Entry", EntryPoint::kEntry, false},
                      Scenario{"UpdateMenuWithACompositionActive", EntryPoint::kUpdateMenu, true},
                      Scenario{"UpdateMenuWithNothingActive", EntryPoint::kUpdateMenu, false},
                      Scenario{"TakeGlimsterWithACompositionActive", EntryPoint::kCommand, true},
                      Scenario{"TakeGlimsterOntoAMissingDesktop", EntryPoint::kCommand, true,
                               true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace glimster::reliability
