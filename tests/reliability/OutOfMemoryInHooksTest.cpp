// A std::bad_alloc inside each hook answers the host's out-of-memory code 4,
// never 516, once everything the call held is given back. The host puts it
// there: the call planned to fail throws it into the plug-in.
#include "CaptureFixture.h"
#include "HookCalls.h"
#include "substitute_host/FrameSources.h"
#include "substitute_host/Host.h"
#include "substitute_host/Operations.h"
#include "substitute_host/PluginBinary.h"

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
  const fs::path home = capture_tests::MakeTemporaryFolder("glimster-hook-oom-");
  setenv("HOME", home.c_str(), 1);
  for (const ThrowingCall& call : kThrowingCalls) {
    SCOPED_TRACE(call.where);
    Host host;
    ASSERT_EQ(ReadyFor(call.hook, host, substitute_host::TestCardFrame(8, 4)), A_Err_NONE);
    host.faults().FailCall(call.op,
                           substitute_host::CallFault{0, substitute_host::Outputs::kThrown});

    EXPECT_EQ(call.hook(host), A_Err_ALLOC);
    EXPECT_EQ(host.log().count(call.op), 1u);
    capture_tests::ExpectEverythingGivenBack(host);  // nothing escaped, nothing misused
  }
  EXPECT_FALSE(fs::exists(home / "Desktop"));
  fs::remove_all(home);
}

}  // namespace
}  // namespace glimster::reliability
