// What glimster-host's exit status tells.
#pragma once

namespace glimster::substitute_host::cli {

enum class ExitStatus : int {
  kSucceeded = 0,
  kPluginFailed = 1,     // a plug-in call returned an error, the capture wrote no file, the plug-in
                         // misused the host, or the host itself could not go on
  kUsageError = 2,       // bad arguments or an unreadable input
  kPluginNotLoaded = 3,  // no such file, not a loadable library, or no EntryPointFunc
};

}  // namespace glimster::substitute_host::cli
