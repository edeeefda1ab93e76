#include "substitute_host/cli/OptionTable.h"

#include "substitute_host/HostErrors.h"
#include "substitute_host/cli/MacSlice.h"
#include "substitute_host/cli/OptionValues.h"

#include <filesystem>

namespace glimster::substitute_host::cli {
namespace {

// The optional columns of a row, named where a later one is given.
constexpr std::string_view kNoHeading = "";
constexpr std::string_view kNoShortName = "";
constexpr bool kFrameSource = true;

}  // namespace

const std::vector<OptionRow>& OptionTable() {
  static const std::vector<OptionRow> kRows = {
      {"--macos", "ARCH", MacSliceHelp(),
       [](const std::string& value, Options& options) { options.macos = MacArchitectureOf(value); },
       "The Mac code:"},
      {"--comp-name", "NAME", "its name, in UTF-8 (default \"Comp 1\")",
       [](const std::string& value, Options& options) { options.comp_name = value; },
       "\nComposition:"},
      {"--size", "WxH", "its size in pixels, each side 1 to 30000 (default 1920x1080)",
       [](const std::string& value, Options& options) { options.size = SizeOf(value); }},
      {"--time", "T",
       "its current time: whole seconds or VALUE/SCALE, e.g. 2 or\n"
       "48/24 (default 0)",
       [](const std::string& value, Options& options) { options.time = TimeOf(value); }},
      {"--test-card", "", "colour bars, a grey ramp and bars fading to transparent (default)",
       [](const std::string&, Options& options) { options.frame = FrameSource::kTestCard; },
       "Its rendered frame, premultiplied by alpha as the host renders colour, one of:",
       kNoShortName, kFrameSource},
      {"--noise", "SEED",
       "noise in every channel, alpha included, the same for a SEED\n"
       "(0 to 4294967295) everywhere",
       [](const std::string& value, Options& options) {
         options.noise_seed = NoiseSeedOf(value);
         options.frame = FrameSource::kNoise;
       },
       kNoHeading, kNoShortName, kFrameSource},
      {"--frame-png", "FILE",
       "the pixels of a PNG file, alpha kept; the PNG gives the size, each\n"
       "side at most 30000 as with --size. Its colours are straight (as\n"
       "PNG defines them) and are premultiplied: each times alpha / 255,\n"
       "rounded to the nearest integer",
       [](const std::string& value, Options& options) {
         options.frame = FrameSource::kPng;
         options.frame_png = std::filesystem::u8path(value);
       },
       kNoHeading, kNoShortName, kFrameSource},
      {"--demo", "",
       "the built-in demo composition instead: \"Glimster Démo – Ünïcødé\",\n"
       "640x360 gradients with partial transparency and padded rows, at\n"
       "48/24; not combined with the options above",
       [](const std::string&, Options& options) { options.frame = FrameSource::kDemo; }, kNoHeading,
       kNoShortName, kFrameSource},
      {"--desktop", "DIR",
       "an existing folder the plug-in takes for the desktop (default: the\n"
       "desktop as the plug-in finds it: $HOME/Desktop for a Linux build;\n"
       "for the Mac code, as Foundation finds it, Desktop in\n"
       "$CFFIXED_USER_HOME, else in the user database's home folder, never\n"
       "in $HOME; the shell's desktop folder on Windows). On Windows the\n"
       "plug-in is given DIR itself (at most 259 UTF-16 units). Elsewhere\n"
       "it takes Desktop in its home folder: a DIR named Desktop is given\n"
       "itself (HOME, for the Mac code CFFIXED_USER_HOME, is set to its\n"
       "parent), any other DIR through a link named Desktop in a temporary\n"
       "folder, and a \"desktop:\" line names that link; a case that depends\n"
       "on the length of the desktop's path needs a DIR named Desktop",
       [](const std::string& value, Options& options) {
         options.desktop = std::filesystem::u8path(value);
       },
       "Where the file goes:"},
      {"--no-capture", "", "stop after the menu states; write nothing",
       [](const std::string&, Options& options) { options.capture = false; }},
      {"--repeat", "N",
       "capture N times (1 to " + std::to_string(kMostRepeats) +
           ") in this one process, stopping\n"
           "at the first failure, then print the peak resident memory: a\n"
           "soak run",
       [](const std::string& value, Options& options) { options.repeat = RepeatCountOf(value); }},
      {"--trace", "",
       "after the run, list every call between host and plug-in in\n"
       "order, with arguments and results; calls into the plug-in start\n"
       "a line, the host calls they made are indented under them",
       [](const std::string&, Options& options) { options.trace = true; }, "Watching the plug-in:"},
      {"--fail", "OP[:CODE[:NTH]][:written]",
       "make calls of the host operation OP answer CODE (default " +
           std::to_string(kHostGenericError) +
           ")\n"
           "without carrying it out: every call, or only the NTH one (from\n"
           "1, counted from the start: the entry and the three menu updates\n"
           "come before the capture); with :written the operation is carried\n"
           "out and its out-parameters written all the same, only the code\n"
           "differs; may be repeated. A fault whose call never came is\n"
           "named in a warning, which changes no exit status",
       [](const std::string& value, Options& options) {
         options.failures.push_back(CallFailureOf(value));
       }},
      {"--refuse-suite", "NAME:VERSION[:CODE]",
       "make acquiring that suite answer CODE (default " + std::to_string(kSuiteNotOfferedError) +
           ") and no\n"
           "table; may be repeated",
       [](const std::string& value, Options& options) {
         options.refusals.push_back(SuiteRefusalOf(value));
       }},
      {"--list-operations", "", "list the operations and suites these two accept, and exit",
       [](const std::string&, Options& options) {
         options.action = Options::Action::kListOperations;
       }},
      {"--help", "", "show this help, and exit",
       [](const std::string&, Options& options) { options.action = Options::Action::kShowHelp; },
       "", "-h"},
  };
  return kRows;
}

}  // namespace glimster::substitute_host::cli
