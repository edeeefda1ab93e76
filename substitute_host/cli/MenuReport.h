// The menu items a plug-in added, and their state with each kind of active item.
#pragma once

#include "substitute_host/Host.h"

#include <ostream>

namespace glimster::substitute_host::cli {

// Prints the menu items the plug-in added; then, with nothing active, with a
// footage item active and with `composition` active (left active after),
// has the host update its menus and prints each item's state, saying when
// UpdateMenuHook changed nothing. Gives true when every UpdateMenuHook call
// returned 0.
bool ReportMenus(Host& host, Item& composition, std::ostream& out);

}  // namespace glimster::substitute_host::cli
