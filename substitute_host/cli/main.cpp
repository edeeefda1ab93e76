// glimster-host: loads a plug-in binary into the substitute host, starts it
// as the host would, shows its menu states and captures a composition
// through "Take Glimster". `glimster-host --help` tells the options.
#include "substitute_host/cli/ExitStatus.h"
#include "substitute_host/cli/Help.h"
#include "substitute_host/cli/MacSlice.h"
#include "substitute_host/cli/Options.h"
#include "substitute_host/cli/PluginLoading.h"
#include "substitute_host/cli/Session.h"
#include "substitute_host/platform/CommandLine.h"

#include <exception>
#include <iostream>
#include <new>

namespace {

using namespace glimster::substitute_host::cli;

// The plug-in target built beside this program.
const std::filesystem::path kDefaultPlugin = std::filesystem::u8path(GLIMSTER_DEFAULT_PLUGIN);

ExitStatus run(const std::vector<std::string>& arguments) {
  const Options options = ParseOptions(arguments);
  switch (options.action) {
    case Options::Action::kShowHelp:
      std::cout << HelpText(kDefaultPlugin);
      return ExitStatus::kSucceeded;
    case Options::Action::kListOperations:
      std::cout << OperationsText();
      return ExitStatus::kSucceeded;
    case Options::Action::kRun:
      break;
  }
  if (options.macos) {
    return RunSession(options, MacSlice(*options.macos, options.plugin, arguments), std::cout,
                      std::cerr);
  }
  return RunSession(options, options.plugin.value_or(kDefaultPlugin), std::cout, std::cerr);
}

// The process's exit status.
int Exit(ExitStatus status) { return static_cast<int>(status); }

}  // namespace

int main(int argc, char** argv) {
  try {
    return Exit(run(glimster::substitute_host::platform::Utf8Arguments(argc, argv)));
  } catch (const UsageError& error) {
    std::cerr << "glimster-host: " << error.what() << '\n' << HelpHint() << '\n';
    return Exit(ExitStatus::kUsageError);
  } catch (const PluginNotLoaded& error) {
    std::cerr << "glimster-host: " << error.what() << '\n';
    return Exit(ExitStatus::kPluginNotLoaded);
  } catch (const std::bad_alloc&) {
    std::cerr << "glimster-host: the substitute host ran out of memory\n";
    return Exit(ExitStatus::kPluginFailed);
  } catch (const std::exception& error) {
    std::cerr << "glimster-host: " << error.what() << '\n';
    return Exit(ExitStatus::kPluginFailed);
  }
}
