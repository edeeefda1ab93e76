#include "substitute_host/cli/Options.h"

#include "substitute_host/HostErrors.h"
#include "substitute_host/Operations.h"
#include "substitute_host/suites/OfferedSuites.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>

namespace glimster::substitute_host::cli {
namespace {

// `text` as a whole decimal integer of type Int, or nullopt.
template <typename Int>
std::optional<Int> integerOf(std::string_view text) {
  Int value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) {
    return std::nullopt;
  }
  return value;
}

// `text` split at every colon.
std::vector<std::string> fieldsOf(const std::string& text) {
  std::vector<std::string> fields(1);
  for (const char c : text) {
    if (c == ':') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

FrameSize sizeOf(const std::string& text) {
  const std::size_t x = text.find('x');
  const auto width = integerOf<A_long>(std::string_view(text).substr(0, x));
  const auto height = x == std::string::npos
                          ? std::nullopt
                          : integerOf<A_long>(std::string_view(text).substr(x + 1));
  if (!width || !height || *width < 1 || *height < 1 || *width > kLargestSide ||
      *height > kLargestSide) {
    throw UsageError("--size wants WIDTHxHEIGHT, each from 1 to " + std::to_string(kLargestSide) +
                     ", e.g. 1920x1080; got \"" + text + "\"");
  }
  return FrameSize{*width, *height};
}

A_Time timeOf(const std::string& text) {
  const std::size_t slash = text.find('/');
  const auto value = integerOf<A_long>(std::string_view(text).substr(0, slash));
  const auto scale = slash == std::string::npos
                         ? std::optional<A_u_long>(1)
                         : integerOf<A_u_long>(std::string_view(text).substr(slash + 1));
  if (!value || !scale || *scale == 0) {
    throw UsageError("--time wants whole seconds or VALUE/SCALE, e.g. 2 or 48/24; got \"" + text +
                     "\"");
  }
  return A_Time{*value, *scale};
}

CallFailure callFailureOf(const std::string& text) {
  std::vector<std::string> fields = fieldsOf(text);
  const bool written = fields.size() > 1 && fields.back() == "written";
  if (written) {
    fields.pop_back();
  }
  if (fields.size() > 3) {
    throw UsageError("--fail wants OP[:CODE[:NTH]][:written]; got \"" + text + "\"");
  }
  CallFailure failure{fields[0], kHostGenericError, std::nullopt, written};
  if (std::find(std::begin(op::kFaultable), std::end(op::kFaultable), failure.op) ==
      std::end(op::kFaultable)) {
    throw UsageError("--fail: the host offers no operation \"" + failure.op +
                     "\" (glimster-host --list-operations lists them)");
  }
  if (fields.size() > 1) {
    const auto code = integerOf<A_Err>(fields[1]);
    if (!code) {
      throw UsageError("--fail: the error code must be an integer; got \"" + fields[1] + "\"");
    }
    failure.code = *code;
  }
  if (fields.size() > 2) {
    failure.nth = integerOf<int>(fields[2]);
    if (!failure.nth || *failure.nth < 1) {
      throw UsageError("--fail: NTH counts calls from 1; got \"" + fields[2] + "\"");
    }
  }
  return failure;
}

SuiteRefusalOption refusalOf(const std::string& text) {
  const std::vector<std::string> fields = fieldsOf(text);
  const auto version = fields.size() >= 2 ? integerOf<std::int32_t>(fields[1]) : std::nullopt;
  if (fields.size() > 3 || !version) {
    throw UsageError(
        "--refuse-suite wants NAME:VERSION[:CODE], e.g. \"AEGP Render Suite\":2; got \"" + text +
        "\"");
  }
  SuiteRefusalOption refusal{fields[0], *version, kSuiteNotOfferedError};
  const auto& offered = offeredSuites();
  if (std::none_of(offered.begin(), offered.end(), [&](const OfferedSuite& suite) {
        return refusal.suite == suite.name && refusal.version == suite.version;
      })) {
    throw UsageError("--refuse-suite: the host offers no suite \"" + refusal.suite + "\" version " +
                     fields[1] + " (glimster-host --list-operations lists them)");
  }
  if (fields.size() > 2) {
    const auto code = integerOf<SPErr>(fields[2]);
    if (!code) {
      throw UsageError("--refuse-suite: the error code must be an integer; got \"" + fields[2] +
                       "\"");
    }
    refusal.code = *code;
  }
  return refusal;
}

constexpr std::string_view kFlags[] = {
    "-h", "--help", "--list-operations", "--test-card", "--demo", "--no-capture", "--trace"};
constexpr std::string_view kValued[] = {"--comp-name",    "--size",    "--time",   "--noise",
                                        "--frame-png",    "--desktop", "--repeat", "--fail",
                                        "--refuse-suite", "--macos"};
// The slices of Glimster.plugin, by macOS's names.
constexpr std::string_view kMacArchitectures[] = {"x86_64", "arm64"};

bool isOneOf(std::string_view name, const std::string_view* begin, const std::string_view* end) {
  return std::find(begin, end, name) != end;
}

// Which composition options were given, to refuse those that conflict.
struct Given {
  std::vector<std::string> frameSources;
  bool size = false;
  bool compName = false;
  bool time = false;
};

void applyFlag(const std::string& name, Options& options, Given& given) {
  if (name == "-h" || name == "--help") {
    options.action = Options::Action::ShowHelp;
  } else if (name == "--list-operations") {
    options.action = Options::Action::ListOperations;
  } else if (name == "--test-card") {
    options.frame = FrameSource::TestCard;
    given.frameSources.push_back(name);
  } else if (name == "--demo") {
    options.frame = FrameSource::Demo;
    given.frameSources.push_back(name);
  } else if (name == "--no-capture") {
    options.capture = false;
  } else {
    options.trace = true;
  }
}

void applyValued(const std::string& name, const std::string& value, Options& options,
                 Given& given) {
  if (name == "--comp-name") {
    options.compName = value;
    given.compName = true;
  } else if (name == "--size") {
    options.size = sizeOf(value);
    given.size = true;
  } else if (name == "--time") {
    options.time = timeOf(value);
    given.time = true;
  } else if (name == "--noise") {
    const auto seed = integerOf<std::uint32_t>(value);
    if (!seed) {
      throw UsageError("--noise wants a seed from 0 to 4294967295; got \"" + value + "\"");
    }
    options.frame = FrameSource::Noise;
    options.noiseSeed = *seed;
    given.frameSources.push_back(name);
  } else if (name == "--frame-png") {
    options.frame = FrameSource::Png;
    options.framePng = std::filesystem::u8path(value);
    given.frameSources.push_back(name);
  } else if (name == "--desktop") {
    options.desktop = std::filesystem::u8path(value);
  } else if (name == "--repeat") {
    const auto count = integerOf<int>(value);
    if (!count || *count < 1 || *count > kMostRepeats) {
      throw UsageError("--repeat wants a count from 1 to " + std::to_string(kMostRepeats) +
                       "; got \"" + value + "\"");
    }
    options.repeat = *count;
  } else if (name == "--fail") {
    options.failures.push_back(callFailureOf(value));
  } else if (name == "--macos") {
    if (!isOneOf(value, std::begin(kMacArchitectures), std::end(kMacArchitectures))) {
      throw UsageError("--macos wants x86_64 or arm64; got \"" + value + "\"");
    }
    options.macos = value;
  } else {
    options.refusals.push_back(refusalOf(value));
  }
}

void refuseConflicts(const Options& options, const Given& given) {
  if (options.repeat && !options.capture) {
    throw UsageError("--repeat cannot be combined with --no-capture: it repeats the capture");
  }
  if (given.frameSources.size() > 1) {
    throw UsageError(given.frameSources[0] + " and " + given.frameSources[1] +
                     " cannot be combined: the frame comes from one source");
  }
  const std::string source = given.frameSources.empty() ? "" : given.frameSources[0];
  if (source == "--frame-png" && given.size) {
    throw UsageError("--size cannot be combined with --frame-png: the PNG gives the size");
  }
  if (source == "--demo" && (given.size || given.compName || given.time)) {
    throw UsageError(
        "--demo fixes the composition: it cannot be combined with --comp-name, --size or --time");
  }
}

}  // namespace

Options parseOptions(const std::vector<std::string>& arguments) {
  Options options;
  Given given;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      const std::size_t equals = argument.find('=');
      const std::string name = argument.substr(0, equals);
      if (isOneOf(name, std::begin(kFlags), std::end(kFlags))) {
        if (equals != std::string::npos) {
          throw UsageError(name + " takes no value");
        }
        applyFlag(name, options, given);
      } else if (!isOneOf(name, std::begin(kValued), std::end(kValued))) {
        throw UsageError("unknown option " + name);
      } else if (equals != std::string::npos) {
        applyValued(name, argument.substr(equals + 1), options, given);
      } else if (i + 1 < arguments.size()) {
        applyValued(name, arguments[++i], options, given);
      } else {
        throw UsageError(name + " needs a value");
      }
    } else if (options.plugin) {
      throw UsageError("one plug-in at a time: got " + options.plugin->u8string() + " and " +
                       argument);
    } else {
      options.plugin = std::filesystem::u8path(argument);
    }
  }
  refuseConflicts(options, given);
  return options;
}

}  // namespace glimster::substitute_host::cli
