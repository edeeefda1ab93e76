// UpdateMenuHook: the command is enabled while a composition is active,
// disabled while nothing is, and left alone otherwise.
#include "support/HostFixture.h"

namespace glimster::integration {
namespace {

constexpr A_Err kQueryFailure = 0x31;
constexpr A_Err kDisableFailure = 0x32;

enum class Active { Nothing, Composition, Footage, Folder };

struct Fault {
  const char* op;
  CallFault fault;  // Outputs::Written: the call still names its answer
};

struct Case {
  const char* name;
  Active active;
  std::vector<Fault> faults;
  A_Err result;
  CommandState state;
  std::size_t enables, disables, typeQueries;
  std::vector<std::string> released;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class UpdateMenuHookTest : public HostFixture, public ::testing::WithParamInterface<Case> {};

// Footage and a folder come after a composition enabled the command: it stays enabled.
TEST_P(UpdateMenuHookTest, SetsTheCommandsStateAndGivesTheFirstFailure) {
  const Case& c = GetParam();
  startPlugin();
  if (c.active != Active::Nothing) activateComposition();
  if (c.active == Active::Footage || c.active == Active::Folder) {
    ASSERT_EQ(host.updateMenus(), A_Err_NONE);
    ASSERT_EQ(captureCommandState(), CommandState::Enabled);
    host.project().setActive(c.active == Active::Footage
                                 ? &host.project().addFootage(u"clip.mov", 1920, 1080)
                                 : &host.project().addFolder(u"Solids"));
    host.log().clear();
  }
  for (const Fault& fault : c.faults) host.faults().failCall(fault.op, fault.fault);

  EXPECT_EQ(host.updateMenus(), c.result);

  const std::string command = std::to_string(captureCommand());
  EXPECT_EQ(captureCommandState(), c.state);
  EXPECT_EQ(host.log().argsOf(op::EnableCommand), std::vector<std::string>(c.enables, command));
  EXPECT_EQ(host.log().argsOf(op::DisableCommand), std::vector<std::string>(c.disables, command));
  EXPECT_EQ(host.log().count(op::GetItemType), c.typeQueries);
  EXPECT_EQ(released(), c.released);
}

const std::vector<std::string> kBoth = {kItemSuite10, kCommandSuite1};
const std::vector<std::string> kItem = {kItemSuite10};
const CallFault kQueryCleared{kQueryFailure, Outputs::Cleared};
const CallFault kQueryWritten{kQueryFailure, Outputs::Written};
const CallFault kDisableCleared{kDisableFailure, Outputs::Cleared};
const CallFault kDisableWritten{kDisableFailure, Outputs::Written};

// Name; active item; failing calls; result, state; enables, disables, type queries; released.
// clang-format off
const Case kCases[] = {
    {"CompositionEnables", Active::Composition, {},
     0, CommandState::Enabled, 1, 0, 1, kBoth},
    {"NothingDisables", Active::Nothing, {},
     0, CommandState::Disabled, 0, 1, 0, kBoth},
    {"NothingWithFailingQueryStillDisablesAndGivesTheQuerysCode", Active::Nothing,
     {{op::GetActiveItem, kQueryCleared}, {op::DisableCommand, kDisableWritten}},
     kQueryFailure, CommandState::Disabled, 0, 1, 0, kBoth},
    {"NothingWithFailingDisableGivesTheDisablesCode", Active::Nothing,
     {{op::DisableCommand, kDisableCleared}},  // the host's state unchanged
     kDisableFailure, CommandState::NeverSet, 0, 1, 0, kBoth},
    {"FootageLeavesTheCommand", Active::Footage, {},
     0, CommandState::Enabled, 0, 0, 1, kItem},
    {"FolderLeavesTheCommand", Active::Folder, {},
     0, CommandState::Enabled, 0, 0, 1, kItem},
    {"CompositionWithFailingActiveItemNamingItsAnswer", Active::Composition,
     {{op::GetActiveItem, kQueryWritten}},
     kQueryFailure, CommandState::NeverSet, 0, 0, 0, kItem},
    {"CompositionWithFailingItemTypeNamingNothing", Active::Composition,
     {{op::GetItemType, kQueryCleared}},
     kQueryFailure, CommandState::NeverSet, 0, 0, 1, kItem},
    {"CompositionWithFailingItemTypeNamingItsAnswer", Active::Composition,
     {{op::GetItemType, kQueryWritten}},
     kQueryFailure, CommandState::NeverSet, 0, 0, 1, kItem},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, UpdateMenuHookTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace glimster::integration
