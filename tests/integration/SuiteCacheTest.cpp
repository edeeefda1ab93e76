// How the plug-in acquires and releases the host's suites in each call: each
// suite once, released in catalogue order, 516 for a suite it cannot have.
#include "support/HostFixture.h"

#include <tuple>

namespace glimster::integration {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr A_Err kRefusal = 0x2B;
constexpr SPErr kReleaseFailure = 0x5E;

using SuiteCacheTest = HostFixture;

TEST_F(SuiteCacheTest, EachCallAcquiresEverySuiteOnceAndReleasesItOnceInCatalogueOrder) {
  ASSERT_EQ(runEntry(), A_Err_NONE);  // uses the command suite twice, the register suite four times
  EXPECT_THAT(acquired(), ElementsAre(kCommandSuite1, kRegisterSuite6));
  EXPECT_THAT(released(), ElementsAre(kRegisterSuite6, kCommandSuite1));

  activateComposition();
  for (int call = 0; call < 2; ++call) {  // every call starts afresh
    host.log().clear();
    ASSERT_EQ(host.updateMenus(), A_Err_NONE);  // uses the item suite twice
    EXPECT_THAT(acquired(), ElementsAre(kItemSuite10, kCommandSuite1));
    EXPECT_THAT(released(), ElementsAre(kItemSuite10, kCommandSuite1));
  }
  EXPECT_EQ(host.outstanding().suites, 0u);
}

TEST_F(SuiteCacheTest, ReleasesThatAlwaysFailStillOfferEverySuiteOnce) {
  host.faults().failReleases(kReleaseFailure);
  host.faults().failCall(op::RegisterIdleHook, CallFault{kRefusal});

  EXPECT_EQ(runEntry(), kRefusal);
  EXPECT_THAT(released(), ElementsAre(kRegisterSuite6, kCommandSuite1, kUtilitySuite7));

  host.log().clear();
  activateComposition();
  EXPECT_EQ(host.updateMenus(), A_Err_NONE);
  EXPECT_THAT(released(), ElementsAre(kItemSuite10, kCommandSuite1));
}

TEST_F(SuiteCacheTest, CallsThatNeedNoSuiteAcquireNothing) {
  startPlugin();
  activateComposition();
  const AEGP_Command other = host.menus().append(AEGP_Menu_COMPOSITION, "Composition Settings...");
  substitute_host::CommandOptions options;
  options.handledFlag = 0xA5;  // neither true nor false: any write shows

  const substitute_host::CommandOutcome outcome = host.issueCommand(other, options);
  A_long maxSleep = 1234;
  const A_Err idle = host.idle(maxSleep);
  const A_Err death = host.quit();

  EXPECT_EQ(outcome.result, A_Err_NONE);
  EXPECT_EQ(outcome.handled, 0xA5);
  EXPECT_EQ(idle, A_Err_NONE);
  EXPECT_EQ(maxSleep, 1234);
  EXPECT_EQ(death, A_Err_NONE);
  EXPECT_THAT(host.log().ops(), ElementsAre(op::CommandHook, op::IdleHook, op::DeathHook));
}

// A call of the plug-in during which the host lacks one suite.
enum class PluginCall { Entry, UpdateMenus };

struct MissingSuiteCase {
  const char* scenario;
  PluginCall call;
  const char* suiteName;
  std::int32_t suiteVersion;
  const char* failingStep;  // a registration step that fails first, or null
  std::vector<std::string> released;
};

// How the host answers the acquire of the suite it lacks.
struct RefusalMode {
  const char* name;
  substitute_host::SuiteRefusal refusal;
};

void PrintTo(const MissingSuiteCase& missing, std::ostream* out) { *out << missing.scenario; }
void PrintTo(const RefusalMode& mode, std::ostream* out) { *out << mode.name; }

const MissingSuiteCase kMissingSuiteCases[] = {
    {"EntryWithoutCommandSuite", PluginCall::Entry, "AEGP Command Suite", 1, nullptr, {}},
    {"EntryWithoutRegisterSuite",
     PluginCall::Entry,
     "AEGP Register Suite",
     6,
     nullptr,
     {kCommandSuite1}},
    {"EntryWithoutUtilitySuiteToReport",
     PluginCall::Entry,
     "AEGP Utility Suite",
     7,
     op::RegisterIdleHook,
     {kRegisterSuite6, kCommandSuite1}},
    {"MenuUpdateWithoutItemSuite", PluginCall::UpdateMenus, "AEGP Item Suite", 10, nullptr, {}},
    {"MenuUpdateWithoutCommandSuite",
     PluginCall::UpdateMenus,
     "AEGP Command Suite",
     1,
     nullptr,
     {kItemSuite10}},
};

const RefusalMode kRefusalModes[] = {
    {"Refused", {kRefusal, Outputs::Cleared}},
    {"RefusedYetGivingTable", {kRefusal, Outputs::Written}},
    {"AnsweredZeroWithNullTable", {A_Err_NONE, Outputs::Cleared}},
};

class MissingSuiteTest
    : public HostFixture,
      public ::testing::WithParamInterface<std::tuple<MissingSuiteCase, RefusalMode>> {};

TEST_P(MissingSuiteTest, Gives516AndReleasesOnlyTheSuitesAcquiredBefore) {
  const auto& [missing, mode] = GetParam();
  if (missing.call == PluginCall::UpdateMenus) {
    startPlugin();
  }
  host.faults().refuseSuite(missing.suiteName, missing.suiteVersion, mode.refusal);
  if (missing.failingStep != nullptr) {
    host.faults().failCall(missing.failingStep, CallFault{kRefusal});
  }

  const A_Err result = missing.call == PluginCall::Entry ? runEntry() : host.updateMenus();

  EXPECT_EQ(result, A_Err_MISSING_SUITE);
  EXPECT_THAT(released(), ElementsAreArray(missing.released));
  EXPECT_EQ(host.log().count(op::ReportInfo), 0u);
  EXPECT_THAT(host.reports(), IsEmpty());
  EXPECT_EQ(host.outstanding().suites, 0u);
  if (missing.call == PluginCall::UpdateMenus) {
    EXPECT_EQ(captureCommandState(), CommandState::NeverSet);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EachSuite, MissingSuiteTest,
    ::testing::Combine(::testing::ValuesIn(kMissingSuiteCases), ::testing::ValuesIn(kRefusalModes)),
    [](const ::testing::TestParamInfo<std::tuple<MissingSuiteCase, RefusalMode>>& info) {
      return std::string(std::get<0>(info.param).scenario) + "_" + std::get<1>(info.param).name;
    });

}  // namespace
}  // namespace glimster::integration
