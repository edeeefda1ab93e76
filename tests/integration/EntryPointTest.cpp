// EntryPointFunc: the menu item, the four hooks, and what a refusing host sees.
#include "support/HostFixture.h"

namespace glimster::integration {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using EntryPointTest = HostFixture;

constexpr A_Err kRefusal = 0x7A;

TEST_F(EntryPointTest, StartPutsTakeGlimsterLastInCompositionMenuAndRegistersEveryHook) {
  const AEGP_Command other = host_.menus().append(AEGP_Menu_COMPOSITION, "Composition Settings...");

  ASSERT_EQ(RunEntry(), A_Err_NONE);

  const auto& menu = host_.menus().items(AEGP_Menu_COMPOSITION);
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_EQ(menu[0].command, other);
  EXPECT_EQ(menu[1].text, kCommandText);
  const AEGP_Command command = menu[1].command;
  EXPECT_THAT(host_.log().ArgsOf(op::kGetUniqueCommand),
              ElementsAre("-> " + std::to_string(command)));
  EXPECT_THAT(host_.log().ArgsOf(op::kInsertMenuCommand),
              ElementsAre(std::to_string(command) + ", \"Take Glimster\", menu 4, after -1"));
  EXPECT_EQ(menu[1].state, CommandState::kNeverSet);

  EXPECT_THAT(SuiteOperations(), ElementsAre(op::kGetUniqueCommand, op::kInsertMenuCommand,
                                             op::kRegisterCommandHook, op::kRegisterDeathHook,
                                             op::kRegisterUpdateMenuHook, op::kRegisterIdleHook));
  const substitute_host::Hooks& hooks = host_.hooks();
  ASSERT_EQ(hooks.command.size(), 1u);
  EXPECT_EQ(hooks.command[0].plugin, host_.PluginId());
  EXPECT_EQ(hooks.command[0].priority, AEGP_HP_BeforeAE);
  EXPECT_EQ(hooks.command[0].command, 0);
  EXPECT_EQ(hooks.command[0].refcon, nullptr);
  ASSERT_EQ(hooks.death.size(), 1u);
  ASSERT_EQ(hooks.update_menu.size(), 1u);
  ASSERT_EQ(hooks.idle.size(), 1u);
  for (AEGP_PluginID plugin :
       {hooks.death[0].plugin, hooks.update_menu[0].plugin, hooks.idle[0].plugin}) {
    EXPECT_EQ(plugin, host_.PluginId());
  }
  EXPECT_EQ(hooks.death[0].refcon, nullptr);
  EXPECT_EQ(hooks.update_menu[0].refcon, nullptr);
  EXPECT_EQ(hooks.idle[0].refcon, nullptr);

  EXPECT_THAT(host_.reports(), IsEmpty());
  EXPECT_THAT(released(), ElementsAre(kRegisterSuite6, kCommandSuite1));
  EXPECT_FALSE(host_.EntryWroteGlobalRefcon());
  EXPECT_TRUE(host_.outstanding().none()) << host_.outstanding().describe();
}

TEST_F(EntryPointTest, NullBasicSuiteGives516AndTouchesNothing) {
  substitute_host::EntryOptions options;
  options.null_basic_suite = true;

  EXPECT_EQ(RunEntry(options), A_Err_MISSING_SUITE);

  EXPECT_THAT(host_.log().ops(), ElementsAre(op::kEntryPointFunc));
  EXPECT_THAT(host_.menus().items(AEGP_Menu_COMPOSITION), IsEmpty());
  EXPECT_THAT(host_.hooks().command, IsEmpty());
  EXPECT_THAT(host_.hooks().death, IsEmpty());
  EXPECT_THAT(host_.hooks().update_menu, IsEmpty());
  EXPECT_THAT(host_.hooks().idle, IsEmpty());
  EXPECT_THAT(host_.reports(), IsEmpty());
}

// One step of the registration that the host refuses.
struct RefusedStep {
  const char* op;
  Outputs outputs;  // whether the refused step still took effect
  bool menu_item_stays;
  std::size_t hooks_kept;  // hooks registered before the refusal: command, death, update-menu, idle
  bool register_suite_acquired;
  bool report_fails = false;  // the report fails as well: the refusal's code stays the answer
};

std::ostream& operator<<(std::ostream& out, const RefusedStep& step) {
  return out << step.op << (step.outputs == Outputs::kWritten ? " (taking effect)" : "")
             << (step.report_fails ? " (report failing)" : "");
}

// The registration steps in the order the entry point takes them.
constexpr const char* kRegistrationSteps[] = {
    op::kGetUniqueCommand,  op::kInsertMenuCommand,      op::kRegisterCommandHook,
    op::kRegisterDeathHook, op::kRegisterUpdateMenuHook, op::kRegisterIdleHook,
};

class RefusedRegistrationTest : public HostFixture,
                                public ::testing::WithParamInterface<RefusedStep> {};

TEST_P(RefusedRegistrationTest, StopsThereReportsOnceAndGivesTheHostsCode) {
  const RefusedStep& step = GetParam();
  host_.faults().FailCall(step.op, CallFault{kRefusal, step.outputs});
  if (step.report_fails) host_.faults().FailCall(op::kReportInfo, CallFault{kRefusal + 1});

  EXPECT_EQ(RunEntry(), kRefusal);

  const std::vector<std::string> shown = {kRegistrationFailedReport};
  EXPECT_EQ(host_.reports(), step.report_fails ? std::vector<std::string>{} : shown);
  EXPECT_THAT(host_.log().ArgsOf(op::kReportInfo),
              ElementsAre("plugin " + std::to_string(host_.PluginId()) + ", \"" +
                          kRegistrationFailedReport + "\""));
  EXPECT_EQ(host_.menus().find(AEGP_Menu_COMPOSITION, kCommandText) != nullptr,
            step.menu_item_stays);

  const substitute_host::Hooks& hooks = host_.hooks();
  EXPECT_EQ(hooks.command.size(), step.hooks_kept >= 1 ? 1u : 0u);
  EXPECT_EQ(hooks.death.size(), step.hooks_kept >= 2 ? 1u : 0u);
  EXPECT_EQ(hooks.update_menu.size(), step.hooks_kept >= 3 ? 1u : 0u);
  EXPECT_EQ(hooks.idle.size(), 0u);

  bool past_refused_step = false;
  for (const char* later : kRegistrationSteps) {
    if (past_refused_step) {
      EXPECT_EQ(host_.log().count(later), 0u) << later << " was called after the refusal";
    }
    past_refused_step = past_refused_step || std::string(later) == step.op;
  }

  if (step.register_suite_acquired) {
    EXPECT_THAT(released(), ElementsAre(kRegisterSuite6, kCommandSuite1, kUtilitySuite7));
  } else {
    EXPECT_THAT(released(), ElementsAre(kCommandSuite1, kUtilitySuite7));
  }
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, RefusedRegistrationTest,
    ::testing::Values(RefusedStep{op::kGetUniqueCommand, Outputs::kCleared, false, 0, false},
                      RefusedStep{op::kGetUniqueCommand, Outputs::kCleared, false, 0, false, true},
                      RefusedStep{op::kInsertMenuCommand, Outputs::kCleared, false, 0, false},
                      RefusedStep{op::kInsertMenuCommand, Outputs::kWritten, true, 0, false},
                      RefusedStep{op::kRegisterCommandHook, Outputs::kCleared, true, 0, true},
                      RefusedStep{op::kRegisterDeathHook, Outputs::kCleared, true, 1, true},
                      RefusedStep{op::kRegisterUpdateMenuHook, Outputs::kCleared, true, 2, true},
                      RefusedStep{op::kRegisterIdleHook, Outputs::kCleared, true, 3, true}),
    [](const ::testing::TestParamInfo<RefusedStep>& info) {
      return std::string(info.param.op).substr(5) +
             (info.param.outputs == Outputs::kWritten ? "TakingEffect" : "") +
             (info.param.report_fails ? "WithFailingReport" : "");
    });

}  // namespace
}  // namespace glimster::integration
