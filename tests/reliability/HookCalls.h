// The plug-in under test, loaded once for the whole program, and its hooks as
// the host calls them, for the tests that run each hook in turn.
#pragma once

#include "substitute_host/Host.h"
#include "substitute_host/PluginBinary.h"
#include "tests/support/PluginUnderTest.h"

namespace glimster::reliability {

A_Err Start(substitute_host::Host& host);         // EntryPointFunc
A_Err UpdateMenus(substitute_host::Host& host);   // UpdateMenuHook
A_Err TakeGlimster(substitute_host::Host& host);  // CommandHook, "Take Glimster" chosen

// Readies `host` for `hook`: starts the plug-in unless `hook` is Start, then
// makes a composition "Comp" of `frame` the active item. Gives Start's code.
A_Err ReadyFor(A_Err (*hook)(substitute_host::Host&), substitute_host::Host& host,
               substitute_host::Frame frame);

// macos_runner's own calls, null when the plug-in under test is not the
// runner: glimster_macos_fail plans a failure of Foundation or of malloc in
// the Mac code (macos_runner/Faults.cpp); glimster_macos_live_objects counts
// Foundation's strings and pools not yet freed (macos_runner/Foundation.cpp),
// glimster_macos_live_blocks the Mac code's heap blocks (macos_runner/Memory.cpp).
using PlanMacFailure = int (*)(const char* call, unsigned nth);
using CountMacObjects = long (*)();
PlanMacFailure MacFailurePlanner();
CountMacObjects MacObjectCounter();
CountMacObjects MacBlockCounter();

}  // namespace glimster::reliability
