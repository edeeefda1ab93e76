// "AEGP Register Suite" 6: the plug-in's hooks.
#include "substitute_host/Operations.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

#include <vector>

namespace glimster::substitute_host {
namespace {

std::string PointerArg(const void* pointer) { return pointer != nullptr ? "set" : "null"; }

// Adds `registration` to the host's list `hooks` unless the call is faulted;
// a null hook or a plug-in identifier this host did not give is misuse.
template <typename Registration>
A_Err RegisterHook(const char* op, std::vector<Registration> Hooks::*hooks,
                   Registration registration, std::string args) {
  return ServeCall(op, [&](Host& host) {
    OperationCall call(host, op);
    args = "plugin " + std::to_string(registration.plugin) + ", " + args + "hook " +
           PointerArg(reinterpret_cast<const void*>(registration.hook)) + ", refcon " +
           PointerArg(registration.refcon);
    if (registration.hook == nullptr) {
      return call.misuse(args, "null hook");
    }
    if (registration.plugin != host.PluginId()) {
      return call.misuse(args, kForeignPlugin);
    }
    if (call.performs()) {
      (host.RegisteredHooks().*hooks).push_back(registration);
    }
    return call.finish(args);
  });
}

A_Err RegisterCommandHook(AEGP_PluginID plugin, AEGP_HookPriority priority, AEGP_Command command,
                          AEGP_CommandHook hook, AEGP_CommandRefcon refcon) {
  return RegisterHook(
      op::kRegisterCommandHook, &Hooks::command,
      CommandHookRegistration{plugin, priority, command, hook, refcon},
      "priority " + std::to_string(priority) + ", command " + std::to_string(command) + ", ");
}

A_Err RegisterUpdateMenuHook(AEGP_PluginID plugin, AEGP_UpdateMenuHook hook,
                             AEGP_UpdateMenuRefcon refcon) {
  return RegisterHook(
      op::kRegisterUpdateMenuHook, &Hooks::update_menu,
      HookRegistration<AEGP_UpdateMenuHook, AEGP_UpdateMenuRefcon>{plugin, hook, refcon}, "");
}

A_Err RegisterDeathHook(AEGP_PluginID plugin, AEGP_DeathHook hook, AEGP_DeathRefcon refcon) {
  return RegisterHook(op::kRegisterDeathHook, &Hooks::death,
                      HookRegistration<AEGP_DeathHook, AEGP_DeathRefcon>{plugin, hook, refcon}, "");
}

A_Err RegisterIdleHook(AEGP_PluginID plugin, AEGP_IdleHook hook, AEGP_IdleRefcon refcon) {
  return RegisterHook(op::kRegisterIdleHook, &Hooks::idle,
                      HookRegistration<AEGP_IdleHook, AEGP_IdleRefcon>{plugin, hook, refcon}, "");
}

}  // namespace

const AEGP_RegisterSuite6& RegisterSuite6() {
  static const AEGP_RegisterSuite6 kSuite = [] {
    auto suite = TableOfUnexpectedSlots<OfferedSuiteIndex::kRegister6, AEGP_RegisterSuite6>();
    suite.AEGP_RegisterCommandHook = &RegisterCommandHook;
    suite.AEGP_RegisterUpdateMenuHook = &RegisterUpdateMenuHook;
    suite.AEGP_RegisterDeathHook = &RegisterDeathHook;
    suite.AEGP_RegisterIdleHook = &RegisterIdleHook;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
