#include "HookCalls.h"

#include "substitute_host/platform/LibraryLoader.h"
#include "tests/support/PluginUnderTest.h"

namespace glimster::reliability {

const substitute_host::PluginBinary& Plugin() {
  static const substitute_host::PluginBinary kPlugin{test_support::PluginUnderTest()};
  return kPlugin;
}

A_Err Start(substitute_host::Host& host) { return host.RunEntry(Plugin()); }
A_Err UpdateMenus(substitute_host::Host& host) { return host.UpdateMenus(); }
A_Err TakeGlimster(substitute_host::Host& host) {
  return host.IssueMenuCommand("Take Glimster").result;
}

namespace {

void* RunnerCall(const char* name) {
  namespace platform = substitute_host::platform;
  return platform::FindExportedFunction(platform::LoadLibraryForever(Plugin().file()), name);
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
