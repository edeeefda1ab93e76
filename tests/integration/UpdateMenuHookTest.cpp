// UpdateMenuHook: the command is enabled while a composition is active,
// disabled while nothing is, and left alone otherwise.
#include "support/HostFixture.h"

namespace glimster::integration {
namespace {

using ::testing::ElementsAre;

constexpr A_Err kQueryFailure = 0x31;
constexpr A_Err kDisableFailure = 0x32;

class UpdateMenuHookTest : public HostFixture {
 protected:
  void SetUp() override { startPlugin(); }

  std::string command() const { return std::to_string(captureCommand()); }
};

TEST_F(UpdateMenuHookTest, CompositionActiveEnablesTheCommand) {
  activateComposition();

  EXPECT_EQ(host.updateMenus(), A_Err_NONE);

  EXPECT_EQ(captureCommandState(), CommandState::Enabled);
  EXPECT_THAT(host.log().argsOf(op::EnableCommand), ElementsAre(command()));
  EXPECT_EQ(host.log().count(op::DisableCommand), 0u);
  EXPECT_THAT(released(), ElementsAre(kItemSuite10, kCommandSuite1));
}

TEST_F(UpdateMenuHookTest, NothingActiveDisablesTheCommand) {
  EXPECT_EQ(host.updateMenus(), A_Err_NONE);

  EXPECT_EQ(captureCommandState(), CommandState::Disabled);
  EXPECT_THAT(host.log().argsOf(op::DisableCommand), ElementsAre(command()));
  EXPECT_EQ(host.log().count(op::EnableCommand), 0u);
  EXPECT_EQ(host.log().count(op::GetItemType), 0u);
}

TEST_F(UpdateMenuHookTest, NothingActiveAndFailingQueryStillDisablesAndGivesTheQuerysCode) {
  host.faults().failCall(op::GetActiveItem, CallFault{kQueryFailure, Outputs::Cleared});
  host.faults().failCall(op::DisableCommand, CallFault{kDisableFailure, Outputs::Written});

  EXPECT_EQ(host.updateMenus(), kQueryFailure);

  EXPECT_EQ(captureCommandState(), CommandState::Disabled);
  EXPECT_THAT(host.log().argsOf(op::DisableCommand), ElementsAre(command()));
}

TEST_F(UpdateMenuHookTest, NothingActiveAndFailingDisableGivesTheDisablesCode) {
  host.faults().failCall(op::DisableCommand, CallFault{kDisableFailure, Outputs::Cleared});

  EXPECT_EQ(host.updateMenus(), kDisableFailure);
}

class OtherItemActiveTest : public UpdateMenuHookTest,
                            public ::testing::WithParamInterface<substitute_host::ItemKind> {};

TEST_P(OtherItemActiveTest, LeavesTheCommandAsItWas) {
  activateComposition();
  ASSERT_EQ(host.updateMenus(), A_Err_NONE);
  ASSERT_EQ(captureCommandState(), CommandState::Enabled);
  substitute_host::Item& other = GetParam() == substitute_host::ItemKind::Footage
                                     ? host.project().addFootage(u"clip.mov", 1920, 1080)
                                     : host.project().addFolder(u"Solids");
  host.project().setActive(&other);
  host.log().clear();

  EXPECT_EQ(host.updateMenus(), A_Err_NONE);

  EXPECT_EQ(captureCommandState(), CommandState::Enabled);
  EXPECT_EQ(host.log().count(op::EnableCommand), 0u);
  EXPECT_EQ(host.log().count(op::DisableCommand), 0u);
}

INSTANTIATE_TEST_SUITE_P(FootageAndFolder, OtherItemActiveTest,
                         ::testing::Values(substitute_host::ItemKind::Footage,
                                           substitute_host::ItemKind::Folder),
                         [](const ::testing::TestParamInfo<substitute_host::ItemKind>& info) {
                           return ::testing::PrintToString(info.param);
                         });

// A query that fails while a composition is active.
struct FailingQuery {
  const char* op;
  Outputs outputs;  // Written: the query still names the item or its type
};

void PrintTo(const FailingQuery& query, std::ostream* out) {
  *out << query.op
       << (query.outputs == Outputs::Written ? " naming its answer" : " naming nothing");
}

class FailingQueryTest : public UpdateMenuHookTest,
                         public ::testing::WithParamInterface<FailingQuery> {};

TEST_P(FailingQueryTest, NeitherEnablesNorDisablesAndGivesTheQuerysCode) {
  activateComposition();
  host.faults().failCall(GetParam().op, CallFault{kQueryFailure, GetParam().outputs});

  EXPECT_EQ(host.updateMenus(), kQueryFailure);

  EXPECT_EQ(captureCommandState(), CommandState::NeverSet);
  EXPECT_EQ(host.log().count(op::EnableCommand), 0u);
  EXPECT_EQ(host.log().count(op::DisableCommand), 0u);
  EXPECT_THAT(released(), ElementsAre(kItemSuite10));
}

INSTANTIATE_TEST_SUITE_P(WhileCompositionActive, FailingQueryTest,
                         ::testing::Values(FailingQuery{op::GetActiveItem, Outputs::Written},
                                           FailingQuery{op::GetItemType, Outputs::Cleared},
                                           FailingQuery{op::GetItemType, Outputs::Written}),
                         [](const ::testing::TestParamInfo<FailingQuery>& info) {
                           return std::string(info.param.op).substr(5) +
                                  (info.param.outputs == Outputs::Written ? "NamingItsAnswer"
                                                                          : "NamingNothing");
                         });

}  // namespace
}  // namespace glimster::integration
