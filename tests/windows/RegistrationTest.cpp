// Glimster.aex loaded by the substitute host (LoadLibraryW, EntryPointFunc by
// name) and started as the host starts it: registration, the menu item with
// its 32-bit menu arguments, menu updates, and the host error that a missing
// suite raises inside the library (a C++ exception that must be caught there).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "substitute_host/Host.h"
#include "substitute_host/PluginBinary.h"
#include "tests/windows/WindowsTestSupport.h"

namespace glimster::windows_tests {
namespace {

using substitute_host::CommandState;
using substitute_host::Host;
using substitute_host::PluginBinary;

constexpr char kMenuText[] = "Take Glimster";

// On Windows the menu identifier and the window type are 32-bit.
static_assert(sizeof(AEGP_MenuID) == 4, "AEGP_MenuID is 32-bit on Windows");
static_assert(sizeof(AEGP_WindowType) == 4, "AEGP_WindowType is 32-bit on Windows");

TEST(Registration, PutsTheCommandLastInTheCompositionMenuWith32BitMenuArguments) {
  const PluginBinary plugin(pluginFile());
  Host host;
  host.menus().append(AEGP_Menu_COMPOSITION, "Composition Settings...");
  host.menus().append(AEGP_Menu_COMPOSITION, "Add to Render Queue");

  ASSERT_EQ(host.runEntry(plugin), A_Err_NONE);

  const auto& items = host.menus().items(AEGP_Menu_COMPOSITION);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items.back().text, kMenuText);
  const std::vector<std::string> commands = host.log().argsOf("AEGP_GetUniqueCommand");
  ASSERT_EQ(commands.size(), 1u);
  // The host received menu 4 and position -1 as 32-bit values.
  EXPECT_EQ(host.log().argsOf("AEGP_InsertMenuCommand"),
            std::vector<std::string>{std::to_string(items.back().command) +
                                     ", \"Take Glimster\", menu 4, after -1"});
  EXPECT_EQ(commands.front(), "-> " + std::to_string(items.back().command));
  EXPECT_TRUE(host.reports().empty());
  EXPECT_TRUE(host.problems().empty()) << host.problems().front();
  EXPECT_FALSE(host.entryWroteGlobalRefcon());
}

TEST(Registration, RegistersItsFourHooksForEveryCommandAheadOfTheHost) {
  const PluginBinary plugin(pluginFile());
  Host host;
  ASSERT_EQ(host.runEntry(plugin), A_Err_NONE);

  const substitute_host::Hooks& hooks = host.hooks();
  ASSERT_EQ(hooks.command.size(), 1u);
  EXPECT_EQ(hooks.command[0].plugin, host.pluginId());
  EXPECT_EQ(hooks.command[0].priority, AEGP_HP_BeforeAE);
  EXPECT_EQ(hooks.command[0].command, 0);
  EXPECT_EQ(hooks.command[0].refcon, nullptr);
  ASSERT_EQ(hooks.death.size(), 1u);
  EXPECT_EQ(hooks.death[0].refcon, nullptr);
  ASSERT_EQ(hooks.updateMenu.size(), 1u);
  EXPECT_EQ(hooks.updateMenu[0].refcon, nullptr);
  ASSERT_EQ(hooks.idle.size(), 1u);
  EXPECT_EQ(hooks.idle[0].refcon, nullptr);
  EXPECT_EQ(
      host.log().ops(),
      (std::vector<std::string>{
          "EntryPointFunc", "AcquireSuite", "AEGP_GetUniqueCommand", "AEGP_InsertMenuCommand",
          "AcquireSuite", "AEGP_RegisterCommandHook", "AEGP_RegisterDeathHook",
          "AEGP_RegisterUpdateMenuHook", "AEGP_RegisterIdleHook", "ReleaseSuite", "ReleaseSuite"}));
  EXPECT_EQ(host.log().argsOf("ReleaseSuite"),
            (std::vector<std::string>{"\"AEGP Register Suite\" 6", "\"AEGP Command Suite\" 1"}));
  EXPECT_TRUE(host.outstanding().none()) << host.outstanding().describe();

  A_long max_sleep = 1234;
  EXPECT_EQ(host.idle(max_sleep), A_Err_NONE);
  EXPECT_EQ(max_sleep, 1234);
  EXPECT_EQ(host.quit(), A_Err_NONE);
}

TEST(Registration, RefusedCommandHookKeepsTheMenuItemAndReportsOnce) {
  const PluginBinary plugin(pluginFile());
  Host host;
  host.faults().failCall("AEGP_RegisterCommandHook", substitute_host::CallFault{7});

  EXPECT_EQ(host.runEntry(plugin), 7);

  EXPECT_NE(host.menus().find(AEGP_Menu_COMPOSITION, kMenuText), nullptr);
  EXPECT_TRUE(host.hooks().death.empty());
  EXPECT_TRUE(host.hooks().updateMenu.empty());
  EXPECT_TRUE(host.hooks().idle.empty());
  EXPECT_EQ(host.reports(), std::vector<std::string>{"Error enabling Glimster."});
  EXPECT_TRUE(host.outstanding().none()) << host.outstanding().describe();
}

TEST(Registration, NullBasicSuiteGives516WithoutReport) {
  const PluginBinary plugin(pluginFile());
  Host host;
  substitute_host::EntryOptions options;
  options.nullBasicSuite = true;

  EXPECT_EQ(host.runEntry(plugin, options), A_Err_MISSING_SUITE);

  EXPECT_TRUE(host.menus().items(AEGP_Menu_COMPOSITION).empty());
  EXPECT_TRUE(host.hooks().command.empty());
  EXPECT_TRUE(host.reports().empty());
  EXPECT_TRUE(host.problems().empty()) << host.problems().front();
}

TEST(Registration, MissingSuiteGives516AndReleasesWhatWasAcquired) {
  const PluginBinary plugin(pluginFile());
  Host host;
  host.faults().refuseSuite("AEGP Register Suite", 6, substitute_host::SuiteRefusal{1});

  EXPECT_EQ(host.runEntry(plugin), A_Err_MISSING_SUITE);

  EXPECT_EQ(host.log().argsOf("ReleaseSuite"),
            std::vector<std::string>{"\"AEGP Command Suite\" 1"});
  EXPECT_TRUE(host.hooks().command.empty());
  EXPECT_TRUE(host.reports().empty());
  EXPECT_TRUE(host.outstanding().none()) << host.outstanding().describe();
}

TEST(MenuUpdate, EnablesTheCommandForACompositionAndDisablesItForNothing) {
  const PluginBinary plugin(pluginFile());
  Host host;
  substitute_host::Item& comp =
      host.project().addComposition(u"Comp 1", gradientFrame(4, 4, 0), A_Time{0, 1});
  substitute_host::Item& footage = host.project().addFootage(u"clip.mov", 4, 4);
  ASSERT_EQ(host.runEntry(plugin), A_Err_NONE);
  auto state = [&] { return host.menus().find(AEGP_Menu_COMPOSITION, kMenuText)->state; };

  // The window type is a 32-bit argument here; the hook does not look at it.
  host.project().setActive(&comp);
  EXPECT_EQ(host.updateMenus(0x7FFFFFFF), A_Err_NONE);
  EXPECT_EQ(state(), CommandState::Enabled);

  host.project().setActive(nullptr);
  EXPECT_EQ(host.updateMenus(4), A_Err_NONE);
  EXPECT_EQ(state(), CommandState::Disabled);

  // Footage changes nothing.
  host.project().setActive(&footage);
  host.log().clear();
  EXPECT_EQ(host.updateMenus(1), A_Err_NONE);
  EXPECT_EQ(state(), CommandState::Disabled);
  EXPECT_EQ(host.log().count("AEGP_EnableCommand") + host.log().count("AEGP_DisableCommand"), 0u);
  EXPECT_TRUE(host.outstanding().none()) << host.outstanding().describe();
  EXPECT_TRUE(host.problems().empty()) << host.problems().front();
}

}  // namespace
}  // namespace glimster::windows_tests
