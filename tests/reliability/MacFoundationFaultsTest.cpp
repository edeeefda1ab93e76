// Foundation answering nil, as a Mac's does for want of memory, at each call
// the Mac code's naming makes (capture/NamingMacOS.mm), which only
// macos_runner can bring about: a composition name that cannot be converted
// answers the host's out-of-memory code 4, a desktop path that cannot be had
// is reported as error 79. Either way no file and no leftover, everything
// given back, and no string or pool of Foundation's alive after the hook; a
// capture with nothing failing leaves none alive either.
#include "CaptureFixture.h"
#include "HookCalls.h"
#include "substitute_host/FrameSources.h"
#include "substitute_host/Host.h"
#include "substitute_host/platform/DesktopRedirect.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace glimster::reliability {
namespace {

namespace fs = std::filesystem;
using substitute_host::Host;

TEST(MacFoundationFaults, EachNilAnswerGivesItsCodeAndLeavesNothingAlive) {
  const PlanMacFailure plan = MacFailurePlanner();
  const CountMacObjects live_objects = MacObjectCounter();
  ASSERT_TRUE(plan && live_objects)
      << test_support::LoadedPluginUnderTest().file() << " is not macos_runner";
  const struct {
    const char* call;  // null: nothing fails
    unsigned nth;
    A_Err result;
    unsigned reported;  // 0: nothing reported
    std::size_t files;
  } cases[] = {
      {nullptr, 0, A_Err_NONE, 0, 1},
      {"-[NSString initWithBytes:length:encoding:]", 1, A_Err_ALLOC, 0, 0},
      {"-[NSString UTF8String]", 1, A_Err_ALLOC, 0, 0},  // the name's
      {"malloc in -[NSString UTF8String]", 1, A_Err_ALLOC, 0, 0},
      {"NSHomeDirectory", 1, A_Err_NONE, 79, 0},
      {"-[NSString stringByAppendingPathComponent:]", 1, A_Err_NONE, 79, 0},
      {"-[NSString UTF8String]", 2, A_Err_NONE, 79, 0},  // the desktop path's
  };
  const fs::path home = capture_tests::MakeTemporaryFolder("glimster-mac-foundation-");
  const fs::path desktop = home / "Desktop";
  fs::create_directory(desktop);
  const substitute_host::platform::DesktopRedirect redirect(test_support::LoadedPluginUnderTest(),
                                                            desktop);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.call ? c.call : "nothing") + " failing, call " +
                 std::to_string(c.nth));
    Host host;
    ASSERT_EQ(ReadyFor(TakeGlimster, host, substitute_host::NoiseFrame(4, 4, 1)), A_Err_NONE);
    if (c.call) ASSERT_EQ(plan(c.call, c.nth), 0);
    EXPECT_EQ(TakeGlimster(host), c.result);
    if (c.call) plan(c.call, 0);
    EXPECT_EQ(host.reports().size(), c.reported ? 1u : 0u);
    if (c.reported) EXPECT_TRUE(test_support::ReportedOnce(host.reports(), c.reported));
    capture_tests::ExpectEverythingGivenBack(host);
    EXPECT_EQ(live_objects(), 0);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(desktop)) {
      fs::remove(entry.path());
      ++files;
    }
    EXPECT_EQ(files, c.files);
  }
  fs::remove_all(home);
}

}  // namespace
}  // namespace glimster::reliability
