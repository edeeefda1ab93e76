// What glimster-host prints for --help and --list-operations.
#pragma once

#include <filesystem>
#include <string>

namespace glimster::substitute_host::cli {

// The usage, options, exit statuses and examples; `defaultPlugin` is the
// plug-in loaded when none is named.
std::string HelpText(const std::filesystem::path& default_plugin);

// The operations --fail accepts and the suites --refuse-suite accepts, one a line.
std::string OperationsText();

// The line that points from a usage error to --help.
std::string HelpHint();

}  // namespace glimster::substitute_host::cli
