#include "HookCalls.h"

#include "tests/support/PluginUnderTest.h"

namespace glimster::reliability {

const substitute_host::PluginBinary& Plugin() {
  static const substitute_host::PluginBinary plugin{test_support::PluginUnderTest()};
  return plugin;
}

A_Err Start(substitute_host::Host& host) { return host.runEntry(Plugin()); }
A_Err UpdateMenus(substitute_host::Host& host) { return host.updateMenus(); }
A_Err TakeGlimster(substitute_host::Host& host) {
  return host.issueMenuCommand("Take Glimster").result;
}

}  // namespace glimster::reliability
