#include "substitute_host/cli/MacSlice.h"

#include "substitute_host/cli/Options.h"
#include "substitute_host/cli/PluginLoading.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifdef GLIMSTER_MACOS_OTHER_HOST
#include <unistd.h>
#endif

namespace glimster::substitute_host::cli {
namespace {

namespace fs = std::filesystem;

// What this build runs: the slice of its own architecture through the runner
// beside it, the other one through the glimster-host built for it.
#ifdef GLIMSTER_MACOS_RUNNER
constexpr char kRunnerArch[] = GLIMSTER_MACOS_RUNNER_ARCH;
#endif
#ifdef GLIMSTER_MACOS_OTHER_HOST
constexpr char kOtherArch[] = GLIMSTER_MACOS_OTHER_ARCH;
// The other glimster-host, after the emulator that runs it.
const std::vector<std::string> kOtherHost{GLIMSTER_MACOS_OTHER_HOST};
#endif

// The slices this build runs and how, `between` between two of them.
std::string runnable(const std::string& between) {
  std::vector<std::string> ways;
#ifdef GLIMSTER_MACOS_RUNNER
  ways.push_back(std::string(kRunnerArch) + " natively");
#endif
#ifdef GLIMSTER_MACOS_OTHER_HOST
  std::string other = std::string(kOtherArch) + " in";
  for (const std::string& word : kOtherHost) other += " " + word;
  ways.push_back(other);
#endif
  if (ways.empty()) return "none (it was built without macos_runner)";
  std::string text = ways.front();
  for (std::size_t i = 1; i < ways.size(); ++i) text += between + ways[i];
  return text;
}

}  // namespace

fs::path MacSlice(const std::string& arch, const std::optional<fs::path>& bundle,
                  const std::vector<std::string>& arguments) {
#ifdef GLIMSTER_MACOS_RUNNER
  if (arch == kRunnerArch) {
    const fs::path chosen =
        bundle ? fs::absolute(*bundle) : fs::u8path(GLIMSTER_MACOS_DEFAULT_BUNDLE);
    if (!fs::exists(chosen)) {
      throw PluginNotLoaded("cannot load plug-in " + chosen.u8string() + ": no such file");
    }
    setenv("GLIMSTER_MACOS_BUNDLE", chosen.c_str(), 1);
    return fs::u8path(GLIMSTER_MACOS_RUNNER);
  }
#endif
#ifdef GLIMSTER_MACOS_OTHER_HOST
  if (arch == kOtherArch) {
    std::vector<std::string> command = kOtherHost;
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    throw PluginNotLoaded("cannot run the macOS " + arch + " slice: cannot start " +
                          command.front() + ": " + std::strerror(errno));
  }
#endif
  (void)bundle;
  (void)arguments;
  throw UsageError("--macos " + arch + ": this glimster-host runs the slices " + runnable(", "));
}

std::string MacSliceHelp() {
  std::string text =
      "load the Mac code instead: the ARCH slice (x86_64 or arm64) of a\n"
      "Glimster.plugin, mapped by macos_runner, a Linux stand-in for the\n"
      "macOS loader and system libraries; PLUGIN then names the bundle\n";
#ifdef GLIMSTER_MACOS_RUNNER
  text += "(default " + fs::u8path(GLIMSTER_MACOS_DEFAULT_BUNDLE).u8string() + ")\n";
#endif
  return text + "This build runs " + runnable(",\n  ");
}

}  // namespace glimster::substitute_host::cli
