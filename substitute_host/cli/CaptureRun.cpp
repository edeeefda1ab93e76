#include "substitute_host/cli/CaptureRun.h"

#include "substitute_host/FolderSnapshot.h"
#include "substitute_host/PngFrame.h"
#include "substitute_host/Text.h"

#include <chrono>
#include <iomanip>
#include <stdexcept>
#include <vector>

namespace glimster::substitute_host::cli {
namespace {

constexpr char kProgram[] = "glimster-host: ";

std::string describe(const Item& composition, const std::string& frameDescription) {
  return quoted(toUtf8(composition.name)) + ", " + std::to_string(composition.width) + 'x' +
         std::to_string(composition.height) + ", " + frameDescription + ", time " +
         std::to_string(composition.currentTime.value) + '/' +
         std::to_string(composition.currentTime.scale);
}

// Whether `file` is a PNG holding exactly the pixels of `frame`: only such a
// file is the capture's. A temporary file, another program's file or a PNG
// that does not decode to the frame is not.
bool holdsFrame(const std::filesystem::path& file, const Frame& frame) {
  if (file.extension() != ".png") {
    return false;
  }
  try {
    const Frame written = pngFrame(file, PngColours::AsStored);
    if (written.width() != frame.width() || written.height() != frame.height()) {
      return false;
    }
    for (A_long y = 0; y < frame.height(); ++y) {
      for (A_long x = 0; x < frame.width(); ++x) {
        if (written.pixel(x, y) != frame.pixel(x, y)) {
          return false;
        }
      }
    }
    return true;
  } catch (const std::runtime_error&) {  // vanished, unreadable or not a PNG
    return false;
  }
}

}  // namespace

void printReports(const Host& host, std::size_t& shown, std::ostream& out) {
  for (; shown < host.reports().size(); ++shown) {
    out << "report: " << host.reports()[shown] << '\n';
  }
}

bool captureComposition(Host& host, const Item& composition, const std::string& frameDescription,
                        const std::filesystem::path& desktop, std::ostream& out,
                        std::ostream& err) {
  out << "capture: " << describe(composition, frameDescription) << '\n';
  if (host.menus().find(AEGP_Menu_COMPOSITION, kCaptureCommandText) == nullptr) {
    err << kProgram << "capture failed: the Composition menu has no " << quoted(kCaptureCommandText)
        << " item\n";
    return false;
  }
  const FolderSnapshot before = FolderSnapshot::of(desktop);
  std::size_t reportsShown = host.reports().size();
  const auto start = std::chrono::steady_clock::now();
  const CommandOutcome outcome = host.issueMenuCommand(kCaptureCommandText);
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;

  std::size_t captured = 0;
  for (const std::filesystem::path& file : FolderSnapshot::of(desktop).writtenSince(before)) {
    const bool ours = holdsFrame(file, *composition.frame);
    out << (ours ? "wrote: " : "also changed (not the captured frame): ") << file.u8string()
        << '\n';
    captured += ours ? 1 : 0;
  }
  out << "took: " << std::fixed << std::setprecision(1) << took.count() << " ms\n";
  printReports(host, reportsShown, out);
  if (outcome.result != A_Err_NONE) {
    err << kProgram << "capture failed: CommandHook returned " << outcome.result << '\n';
    return false;
  }
  if (!outcome.handled) {
    err << kProgram << "capture failed: the plug-in did not mark the command handled\n";
    return false;
  }
  if (captured != 1) {
    err << kProgram << "capture failed: expected one new PNG of the frame in " << desktop.u8string()
        << ", found " << captured << '\n';
    return false;
  }
  return true;
}

}  // namespace glimster::substitute_host::cli
