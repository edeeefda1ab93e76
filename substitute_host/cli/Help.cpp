#include "substitute_host/cli/Help.h"

#include "substitute_host/Operations.h"
#include "substitute_host/cli/OptionTable.h"
#include "substitute_host/suites/OfferedSuites.h"

namespace glimster::substitute_host::cli {
namespace {

// The column each option's description starts in.
constexpr std::size_t kDescriptionColumn = 23;

// The options, a row each: the option and its placeholder, then its
// description in its own column, on the next line when they leave no room.
std::string OptionsText() {
  const std::string indent(kDescriptionColumn, ' ');
  std::string text;
  for (const OptionRow& row : OptionTable()) {
    if (!row.heading.empty()) text += std::string(row.heading) + '\n';
    std::string option = "  ";
    if (!row.short_name.empty()) option += std::string(row.short_name) + ", ";
    option += row.name;
    if (row.TakesValue()) option += " " + std::string(row.placeholder);
    text += option.size() + 2 <= kDescriptionColumn
                ? option + std::string(kDescriptionColumn - option.size(), ' ')
                : option + '\n' + indent;
    for (const char c : row.help) {
      text += c;
      if (c == '\n') text += indent;
    }
    text += '\n';
  }
  return text;
}

}  // namespace

std::string HelpText(const std::filesystem::path& default_plugin) {
  return R"(usage: glimster-host [OPTIONS] [PLUGIN]

Loads a plug-in binary into the substitute host and starts it as the host
does: calls its EntryPointFunc, shows the menu items it added and their state
after UpdateMenuHook with nothing, a footage item and a composition active,
then captures the composition by choosing "Take Glimster" and prints the path
of the PNG written and the time the command took. Only a new or replaced PNG
in the desktop folder that decodes to exactly the rendered frame counts as
written; other files changing there meanwhile are listed as not the capture.

PLUGIN defaults to the plug-in built with this program:
  )" + default_plugin.u8string() +
         R"(

)" + OptionsText() +
         R"(
Exit status:
  0  the plug-in started and the capture wrote its file (each one, with --repeat)
  1  a plug-in call returned an error, the capture wrote no PNG of the frame,
     the plug-in misused the host (an unknown handle, a handle or suite not
     given back, ...), or the substitute host itself failed or could not go on
     (it ran out of memory, the desktop folder cannot be made, ...; the message
     says so, never blaming the plug-in)
  2  usage error: an unknown option, a missing or malformed value, an unreadable
     or damaged --frame-png file or a missing --desktop folder
  3  the plug-in could not be loaded: no such file, not a loadable library, or
     no EntryPointFunc exported

Examples:
  glimster-host                                   capture a 1920x1080 test card
  glimster-host --comp-name "Shot 12" --size 3840x2160 --time 48/24 --desktop /tmp
  glimster-host --frame-png still.png             capture the pixels of still.png
  glimster-host --repeat 200 --desktop /tmp       200 captures, then the peak memory
  glimster-host --no-capture --trace path/to/Glimster.so
                                                  registration and menu states, call by call
  glimster-host --fail AEGP_RenderAndCheckoutFrame:7
                                                  see the capture fail in the render
  glimster-host --refuse-suite "AEGP Register Suite":6
                                                  see registration fail
  glimster-host --macos arm64 --demo              the demo, captured by the arm64 slice of
                                                  the Glimster.plugin this build made
)";
}

std::string OperationsText() {
  std::string text = "Operations (--fail OP):\n";
  for (const std::string_view operation : op::kFaultable) {
    text += "  " + std::string(operation) + '\n';
  }
  text += "Suites (--refuse-suite NAME:VERSION):\n";
  for (const OfferedSuite& suite : OfferedSuites()) {
    text += "  \"" + std::string(suite.name) + "\":" + std::to_string(suite.version) + '\n';
  }
  return text;
}

std::string HelpHint() { return "Try 'glimster-host --help' for more information."; }

}  // namespace glimster::substitute_host::cli
