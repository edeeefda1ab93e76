// The hooks the plug-in registered, in registration order.
#pragma once

#include "host/AE_HostInterface.h"

#include <vector>

namespace glimster::substitute_host {

struct CommandHookRegistration {
  AEGP_PluginID plugin;
  AEGP_HookPriority priority;
  AEGP_Command command;  // 0: every command
  AEGP_CommandHook hook;
  AEGP_CommandRefcon refcon;
};

template <typename Hook, typename Refcon>
struct HookRegistration {
  AEGP_PluginID plugin;
  Hook hook;
  Refcon refcon;
};

struct Hooks {
  std::vector<CommandHookRegistration> command;
  std::vector<HookRegistration<AEGP_UpdateMenuHook, AEGP_UpdateMenuRefcon>> update_menu;
  std::vector<HookRegistration<AEGP_DeathHook, AEGP_DeathRefcon>> death;
  std::vector<HookRegistration<AEGP_IdleHook, AEGP_IdleRefcon>> idle;
};

}  // namespace glimster::substitute_host
