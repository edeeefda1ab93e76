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

std::string describe(const Item& composition, const std::string& frame_description) {
  return quoted(ToUtf8(composition.name)) + ", " + std::to_string(composition.width) + 'x' +
         std::to_string(composition.height) + ", " + frame_description + ", time " +
         std::to_string(composition.current_time.value) + '/' +
         std::to_string(composition.current_time.scale);
}

// Whether `file` is a PNG holding exactly the pixels of `frame`: only such a
// file is the capture's. A temporary file, another program's file or a PNG
// that does not decode to the frame is not.
bool HoldsFrame(const std::filesystem::path& file, const Frame& frame) {
  if (file.extension() != ".png") {
    return false;
  }
  try {
    const Frame written = PngFrame(file, PngColours::kAsStored);
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

void PrintReports(const Host& host, std::size_t& shown, std::ostream& out) {
  for (; shown < host.reports().size(); ++shown) {
    out << "report: " << host.reports()[shown] << '\n';
  }
}

bool CaptureComposition(Host& host, const Item& composition, const std::string& frame_description,
                        const std::filesystem::path& desktop, std::ostream& out,
                        std::ostream& err) {
  out << "capture: " << describe(composition, frame_description) << '\n';
  if (host.menus().find(AEGP_Menu_COMPOSITION, kCaptureCommandText) == nullptr) {
    err << kProgram << "capture failed: the Composition menu has no " << quoted(kCaptureCommandText)
        << " item\n";
    return false;
  }
  const FolderSnapshot before = FolderSnapshot::of(desktop);
  std::size_t reports_shown = host.reports().size();
  const auto start = std::chrono::steady_clock::now();
  const CommandOutcome outcome = host.IssueMenuCommand(kCaptureCommandText);
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;

  std::size_t captured = 0;
  for (const std::filesystem::path& file : FolderSnapshot::of(desktop).WrittenSince(before)) {
    const bool ours = HoldsFrame(file, *composition.frame);
    out << (ours ? "wrote: " : "also changed (not the captured frame): ") << file.u8string()
        << '\n';
    captured += ours ? 1 : 0;
  }
  out << "took: " << std::fixed << std::setprecision(1) << took.count() << " ms\n";
  PrintReports(host, reports_shown, out);
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
