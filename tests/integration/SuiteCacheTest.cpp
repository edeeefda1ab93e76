// How the plug-in acquires and releases the host's suites in each call: each
// suite once, released in catalogue order, 516 for a suite it cannot have.
#include "support/HostFixture.h"

#include <tuple>

namespace glimster::integration {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr A_Err kHostRefusal = 0x2B;
constexpr SPErr kReleaseFailure = 0x5E;

using SuiteCacheTest = HostFixture;

TEST_F(SuiteCacheTest, EachCallAcquiresEverySuiteOnceAndReleasesItOnceInCatalogueOrder) {
  ASSERT_EQ(RunEntry(), A_Err_NONE);  // uses the command suite twice, the register suite four times
  EXPECT_THAT(acquired(), ElementsAre(kCommandSuite1, kRegisterSuite6));
  EXPECT_THAT(released(), ElementsAre(kRegisterSuite6, kCommandSuite1));

  ActivateComposition();
  for (int call = 0; call < 2; ++call) {  // every call starts afresh
    host_.log().clear();
    ASSERT_EQ(host_.UpdateMenus(), A_Err_NONE);  // uses the item suite twice
    EXPECT_THAT(acquired(), ElementsAre(kItemSuite10, kCommandSuite1));
    EXPECT_THAT(released(), ElementsAre(kItemSuite10, kCommandSuite1));
  }
  EXPECT_EQ(host_.outstanding().suites, 0u);
}

TEST_F(SuiteCacheTest, ReleasesThatAlwaysFailStillOfferEverySuiteOnce) {
  host_.faults().FailReleases(kReleaseFailure);
  host_.faults().FailCall(op::kRegisterIdleHook, CallFault{kHostRefusal});

  EXPECT_EQ(RunEntry(), kHostRefusal);
  EXPECT_THAT(released(), ElementsAre(kRegisterSuite6, kCommandSuite1, kUtilitySuite7));

  host_.log().clear();
  ActivateComposition();
  EXPECT_EQ(host_.UpdateMenus(), A_Err_NONE);
  EXPECT_THAT(released(), ElementsAre(kItemSuite10, kCommandSuite1));
}

// The idle and death hooks; another plug-in's command is CaptureTest's
// OtherCommandsAreLeftAloneWithoutAskingTheHostForAnything.
TEST_F(SuiteCacheTest, CallsThatNeedNoSuiteAcquireNothing) {
  StartPlugin();
  ActivateComposition();
  A_long max_sleep = 1234;

  EXPECT_EQ(host_.idle(max_sleep), A_Err_NONE);
  EXPECT_EQ(host_.quit(), A_Err_NONE);

  EXPECT_EQ(max_sleep, 1234);
  EXPECT_THAT(host_.log().ops(), ElementsAre(op::kIdleHook, op::kDeathHook));
}

// A call of the plug-in during which the host lacks one suite.
enum class PluginCall { kEntry, kUpdateMenus };

struct MissingSuiteCase {
  const char* scenario;
  PluginCall call;
  const char* suite_name;
  std::int32_t suite_version;
  const char* failing_step;  // a registration step that fails first, or null
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
    {"EntryWithoutCommandSuite", PluginCall::kEntry, "AEGP Command Suite", 1, nullptr, {}},
    {"EntryWithoutRegisterSuite",
     PluginCall::kEntry,
     "AEGP Register Suite",
     6,
     nullptr,
     {kCommandSuite1}},
    {"EntryWithoutUtilitySuiteToReport",
     PluginCall::kEntry,
     "AEGP Utility Suite",
     7,
     op::kRegisterIdleHook,
     {kRegisterSuite6, kCommandSuite1}},
    {"MenuUpdateWithoutItemSuite", PluginCall::kUpdateMenus, "AEGP Item Suite", 10, nullptr, {}},
    {"MenuUpdateWithoutCommandSuite",
     PluginCall::kUpdateMenus,
     "AEGP Command Suite",
     1,
     nullptr,
     {kItemSuite10}},
};

const RefusalMode kRefusalModes[] = {
    {"Refused", {kHostRefusal, Outputs::kCleared}},
    {"RefusedYetGivingTable", {kHostRefusal, Outputs::kWritten}},
    {"AnsweredZeroWithNullTable", {A_Err_NONE, Outputs::kCleared}},
};

class MissingSuiteTest
    : public HostFixture,
      public ::testing::WithParamInterface<std::tuple<MissingSuiteCase, RefusalMode>> {};

TEST_P(MissingSuiteTest, Gives516AndReleasesOnlyTheSuitesAcquiredBefore) {
  const auto& [missing, mode] = GetParam();
  if (missing.call == PluginCall::kUpdateMenus) {
    StartPlugin();
  }
  host_.faults().RefuseSuite(missing.suite_name, missing.suite_version, mode.refusal);
  if (missing.failing_step != nullptr) {
    host_.faults().FailCall(missing.failing_step, CallFault{kHostRefusal});
  }

  const A_Err result = missing.call == PluginCall::kEntry ? RunEntry() : host_.UpdateMenus();

  EXPECT_EQ(result, A_Err_MISSING_SUITE);
  EXPECT_THAT(released(), ElementsAreArray(missing.released));
  EXPECT_EQ(host_.log().count(op::kReportInfo), 0u);
  EXPECT_THAT(host_.reports(), IsEmpty());
  EXPECT_EQ(host_.outstanding().suites, 0u);
  if (missing.call == PluginCall::kUpdateMenus) {
    EXPECT_EQ(CaptureCommandState(), CommandState::kNeverSet);
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
