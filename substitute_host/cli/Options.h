// glimster-host's command line, read into what to do.
#pragma once

#include "host/AE_HostInterface.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace glimster::substitute_host::cli {

// The command line cannot be understood; the message says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class FrameSource { kTestCard, kNoise, kPng, kDemo };

struct FrameSize {
  A_long width;
  A_long height;
};

// --fail OP[:CODE[:NTH]][:written]: calls of `op` answer `code`; only the nth
// one when given; with "written", the operation is carried out and its
// out-parameters written all the same.
struct CallFailure {
  std::string op;
  A_Err code;
  std::optional<int> nth;
  bool written = false;
};

// --refuse-suite NAME:VERSION[:CODE]: acquiring the suite answers `code`.
struct SuiteRefusalOption {
  std::string suite;
  std::int32_t version;
  SPErr code;
};

// The most captures one --repeat asks for.
inline constexpr int kMostRepeats = 1000000;

// The host's largest composition side, in pixels: of --size, and of the PNG
// --frame-png gives.
inline constexpr A_long kLargestSide = 30000;

struct Options {
  enum class Action { kRun, kShowHelp, kListOperations };
  Action action = Action::kRun;

  std::optional<std::filesystem::path> plugin;  // none: the plug-in built with this program
  // --macos ARCH: the x86_64 or arm64 slice of a Glimster.plugin (`plugin`
  // then names the bundle) through macos_runner.
  std::optional<std::string> macos;
  std::string comp_name = "Comp 1";  // UTF-8
  FrameSize size{1920, 1080};
  A_Time time{0, 1};
  FrameSource frame = FrameSource::kTestCard;
  std::uint32_t noise_seed = 0;
  std::filesystem::path frame_png;
  std::optional<std::filesystem::path> desktop;  // none: the user's desktop
  bool capture = true;
  std::optional<int> repeat;  // --repeat N: N captures and the peak memory
  bool trace = false;
  std::vector<CallFailure> failures;
  std::vector<SuiteRefusalOption> refusals;
};

// Reads the arguments after the program name (UTF-8) by the rows of
// optionTable() (OptionTable.h); throws UsageError for an unknown option, a
// missing or malformed value, or options that conflict.
Options ParseOptions(const std::vector<std::string>& arguments);

}  // namespace glimster::substitute_host::cli
