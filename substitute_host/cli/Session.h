// One run of glimster-host, from the options to the exit status.
#pragma once

#include "substitute_host/cli/ExitStatus.h"
#include "substitute_host/cli/Options.h"

#include <filesystem>
#include <ostream>

namespace glimster::substitute_host::cli {

// Loads the plug-in `plugin`, names it (for macos_runner: the Mac code the
// runner says it loaded), plans the
// faults asked for, calls its entry, reports its menus, captures unless told
// not to, lets it quit, and prints the information reports it showed, the
// misuse the host saw and, with --trace, every call. Results go to `out`,
// errors to `err`. Throws UsageError for an unreadable input or a missing
// --desktop folder, PluginNotLoaded when the plug-in cannot be loaded.
ExitStatus RunSession(const Options& options, const std::filesystem::path& plugin,
                      std::ostream& out, std::ostream& err);

}  // namespace glimster::substitute_host::cli
