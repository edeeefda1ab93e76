#include "substitute_host/cli/OptionValues.h"

#include "substitute_host/HostErrors.h"
#include "substitute_host/Operations.h"
#include "substitute_host/suites/OfferedSuites.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

namespace glimster::substitute_host::cli {
namespace {

// `text` as a whole decimal integer of type Int, or nullopt.
template <typename Int>
std::optional<Int> IntegerOf(std::string_view text) {
  Int value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) {
    return std::nullopt;
  }
  return value;
}

// `text` split at every colon.
std::vector<std::string> FieldsOf(const std::string& text) {
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

// The slices of Glimster.plugin, by macOS's names.
constexpr std::string_view kMacArchitectures[] = {"x86_64", "arm64"};

}  // namespace

FrameSize SizeOf(const std::string& text) {
  const std::size_t x = text.find('x');
  const auto width = IntegerOf<A_long>(std::string_view(text).substr(0, x));
  const auto height = x == std::string::npos
                          ? std::nullopt
                          : IntegerOf<A_long>(std::string_view(text).substr(x + 1));
  if (!width || !height || *width < 1 || *height < 1 || *width > kLargestSide ||
      *height > kLargestSide) {
    throw UsageError("--size wants WIDTHxHEIGHT, each from 1 to " + std::to_string(kLargestSide) +
                     ", e.g. 1920x1080; got \"" + text + "\"");
  }
  return FrameSize{*width, *height};
}

A_Time TimeOf(const std::string& text) {
  const std::size_t slash = text.find('/');
  const auto value = IntegerOf<A_long>(std::string_view(text).substr(0, slash));
  const auto scale = slash == std::string::npos
                         ? std::optional<A_u_long>(1)
                         : IntegerOf<A_u_long>(std::string_view(text).substr(slash + 1));
  if (!value || !scale || *scale == 0) {
    throw UsageError("--time wants whole seconds or VALUE/SCALE, e.g. 2 or 48/24; got \"" + text +
                     "\"");
  }
  return A_Time{*value, *scale};
}

CallFailure CallFailureOf(const std::string& text) {
  std::vector<std::string> fields = FieldsOf(text);
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
    const auto code = IntegerOf<A_Err>(fields[1]);
    if (!code) {
      throw UsageError("--fail: the error code must be an integer; got \"" + fields[1] + "\"");
    }
    failure.code = *code;
  }
  if (fields.size() > 2) {
    failure.nth = IntegerOf<int>(fields[2]);
    if (!failure.nth || *failure.nth < 1) {
      throw UsageError("--fail: NTH counts calls from 1; got \"" + fields[2] + "\"");
    }
  }
  return failure;
}

SuiteRefusalOption SuiteRefusalOf(const std::string& text) {
  const std::vector<std::string> fields = FieldsOf(text);
  const auto version = fields.size() >= 2 ? IntegerOf<std::int32_t>(fields[1]) : std::nullopt;
  if (fields.size() > 3 || !version) {
    throw UsageError(
        "--refuse-suite wants NAME:VERSION[:CODE], e.g. \"AEGP Render Suite\":2; got \"" + text +
        "\"");
  }
  SuiteRefusalOption refusal{fields[0], *version, kSuiteNotOfferedError};
  const auto& offered = OfferedSuites();
  if (std::none_of(offered.begin(), offered.end(), [&](const OfferedSuite& suite) {
        return refusal.suite == suite.name && refusal.version == suite.version;
      })) {
    throw UsageError("--refuse-suite: the host offers no suite \"" + refusal.suite + "\" version " +
                     fields[1] + " (glimster-host --list-operations lists them)");
  }
  if (fields.size() > 2) {
    const auto code = IntegerOf<SPErr>(fields[2]);
    if (!code) {
      throw UsageError("--refuse-suite: the error code must be an integer; got \"" + fields[2] +
                       "\"");
    }
    refusal.code = *code;
  }
  return refusal;
}

std::uint32_t NoiseSeedOf(const std::string& text) {
  const auto seed = IntegerOf<std::uint32_t>(text);
  if (!seed) {
    throw UsageError("--noise wants a seed from 0 to 4294967295; got \"" + text + "\"");
  }
  return *seed;
}

int RepeatCountOf(const std::string& text) {
  const auto count = IntegerOf<int>(text);
  if (!count || *count < 1 || *count > kMostRepeats) {
    throw UsageError("--repeat wants a count from 1 to " + std::to_string(kMostRepeats) +
                     "; got \"" + text + "\"");
  }
  return *count;
}

std::string MacArchitectureOf(const std::string& text) {
  if (std::find(std::begin(kMacArchitectures), std::end(kMacArchitectures), text) ==
      std::end(kMacArchitectures)) {
    throw UsageError("--macos wants x86_64 or arm64; got \"" + text + "\"");
  }
  return text;
}

}  // namespace glimster::substitute_host::cli
