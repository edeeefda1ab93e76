// dyld's fixups, applied once at load: each pointer of the bundle moved to
// where the bundle now lies (rebase), each import pointed at the runner's
// stand-in for it (bind, lazy binds included, so that every missing import
// is known before any Mac code runs).
#pragma once

#include "MachOImage.h"

namespace macos_runner {

// Fails the load, naming the symbol, at the first import the runner has
// no stand-in for or whose stand-in is another library's than the one the
// bind names, and on a weak-bind stream, which the runner does not apply.
void ApplyFixups(const MachOImage& image);

}  // namespace macos_runner
