// EntryPointFunc: the menu item, the four hooks, and what a refusing host sees.
#include "support/HostFixture.h"

namespace glimster::integration {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using EntryPointTest = HostFixture;

constexpr A_Err kRefusal = 0x7A;

TEST_F(EntryPointTest, StartPutsTakeGlimsterLastInCompositionMenuAndRegistersEveryHook) {
  const AEGP_Command other = host.menus().append(AEGP_Menu_COMPOSITION, "Composition Settings...");

  ASSERT_EQ(runEntry(), A_Err_NONE);

  const auto& menu = host.menus().items(AEGP_Menu_COMPOSITION);
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_EQ(menu[0].command, other);
  EXPECT_EQ(menu[1].text, kCommandText);
  const AEGP_Command command = menu[1].command;
  EXPECT_THAT(host.log().argsOf(op::GetUniqueCommand),
              ElementsAre("-> " + std::to_string(command)));
  EXPECT_THAT(host.log().argsOf(op::InsertMenuCommand),
              ElementsAre(std::to_string(command) + ", \"Take Glimster\", menu 4, after -1"));
  EXPECT_EQ(menu[1].state, CommandState::NeverSet);

  EXPECT_THAT(suiteOperations(),
              ElementsAre(op::GetUniqueCommand, op::InsertMenuCommand, op::RegisterCommandHook,
                          op::RegisterDeathHook, op::RegisterUpdateMenuHook, op::RegisterIdleHook));
  const substitute_host::Hooks& hooks = host.hooks();
  ASSERT_EQ(hooks.command.size(), 1u);
  EXPECT_EQ(hooks.command[0].plugin, host.pluginId());
  EXPECT_EQ(hooks.command[0].priority, AEGP_HP_BeforeAE);
  EXPECT_EQ(hooks.command[0].command, 0);
  EXPECT_EQ(hooks.command[0].refcon, nullptr);
  ASSERT_EQ(hooks.death.size(), 1u);
  ASSERT_EQ(hooks.updateMenu.size(), 1u);
  ASSERT_EQ(hooks.idle.size(), 1u);
  for (AEGP_PluginID plugin :
       {hooks.death[0].plugin, hooks.updateMenu[0].plugin, hooks.idle[0].plugin}) {
    EXPECT_EQ(plugin, host.pluginId());
  }
  EXPECT_EQ(hooks.death[0].refcon, nullptr);
  EXPECT_EQ(hooks.updateMenu[0].refcon, nullptr);
  EXPECT_EQ(hooks.idle[0].refcon, nullptr);

  EXPECT_THAT(host.reports(), IsEmpty());
  EXPECT_THAT(released(), ElementsAre(kRegisterSuite6, kCommandSuite1));
  EXPECT_FALSE(host.entryWroteGlobalRefcon());
  EXPECT_TRUE(host.outstanding().none()) << host.outstanding().describe();
}

TEST_F(EntryPointTest, NullBasicSuiteGives516AndTouchesNothing) {
  substitute_host::EntryOptions options;
  options.nullBasicSuite = true;

  EXPECT_EQ(runEntry(options), A_Err_MISSING_SUITE);

  EXPECT_THAT(host.log().ops(), ElementsAre(op::EntryPointFunc));
  EXPECT_THAT(host.menus().items(AEGP_Menu_COMPOSITION), IsEmpty());
  EXPECT_THAT(host.hooks().command, IsEmpty());
  EXPECT_THAT(host.hooks().death, IsEmpty());
  EXPECT_THAT(host.hooks().updateMenu, IsEmpty());
  EXPECT_THAT(host.hooks().idle, IsEmpty());
  EXPECT_THAT(host.reports(), IsEmpty());
}

TEST_F(EntryPointTest, FailingReportDoesNotReplaceTheRegistrationFailure) {
  host.faults().failCall(op::GetUniqueCommand, CallFault{kRefusal});
  host.faults().failCall(op::ReportInfo, CallFault{kRefusal + 1});

  EXPECT_EQ(runEntry(), kRefusal);

  EXPECT_EQ(host.log().count(op::ReportInfo), 1u);
  EXPECT_THAT(released(), ElementsAre(kCommandSuite1, kUtilitySuite7));
}

// One step of the registration that the host refuses.
struct RefusedStep {
  const char* op;
  Outputs outputs;  // whether the refused step still took effect
  bool menuItemStays;
  std::size_t hooksKept;  // hooks registered before the refusal: command, death, update-menu, idle
  bool registerSuiteAcquired;
};

std::ostream& operator<<(std::ostream& out, const RefusedStep& step) {
  return out << step.op << (step.outputs == Outputs::Written ? " (taking effect)" : "");
}

// The registration steps in the order the entry point takes them.
constexpr const char* kRegistrationSteps[] = {
    op::GetUniqueCommand,  op::InsertMenuCommand,      op::RegisterCommandHook,
    op::RegisterDeathHook, op::RegisterUpdateMenuHook, op::RegisterIdleHook,
};

class RefusedRegistrationTest : public HostFixture,
                                public ::testing::WithParamInterface<RefusedStep> {};

TEST_P(RefusedRegistrationTest, StopsThereReportsOnceAndGivesTheHostsCode) {
  const RefusedStep& step = GetParam();
  host.faults().failCall(step.op, CallFault{kRefusal, step.outputs});

  EXPECT_EQ(runEntry(), kRefusal);

  EXPECT_THAT(host.reports(), ElementsAre(kRegistrationFailedReport));
  EXPECT_THAT(host.log().argsOf(op::ReportInfo),
              ElementsAre("plugin " + std::to_string(host.pluginId()) + ", \"" +
                          kRegistrationFailedReport + "\""));
  EXPECT_EQ(host.menus().find(AEGP_Menu_COMPOSITION, kCommandText) != nullptr, step.menuItemStays);

  const substitute_host::Hooks& hooks = host.hooks();
  EXPECT_EQ(hooks.command.size(), step.hooksKept >= 1 ? 1u : 0u);
  EXPECT_EQ(hooks.death.size(), step.hooksKept >= 2 ? 1u : 0u);
  EXPECT_EQ(hooks.updateMenu.size(), step.hooksKept >= 3 ? 1u : 0u);
  EXPECT_EQ(hooks.idle.size(), 0u);

  bool pastRefusedStep = false;
  for (const char* later : kRegistrationSteps) {
    if (pastRefusedStep) {
      EXPECT_EQ(host.log().count(later), 0u) << later << " was called after the refusal";
    }
    pastRefusedStep = pastRefusedStep || std::string(later) == step.op;
  }

  if (step.registerSuiteAcquired) {
    EXPECT_THAT(released(), ElementsAre(kRegisterSuite6, kCommandSuite1, kUtilitySuite7));
  } else {
    EXPECT_THAT(released(), ElementsAre(kCommandSuite1, kUtilitySuite7));
  }
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, RefusedRegistrationTest,
    ::testing::Values(RefusedStep{op::GetUniqueCommand, Outputs::Cleared, false, 0, false},
                      RefusedStep{op::InsertMenuCommand, Outputs::Cleared, false, 0, false},
                      RefusedStep{op::InsertMenuCommand, Outputs::Written, true, 0, false},
                      RefusedStep{op::RegisterCommandHook, Outputs::Cleared, true, 0, true},
                      RefusedStep{op::RegisterDeathHook, Outputs::Cleared, true, 1, true},
                      RefusedStep{op::RegisterUpdateMenuHook, Outputs::Cleared, true, 2, true},
                      RefusedStep{op::RegisterIdleHook, Outputs::Cleared, true, 3, true}),
    [](const ::testing::TestParamInfo<RefusedStep>& info) {
      return std::string(info.param.op).substr(5) +
             (info.param.outputs == Outputs::Written ? "TakingEffect" : "");
    });

}  // namespace
}  // namespace glimster::integration
