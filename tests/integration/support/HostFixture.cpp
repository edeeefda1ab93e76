#include "support/HostFixture.h"

#include "tests/support/PluginUnderTest.h"

#include <algorithm>

namespace glimster::substitute_host {

void PrintTo(CommandState state, std::ostream* out) {
  static const char* const kNames[] = {"NeverSet", "Enabled", "Disabled"};  // in declaration order
  *out << kNames[static_cast<int>(state)];
}

}  // namespace glimster::substitute_host

namespace glimster::integration {

void HostFixture::TearDown() {
  EXPECT_THAT(host_.problems(), ::testing::IsEmpty());
  EXPECT_THAT(host_.failures(), ::testing::IsEmpty());  // the substitute host's own
}

A_Err HostFixture::RunEntry(const substitute_host::EntryOptions& options) {
  return host_.RunEntry(test_support::LoadedPluginUnderTest(), options);
}

void HostFixture::StartPlugin() {
  ASSERT_EQ(RunEntry(), A_Err_NONE);
  host_.log().clear();
}

substitute_host::Item& HostFixture::ActivateComposition() {
  substitute_host::Item& comp = host_.project().AddComposition(
      u"Comp 1", substitute_host::Frame(4, 2, 4 * 4), A_Time{12, 24});
  host_.project().SetActive(&comp);
  return comp;
}

AEGP_Command HostFixture::CaptureCommand() const {
  const substitute_host::MenuItem* item = host_.menus().find(AEGP_Menu_COMPOSITION, kCommandText);
  EXPECT_NE(item, nullptr) << "no \"" << kCommandText << "\" in the Composition menu";
  return item != nullptr ? item->command : 0;
}

CommandState HostFixture::CaptureCommandState() const {
  const substitute_host::MenuItem* item = host_.menus().find(AEGP_Menu_COMPOSITION, kCommandText);
  EXPECT_NE(item, nullptr) << "no \"" << kCommandText << "\" in the Composition menu";
  return item != nullptr ? item->state : CommandState::kNeverSet;
}

std::vector<std::string> HostFixture::SuiteOperations() const {
  std::vector<std::string> operations = host_.log().ops();
  const auto not_suite_operation = [](const std::string& name) {
    return name == op::kAcquireSuite || name == op::kReleaseSuite || name == op::kEntryPointFunc ||
           name == op::kCommandHook || name == op::kUpdateMenuHook || name == op::kIdleHook ||
           name == op::kDeathHook;
  };
  operations.erase(std::remove_if(operations.begin(), operations.end(), not_suite_operation),
                   operations.end());
  return operations;
}

}  // namespace glimster::integration
