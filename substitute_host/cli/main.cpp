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
  const Options options = parseOptions(arguments);
  switch (options.action) {
    case Options::Action::ShowHelp:
      std::cout << helpText(kDefaultPlugin);
      return kSucceeded;
    case Options::Action::ListOperations:
      std::cout << operationsText();
      return kSucceeded;
    case Options::Action::Run:
      break;
  }
  if (options.macos) {
    return runSession(options, macSlice(*options.macos, options.plugin, arguments), std::cout,
                      std::cerr);
  }
  return runSession(options, options.plugin.value_or(kDefaultPlugin), std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(glimster::substitute_host::platform::utf8Arguments(argc, argv));
  } catch (const UsageError& error) {
    std::cerr << "glimster-host: " << error.what() << '\n' << helpHint() << '\n';
    return kUsageError;
  } catch (const PluginNotLoaded& error) {
    std::cerr << "glimster-host: " << error.what() << '\n';
    return kPluginNotLoaded;
  } catch (const std::bad_alloc&) {
    std::cerr << "glimster-host: the substitute host ran out of memory\n";
    return kPluginFailed;
  } catch (const std::exception& error) {
    std::cerr << "glimster-host: " << error.what() << '\n';
    return kPluginFailed;
  }
}
