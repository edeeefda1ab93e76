// A std::bad_alloc inside each hook answers the host's out-of-memory code 4,
// never 516, once everything the call held is given back. The host puts it
// there: the call planned to fail throws it into the plug-in.
#include "HookCalls.h"
#include "substitute_host/FrameSources.h"
#include "substitute_host/Host.h"
#include "substitute_host/Operations.h"
#include "substitute_host/PluginBinary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace glimster::reliability {
namespace {

namespace fs = std::filesystem;
namespace op = substitute_host::op;
using substitute_host::Host;

struct ThrowingCall {
  const char* where;
  A_Err (*hook)(Host&);
  const char* op;  // the host call that throws
};

const ThrowingCall kThrowingCalls[] = {
    {"EntryPointFunc, first call", Start, op::kGetUniqueCommand},
    {"EntryPointFunc, last call", Start, op::kRegisterIdleHook},
    {"UpdateMenuHook, with the item in hand", UpdateMenus, op::kGetItemType},
    {"CommandHook, before rendering", TakeGlimster, op::kGetItemType},
    {"CommandHook, holding render options, frame and name", TakeGlimster,
     op::kFillOutPfEffectWorld},
};

TEST(OutOfMemoryInHooks, AnswersTheOutOfMemoryCodeAndGivesEverythingBack) {
  char pattern[] = "/tmp/glimster-hook-oom-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path home = pattern;
  setenv("HOME", home.c_str(), 1);
  for (const ThrowingCall& call : kThrowingCalls) {
    SCOPED_TRACE(call.where);
    Host host;
    if (call.hook != Start) ASSERT_EQ(Start(host), A_Err_NONE);
    host.project().SetActive(&host.project().AddComposition(
        u"Comp", substitute_host::TestCardFrame(8, 4), A_Time{0, 1}));
    host.faults().FailCall(call.op,
                           substitute_host::CallFault{0, substitute_host::Outputs::kThrown});

    EXPECT_EQ(call.hook(host), A_Err_ALLOC);
    EXPECT_EQ(host.log().count(call.op), 1u);
    EXPECT_THAT(host.problems(), ::testing::IsEmpty());  // nothing escaped, nothing misused
    EXPECT_TRUE(host.outstanding().none()) << host.outstanding().describe();
  }
  EXPECT_FALSE(fs::exists(home / "Desktop"));
  fs::remove_all(home);
}

}  // namespace
}  // namespace glimster::reliability
