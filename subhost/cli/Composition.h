// The composition glimster-host captures, as the options describe it.
#pragma once

#include "subhost/Frame.h"
#include "subhost/cli/Options.h"

#include <string>

namespace glimster::subhost::cli {

struct Composition {
  std::u16string name;
  Frame frame;
  A_Time currentTime;
  std::string frameDescription; // "test card", "noise (seed 7)", ...
};

// The composition the options ask for; throws UsageError for a name that is
// not UTF-8 or a --frame-png file that cannot be read as a PNG.
Composition chosenComposition(const Options& options);

} // namespace glimster::subhost::cli
