// UpdateMenuHook: the command is enabled while a composition is active,
// disabled while nothing is, and left alone otherwise.
#include "support/HostFixture.h"

namespace glimster::integration {
namespace {

constexpr A_Err kQueryFailure = 0x31;
constexpr A_Err kDisableFailure = 0x32;

enum class Active { kNothing, kComposition, kFootage, kFolder };

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
  std::size_t enables, disables, type_queries;
  std::vector<std::string> released;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class UpdateMenuHookTest : public HostFixture, public ::testing::WithParamInterface<Case> {};

// Footage and a folder come after a composition enabled the command: it stays enabled.
TEST_P(UpdateMenuHookTest, SetsTheCommandsStateAndGivesTheFirstFailure) {
  const Case& c = GetParam();
  StartPlugin();
  if (c.active != Active::kNothing) ActivateComposition();
  if (c.active == Active::kFootage || c.active == Active::kFolder) {
    ASSERT_EQ(host_.UpdateMenus(), A_Err_NONE);
    ASSERT_EQ(CaptureCommandState(), CommandState::kEnabled);
    host_.project().SetActive(c.active == Active::kFootage
                                  ? &host_.project().AddFootage(u"clip.mov", 1920, 1080)
                                  : &host_.project().AddFolder(u"Solids"));
    host_.log().clear();
  }
  for (const Fault& fault : c.faults) host_.faults().FailCall(fault.op, fault.fault);

  EXPECT_EQ(host_.UpdateMenus(), c.result);

  const std::string command = std::to_string(CaptureCommand());
  EXPECT_EQ(CaptureCommandState(), c.state);
  EXPECT_EQ(host_.log().ArgsOf(op::kEnableCommand), std::vector<std::string>(c.enables, command));
  EXPECT_EQ(host_.log().ArgsOf(op::kDisableCommand), std::vector<std::string>(c.disables, command));
  EXPECT_EQ(host_.log().count(op::kGetItemType), c.type_queries);
  EXPECT_EQ(released(), c.released);
}

const std::vector<std::string> kBoth = {kItemSuite10, kCommandSuite1};
const std::vector<std::string> kItem = {kItemSuite10};
const CallFault kQueryCleared{kQueryFailure, Outputs::kCleared};
const CallFault kQueryWritten{kQueryFailure, Outputs::kWritten};
const CallFault kDisableCleared{kDisableFailure, Outputs::kCleared};
const CallFault kDisableWritten{kDisableFailure, Outputs::kWritten};

// Name; active item; failing calls; result, state; enables, disables, type queries; released.
// clang-format off
const Case kCases[] = {
    {"CompositionEnables", Active::kComposition, {},
     0, CommandState::kEnabled, 1, 0, 1, kBoth},
    {"NothingDisables", Active::kNothing, {},
     0, CommandState::kDisabled, 0, 1, 0, kBoth},
    {"NothingWithFailingQueryStillDisablesAndGivesTheQuerysCode", Active::kNothing,
     {{op::kGetActiveItem, kQueryCleared}, {op::kDisableCommand, kDisableWritten}},
     kQueryFailure, CommandState::kDisabled, 0, 1, 0, kBoth},
    {"NothingWithFailingDisableGivesTheDisablesCode", Active::kNothing,
     {{op::kDisableCommand, kDisableCleared}},  // the host's state unchanged
     kDisableFailure, CommandState::kNeverSet, 0, 1, 0, kBoth},
    {"FootageLeavesTheCommand", Active::kFootage, {},
     0, CommandState::kEnabled, 0, 0, 1, kItem},
    {"FolderLeavesTheCommand", Active::kFolder, {},
     0, CommandState::kEnabled, 0, 0, 1, kItem},
    {"CompositionWithFailingActiveItemNamingItsAnswer", Active::kComposition,
     {{op::kGetActiveItem, kQueryWritten}},
     kQueryFailure, CommandState::kNeverSet, 0, 0, 0, kItem},
    {"CompositionWithFailingItemTypeNamingNothing", Active::kComposition,
     {{op::kGetItemType, kQueryCleared}},
     kQueryFailure, CommandState::kNeverSet, 0, 0, 1, kItem},
    {"CompositionWithFailingItemTypeNamingItsAnswer", Active::kComposition,
     {{op::kGetItemType, kQueryWritten}},
     kQueryFailure, CommandState::kNeverSet, 0, 0, 1, kItem},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, UpdateMenuHookTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace glimster::integration
