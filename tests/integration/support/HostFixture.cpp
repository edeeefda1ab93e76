#include "support/HostFixture.h"

#include "tests/support/PluginUnderTest.h"

#include <algorithm>

namespace glimster::substitute_host {

void PrintTo(CommandState state, std::ostream* out) {
  switch (state) {
    case CommandState::NeverSet:
      *out << "NeverSet";
      return;
    case CommandState::Enabled:
      *out << "Enabled";
      return;
    case CommandState::Disabled:
      *out << "Disabled";
      return;
  }
}

void PrintTo(ItemKind kind, std::ostream* out) {
  switch (kind) {
    case ItemKind::Folder:
      *out << "Folder";
      return;
    case ItemKind::Composition:
      *out << "Composition";
      return;
    case ItemKind::Footage:
      *out << "Footage";
      return;
  }
}

}  // namespace glimster::substitute_host

namespace glimster::integration {

const substitute_host::PluginBinary& pluginUnderTest() {
  static const substitute_host::PluginBinary kPlugin(test_support::PluginUnderTest());
  return kPlugin;
}

void HostFixture::TearDown() {
  EXPECT_THAT(host.problems(), ::testing::IsEmpty());
  EXPECT_THAT(host.failures(), ::testing::IsEmpty());  // the substitute host's own
}

A_Err HostFixture::runEntry(const substitute_host::EntryOptions& options) {
  return host.runEntry(pluginUnderTest(), options);
}

void HostFixture::startPlugin() {
  ASSERT_EQ(runEntry(), A_Err_NONE);
  host.log().clear();
}

substitute_host::Item& HostFixture::activateComposition() {
  substitute_host::Item& comp =
      host.project().addComposition(u"Comp 1", substitute_host::Frame(4, 2, 4 * 4), A_Time{12, 24});
  host.project().setActive(&comp);
  return comp;
}

AEGP_Command HostFixture::captureCommand() const {
  const substitute_host::MenuItem* item = host.menus().find(AEGP_Menu_COMPOSITION, kCommandText);
  EXPECT_NE(item, nullptr) << "no \"" << kCommandText << "\" in the Composition menu";
  return item != nullptr ? item->command : 0;
}

CommandState HostFixture::captureCommandState() const {
  const substitute_host::MenuItem* item = host.menus().find(AEGP_Menu_COMPOSITION, kCommandText);
  EXPECT_NE(item, nullptr) << "no \"" << kCommandText << "\" in the Composition menu";
  return item != nullptr ? item->state : CommandState::NeverSet;
}

std::vector<std::string> HostFixture::suiteOperations() const {
  std::vector<std::string> operations = host.log().ops();
  const auto notSuiteOperation = [](const std::string& name) {
    return name == op::AcquireSuite || name == op::ReleaseSuite || name == op::EntryPointFunc ||
           name == op::CommandHook || name == op::UpdateMenuHook || name == op::IdleHook ||
           name == op::DeathHook;
  };
  operations.erase(std::remove_if(operations.begin(), operations.end(), notSuiteOperation),
                   operations.end());
  return operations;
}

}  // namespace glimster::integration
