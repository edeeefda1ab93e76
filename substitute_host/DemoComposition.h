// The built-in composition the command-line host captures with --demo.
#pragma once

#include "substitute_host/Project.h"

namespace glimster::substitute_host {

// Adds a 640×360 composition named "Glimster Démo – Ünïcødé" to `project`:
// premultiplied colour gradients, a band of partial transparency and rows wider than
// 4 × width whose padding bytes are 0xCD. Gives the new item.
Item& AddDemoComposition(Project& project);

}  // namespace glimster::substitute_host
