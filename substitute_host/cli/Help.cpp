#include "substitute_host/cli/Help.h"

#include "substitute_host/HostErrors.h"
#include "substitute_host/Operations.h"
#include "substitute_host/cli/MacSlice.h"
#include "substitute_host/cli/Options.h"
#include "substitute_host/suites/OfferedSuites.h"

namespace glimster::substitute_host::cli {

std::string helpText(const std::filesystem::path& defaultPlugin) {
  return R"(usage: glimster-host [OPTIONS] [PLUGIN]

Loads a plug-in binary into the substitute host and starts it as the host
does: calls its EntryPointFunc, shows the menu items it added and their state
after UpdateMenuHook with nothing, a footage item and a composition active,
then captures the composition by choosing "Take Glimster" and prints the path
of the PNG written and the time the command took. Only a new or replaced PNG
in the desktop folder that decodes to exactly the rendered frame counts as
written; other files changing there meanwhile are listed as not the capture.

PLUGIN defaults to the plug-in built with this program:
  )" + defaultPlugin.u8string() +
         R"(

The Mac code:
)" + macSliceHelp() +
         R"(Composition:
  --comp-name NAME     its name, in UTF-8 (default "Comp 1")
  --size WxH           its size in pixels, each side 1 to 30000 (default 1920x1080)
  --time T             its current time: whole seconds or VALUE/SCALE, e.g. 2 or
                       48/24 (default 0)
Its rendered frame, premultiplied by alpha as the host renders colour, one of:
  --test-card          colour bars, a grey ramp and bars fading to transparent (default)
  --noise SEED         noise in every channel, alpha included, the same for a SEED
                       (0 to 4294967295) everywhere
  --frame-png FILE     the pixels of a PNG file, alpha kept; the PNG gives the size. Its
                       colours are straight (as PNG defines them) and are premultiplied:
                       each times alpha / 255, rounded to the nearest integer
  --demo               the built-in demo composition instead: "Glimster Démo – Ünïcødé",
                       640x360 gradients with partial transparency and padded rows, at
                       48/24; not combined with the options above
Where the file goes:
  --desktop DIR        an existing folder the plug-in takes for the desktop (default: the
                       desktop as the plug-in finds it: $HOME/Desktop for a Linux build;
                       for the Mac code, as Foundation finds it, Desktop in
                       $CFFIXED_USER_HOME, else in the user database's home folder, never
                       in $HOME; the shell's desktop folder on Windows). On Windows the
                       plug-in is given DIR itself (at most 259 UTF-16 units). Elsewhere
                       it takes Desktop in its home folder: a DIR named Desktop is given
                       itself (HOME, for the Mac code CFFIXED_USER_HOME, is set to its
                       parent), any other DIR through a link named Desktop in a temporary
                       folder, and a "desktop:" line names that link; a case that depends
                       on the length of the desktop's path needs a DIR named Desktop
  --no-capture         stop after the menu states; write nothing
  --repeat N           capture N times (1 to )" +
         std::to_string(kMostRepeats) + R"() in this one process, stopping
                       at the first failure, then print the peak resident memory: a
                       soak run
Watching the plug-in:
  --trace              after the run, list every call between host and plug-in in
                       order, with arguments and results; calls into the plug-in start
                       a line, the host calls they made are indented under them
  --fail OP[:CODE[:NTH]][:written]
                       make calls of the host operation OP answer CODE (default )" +
         std::to_string(kHostGenericError) + R"()
                       without carrying it out: every call, or only the NTH one (from
                       1, counted from the start: the entry and the three menu updates
                       come before the capture); with :written the operation is carried
                       out and its out-parameters written all the same, only the code
                       differs; may be repeated. A fault whose call never came is
                       named in a warning, which changes no exit status
  --refuse-suite NAME:VERSION[:CODE]
                       make acquiring that suite answer CODE (default )" +
         std::to_string(kSuiteNotOfferedError) + R"() and no
                       table; may be repeated
  --list-operations    list the operations and suites these two accept, and exit
  -h, --help           show this help, and exit

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
  glimster-host --comp-name "Shot 12" --size 3840x2160 --time 48/24 --desktop /tmp/out
  glimster-host --frame-png still.png             capture the pixels of still.png
  glimster-host --repeat 200 --desktop /tmp/soak  200 captures, then the peak memory
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

std::string operationsText() {
  std::string text = "Operations (--fail OP):\n";
  for (const std::string_view operation : op::kFaultable) {
    text += "  " + std::string(operation) + '\n';
  }
  text += "Suites (--refuse-suite NAME:VERSION):\n";
  for (const OfferedSuite& suite : offeredSuites()) {
    text += "  \"" + std::string(suite.name) + "\":" + std::to_string(suite.version) + '\n';
  }
  return text;
}

std::string helpHint() { return "Try 'glimster-host --help' for more information."; }

}  // namespace glimster::substitute_host::cli
