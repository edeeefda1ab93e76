// The Mac code running out of memory, which only macos_runner can bring
// about: its malloc answers NULL at the nth allocation a hook makes, for each
// n the hook reaches in turn, so that libc++'s operator new throws
// std::bad_alloc inside the Mac code and the bundle's own exception tables
// carry it to the plug-in's handler. (The host's std::bad_alloc of
// OutOfMemoryInHooksTest is Linux's and cannot cross Mac code.) Every run
// answers 0 or the out-of-memory code 4, gives everything back (the host's
// handles, Foundation's strings and pools, the Mac code's heap blocks) and
// leaves no file but the whole PNG; a capture that answers 0 wrote the frame
// or reported why. A run with nothing failed and nothing reported shows the
// hook's allocations are used up.
#include "CaptureFixture.h"
#include "HookCalls.h"
#include "substitute_host/FrameSources.h"
#include "substitute_host/Host.h"
#include "substitute_host/PluginBinary.h"
#include "substitute_host/platform/DesktopRedirect.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>

namespace glimster::reliability {
namespace {

namespace fs = std::filesystem;
using substitute_host::Host;

constexpr unsigned kMostAllocations = 10000;  // per hook: a sweep that never ends fails

struct Hook {
  const char* name;
  A_Err (*call)(Host&);
};

const Hook kHooks[] = {
    {"EntryPointFunc", Start},
    {"UpdateMenuHook", UpdateMenus},
    {"CommandHook, capturing", TakeGlimster},
};

TEST(MacOutOfMemory, EachAllocationOfEachHookFailingInTurnIsCaughtInTheMacCode) {
  const PlanMacFailure plan = MacFailurePlanner();
  const CountMacObjects live_objects = MacObjectCounter();
  const CountMacObjects live_blocks = MacBlockCounter();
  ASSERT_TRUE(plan && live_objects && live_blocks)
      << test_support::LoadedPluginUnderTest().file() << " is not macos_runner";
  const fs::path home = capture_tests::MakeTemporaryFolder("glimster-mac-oom-");
  const fs::path desktop = home / "Desktop";
  fs::create_directory(desktop);
  const substitute_host::platform::DesktopRedirect redirect(test_support::LoadedPluginUnderTest(),
                                                            desktop);
  const substitute_host::Frame frame = substitute_host::NoiseFrame(8, 4, 1);
  const std::vector<std::uint8_t> expected = capture_tests::ExpectedImage(frame).pixels;

  // The C++ runtime in the bundle makes this thread's record of exceptions
  // in flight at its first throw and keeps it for the thread's life: one
  // capture that throws comes first, so that the counts below see only what
  // a hook leaves.
  {
    Host host;
    ASSERT_EQ(ReadyFor(TakeGlimster, host, frame), A_Err_NONE);
    ASSERT_EQ(plan("malloc", 1), 0);
    const A_Err result = TakeGlimster(host);
    plan("malloc", 0);
    ASSERT_TRUE(result == A_Err_NONE || result == A_Err_ALLOC) << result;
  }

  unsigned caught = 0;
  for (const Hook& hook : kHooks) {
    unsigned hook_caught = 0;
    for (unsigned nth = 1;; ++nth) {
      SCOPED_TRACE(std::string(hook.name) + ", allocation " + std::to_string(nth) + " failing");
      ASSERT_LT(nth, kMostAllocations);
      Host host;
      ASSERT_EQ(ReadyFor(hook.call, host, frame), A_Err_NONE);
      ASSERT_EQ(plan("malloc", nth), 0);
      const long blocks = live_blocks();
      const A_Err result = hook.call(host);
      plan("malloc", 0);
      EXPECT_EQ(live_blocks(), blocks) << "heap blocks of the Mac code left behind";

      EXPECT_TRUE(result == A_Err_NONE || result == A_Err_ALLOC) << result;
      capture_tests::ExpectEverythingGivenBack(host);
      EXPECT_EQ(live_objects(), 0);
      std::size_t written = 0;
      for (const auto& entry : fs::directory_iterator(desktop)) {
        const std::optional<test_support::Rgba8> png = test_support::DecodePng(entry.path());
        EXPECT_TRUE(png && png->pixels == expected) << entry.path();
        fs::remove(entry.path());
        ++written;
      }
      const bool reported = test_support::ReportedOnce(host.reports(), 83);
      if (hook.call == TakeGlimster && result == A_Err_NONE) {
        EXPECT_TRUE(written == 1 || reported) << "nothing written, and nobody told";
      }
      hook_caught += result == A_Err_ALLOC;
      if (result == A_Err_NONE && host.reports().empty()) {
        std::printf("%s: %u allocations failed in turn, %u answered 4\n", hook.name, nth - 1,
                    hook_caught);
        break;
      }
    }
    caught += hook_caught;
  }
  EXPECT_GT(caught, 0u);
  fs::remove_all(home);
}

}  // namespace
}  // namespace glimster::reliability
