#include "HookCalls.h"

#include "substitute_host/platform/LibraryLoader.h"

#include <utility>

namespace glimster::reliability {

A_Err Start(substitute_host::Host& host) {
  return host.RunEntry(test_support::LoadedPluginUnderTest());
}
A_Err UpdateMenus(substitute_host::Host& host) { return host.UpdateMenus(); }
A_Err TakeGlimster(substitute_host::Host& host) {
  return host.IssueMenuCommand("Take Glimster").result;
}

A_Err ReadyFor(A_Err (*hook)(substitute_host::Host&), substitute_host::Host& host,
               substitute_host::Frame frame) {
  const A_Err started = hook == Start ? A_Err_NONE : Start(host);
  host.project().SetActive(&host.project().AddComposition(u"Comp", std::move(frame), A_Time{0, 1}));
  return started;
}

namespace {

void* RunnerCall(const char* name) {
  namespace platform = substitute_host::platform;
  return platform::FindExportedFunction(
      platform::LoadLibraryForever(test_support::LoadedPluginUnderTest().file()), name);
}

}  // namespace

PlanMacFailure MacFailurePlanner() {
  return reinterpret_cast<PlanMacFailure>(RunnerCall("glimster_macos_fail"));
}

CountMacObjects MacObjectCounter() {
  return reinterpret_cast<CountMacObjects>(RunnerCall("glimster_macos_live_objects"));
}

CountMacObjects MacBlockCounter() {
  return reinterpret_cast<CountMacObjects>(RunnerCall("glimster_macos_live_blocks"));
}

}  // namespace glimster::reliability
