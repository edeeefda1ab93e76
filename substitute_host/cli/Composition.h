// The composition glimster-host captures, as the options describe it.
#pragma once

#include "substitute_host/Frame.h"
#include "substitute_host/cli/Options.h"

#include <string>

namespace glimster::substitute_host::cli {

struct Composition {
  std::u16string name;
  Frame frame;
  A_Time current_time;
  std::string frame_description;  // "test card", "noise (seed 7)", ...
};

// The composition the options ask for; throws UsageError for a name that is
// not UTF-8 or a --frame-png file that cannot be read as a PNG.
Composition ChosenComposition(const Options& options);

}  // namespace glimster::substitute_host::cli
