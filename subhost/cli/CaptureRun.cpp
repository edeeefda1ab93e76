#include "subhost/cli/CaptureRun.h"

#include "subhost/FolderSnapshot.h"
#include "subhost/Text.h"

#include <chrono>
#include <iomanip>
#include <vector>

namespace glimster::subhost::cli {
namespace {

constexpr char kProgram[] = "glimster-host: ";

std::string describe(const Item& composition, const std::string& frameDescription) {
  return quoted(toUtf8(composition.name)) + ", " + std::to_string(composition.width) + 'x' +
         std::to_string(composition.height) + ", " + frameDescription + ", time " +
         std::to_string(composition.currentTime.value) + '/' + std::to_string(composition.currentTime.scale);
}

} // namespace

bool captureComposition(Host& host, const Item& composition, const std::string& frameDescription,
                        const std::filesystem::path& desktop, std::ostream& out, std::ostream& err) {
  out << "capture: " << describe(composition, frameDescription) << '\n';
  if (host.menus().find(AEGP_Menu_COMPOSITION, kCaptureCommandText) == nullptr) {
    err << kProgram << "capture failed: the Composition menu has no " << quoted(kCaptureCommandText)
        << " item\n";
    return false;
  }
  const FolderSnapshot before = FolderSnapshot::of(desktop);
  const auto start = std::chrono::steady_clock::now();
  const CommandOutcome outcome = host.issueMenuCommand(kCaptureCommandText);
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
  const std::vector<std::filesystem::path> written = FolderSnapshot::of(desktop).writtenSince(before);

  for (const std::filesystem::path& file : written) {
    out << "wrote: " << file.u8string() << '\n';
  }
  out << "took: " << std::fixed << std::setprecision(1) << took.count() << " ms\n";
  if (outcome.result != A_Err_NONE) {
    err << kProgram << "capture failed: CommandHook returned " << outcome.result << '\n';
    return false;
  }
  if (!outcome.handled) {
    err << kProgram << "capture failed: the plug-in did not mark the command handled\n";
    return false;
  }
  if (written.size() != 1) {
    err << kProgram << "capture failed: expected one new file in " << desktop.u8string() << ", found "
        << written.size() << '\n';
    return false;
  }
  return true;
}

} // namespace glimster::subhost::cli
