// glimster-host: loads a plug-in binary into the substitute host and starts
// it as the host would. With --demo it also captures a built-in composition
// through the "Take Glimster" command and prints the path of the file written.
#include "subhost/DemoComposition.h"
#include "subhost/FolderSnapshot.h"
#include "subhost/Host.h"
#include "subhost/PluginBinary.h"
#include "subhost/platform/DesktopFolder.h"

#include <exception>
#include <iostream>
#include <string>

namespace {

using namespace glimster::subhost;

constexpr char kCommandText[] = "Take Glimster";

int usage() {
  std::cerr << "usage: glimster-host <plugin-binary> [--demo]\n";
  return 2;
}

// Prints `message` as an error and gives the failing exit status.
int fail(const std::string& message) {
  std::cerr << "glimster-host: " << message << '\n';
  return 1;
}

// Lists what the host saw go wrong; true when anything did.
bool reportTrouble(const Host& host) {
  for (const std::string& report : host.reports()) {
    std::cerr << "glimster-host: the plug-in reported: " << report << '\n';
  }
  for (const std::string& problem : host.problems()) {
    std::cerr << "glimster-host: " << problem << '\n';
  }
  const Outstanding left = host.outstanding();
  if (!left.none()) {
    std::cerr << "glimster-host: handles not given back: " << left.describe() << '\n';
  }
  return !host.problems().empty() || !left.none();
}

// Captures the demo composition and prints the written file's path.
int captureDemo(Host& host) {
  if (host.menus().find(AEGP_Menu_COMPOSITION, kCommandText) == nullptr) {
    return fail(std::string("the Composition menu has no \"") + kCommandText + "\" item");
  }
  const std::filesystem::path desktop = platform::desktopFolder();
  const FolderSnapshot before = FolderSnapshot::of(desktop);
  const CommandOutcome outcome = host.issueMenuCommand(kCommandText);
  const std::vector<std::filesystem::path> written =
      FolderSnapshot::of(desktop).writtenSince(before);

  if (outcome.result != A_Err_NONE) {
    return fail("the command failed with code " + std::to_string(outcome.result));
  }
  if (!outcome.handled) {
    return fail("the plug-in did not mark the command handled");
  }
  if (written.size() != 1) {
    return fail("expected one new file in " + desktop.u8string() + ", found " +
                std::to_string(written.size()));
  }
  std::cout << written.front().u8string() << '\n';
  return 0;
}

int run(const std::filesystem::path& pluginFile, bool demo) {
  const PluginBinary plugin(pluginFile);
  Host host;
  if (demo) {
    host.project().setActive(&addDemoComposition(host.project()));
  }
  const A_Err entry = host.runEntry(plugin);
  if (entry != A_Err_NONE) {
    reportTrouble(host);
    return fail("EntryPointFunc returned " + std::to_string(entry));
  }
  const A_Err menus = host.updateMenus();
  int status = menus == A_Err_NONE ? 0 : fail("UpdateMenuHook returned " + std::to_string(menus));
  if (status == 0 && demo) {
    status = captureDemo(host);
  }
  host.quit();
  if (reportTrouble(host) && status == 0) {
    status = 1;
  }
  if (status == 0 && !demo) {
    std::cout << "started " << plugin.file().u8string() << '\n';
  }
  return status;
}

} // namespace

int main(int argc, char** argv) {
  const bool demo = argc == 3 && std::string(argv[2]) == "--demo";
  if (argc != 2 && !demo) {
    return usage();
  }
  try {
    return run(argv[1], demo);
  } catch (const std::exception& error) {
    return fail(error.what());
  }
}
