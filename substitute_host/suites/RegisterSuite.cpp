// "AEGP Register Suite" 6: the plug-in's hooks.
#include "substitute_host/Operations.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

#include <vector>

namespace glimster::substitute_host {
namespace {

std::string pointerArg(const void* pointer) { return pointer != nullptr ? "set" : "null"; }

// Adds `registration` to the host's list `hooks` unless the call is faulted;
// a null hook or a plug-in identifier this host did not give is misuse.
template <typename Registration>
A_Err registerHook(const char* op, std::vector<Registration> Hooks::*hooks,
                   Registration registration, std::string args) {
  return serveCall(op, [&](Host& host) {
    OperationCall call(host, op);
    args = "plugin " + std::to_string(registration.plugin) + ", " + args + "hook " +
           pointerArg(reinterpret_cast<const void*>(registration.hook)) + ", refcon " +
           pointerArg(registration.refcon);
    if (registration.hook == nullptr) {
      return call.misuse(args, "null hook");
    }
    if (registration.plugin != host.pluginId()) {
      return call.misuse(args, kForeignPlugin);
    }
    if (call.performs()) {
      (host.registeredHooks().*hooks).push_back(registration);
    }
    return call.finish(args);
  });
}

A_Err registerCommandHook(AEGP_PluginID plugin, AEGP_HookPriority priority, AEGP_Command command,
                          AEGP_CommandHook hook, AEGP_CommandRefcon refcon) {
  return registerHook(
      op::RegisterCommandHook, &Hooks::command,
      CommandHookRegistration{plugin, priority, command, hook, refcon},
      "priority " + std::to_string(priority) + ", command " + std::to_string(command) + ", ");
}

A_Err registerUpdateMenuHook(AEGP_PluginID plugin, AEGP_UpdateMenuHook hook,
                             AEGP_UpdateMenuRefcon refcon) {
  return registerHook(
      op::RegisterUpdateMenuHook, &Hooks::updateMenu,
      HookRegistration<AEGP_UpdateMenuHook, AEGP_UpdateMenuRefcon>{plugin, hook, refcon}, "");
}

A_Err registerDeathHook(AEGP_PluginID plugin, AEGP_DeathHook hook, AEGP_DeathRefcon refcon) {
  return registerHook(op::RegisterDeathHook, &Hooks::death,
                      HookRegistration<AEGP_DeathHook, AEGP_DeathRefcon>{plugin, hook, refcon}, "");
}

A_Err registerIdleHook(AEGP_PluginID plugin, AEGP_IdleHook hook, AEGP_IdleRefcon refcon) {
  return registerHook(op::RegisterIdleHook, &Hooks::idle,
                      HookRegistration<AEGP_IdleHook, AEGP_IdleRefcon>{plugin, hook, refcon}, "");
}

}  // namespace

const AEGP_RegisterSuite6& registerSuite6() {
  static const AEGP_RegisterSuite6 kSuite = [] {
    auto suite = tableOfUnexpectedSlots<OfferedSuiteIndex::Register6, AEGP_RegisterSuite6>();
    suite.AEGP_RegisterCommandHook = &registerCommandHook;
    suite.AEGP_RegisterUpdateMenuHook = &registerUpdateMenuHook;
    suite.AEGP_RegisterDeathHook = &registerDeathHook;
    suite.AEGP_RegisterIdleHook = &registerIdleHook;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
