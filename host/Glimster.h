// The plug-in's entry point, its hooks and the state the entry leaves for them.
#pragma once

#include "host/AE_HostInterface.h"

#if defined(_WIN32)
#define GLIMSTER_EXPORT __declspec(dllexport)
#else
#define GLIMSTER_EXPORT __attribute__((visibility("default")))
#endif

namespace glimster {

// Written once by EntryPointFunc, before any hook runs; read by the hooks.
extern SPBasicSuite* sP;            // the host's basic suite directory
extern AEGP_PluginID S_plugin_id;   // this plug-in, as the host knows it
extern AEGP_Command S_capture_cmd;  // the "Take Glimster" command

}  // namespace glimster

// What the host calls, by the names and with the C linkage it knows them by.

extern "C" {

// Called by the host once after loading: registers the menu item and hooks.
GLIMSTER_EXPORT A_Err EntryPointFunc(SPBasicSuite* pica_basicP, A_long major_versionL,
                                     A_long minor_versionL, AEGP_PluginID aegp_plugin_id,
                                     AEGP_GlobalRefcon* global_refconP);

// Captures the active composition when the command is S_capture_cmd.
A_Err CommandHook(AEGP_GlobalRefcon plugin_refconP, AEGP_CommandRefcon refconP,
                  AEGP_Command command, AEGP_HookPriority hook_priority, A_Boolean already_handledB,
                  A_Boolean* handledPB);

// Enables the command while a composition is active, disables it while
// nothing is.
A_Err UpdateMenuHook(AEGP_GlobalRefcon plugin_refconP, AEGP_UpdateMenuRefcon refconP,
                     AEGP_WindowType active_window);

// Nothing to free: the plug-in holds nothing between calls.
A_Err DeathHook(AEGP_GlobalRefcon plugin_refconP, AEGP_DeathRefcon refconP);

// Nothing to do while the host is idle; *max_sleepPL is left as it is.
A_Err IdleHook(AEGP_GlobalRefcon plugin_refconP, AEGP_IdleRefcon refconP, A_long* max_sleepPL);

}  // extern "C"
