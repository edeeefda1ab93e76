// The plug-in under test, loaded once for the whole program, and its hooks as
// the host calls them, for the tests that run each hook in turn.
#pragma once

#include "substitute_host/Host.h"
#include "substitute_host/PluginBinary.h"

namespace glimster::reliability {

const substitute_host::PluginBinary& Plugin();

A_Err Start(substitute_host::Host& host);         // EntryPointFunc
A_Err UpdateMenus(substitute_host::Host& host);   // UpdateMenuHook
A_Err TakeGlimster(substitute_host::Host& host);  // CommandHook, "Take Glimster" chosen

}  // namespace glimster::reliability
