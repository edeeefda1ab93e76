#include "substitute_host/cli/Options.h"

#include "substitute_host/cli/OptionTable.h"

#include <algorithm>
#include <string_view>

namespace glimster::substitute_host::cli {
namespace {

// The row of the option spelled `name`, or null.
const OptionRow* RowOf(std::string_view name) {
  for (const OptionRow& row : OptionTable()) {
    if (name == row.name || (!row.short_name.empty() && name == row.short_name)) return &row;
  }
  return nullptr;
}

// The options given, in order, to refuse those that conflict.
using Given = std::vector<const OptionRow*>;

bool IsGiven(const Given& given, std::string_view name) {
  return std::any_of(given.begin(), given.end(),
                     [&](const OptionRow* row) { return row->name == name; });
}

void RefuseConflicts(const Options& options, const Given& given) {
  if (options.repeat && !options.capture) {
    throw UsageError("--repeat cannot be combined with --no-capture: it repeats the capture");
  }
  std::vector<std::string> frame_sources;
  for (const OptionRow* row : given) {
    if (row->frame_source) frame_sources.emplace_back(row->name);
  }
  if (frame_sources.size() > 1) {
    throw UsageError(frame_sources[0] + " and " + frame_sources[1] +
                     " cannot be combined: the frame comes from one source");
  }
  const std::string source = frame_sources.empty() ? "" : frame_sources[0];
  if (source == "--frame-png" && IsGiven(given, "--size")) {
    throw UsageError("--size cannot be combined with --frame-png: the PNG gives the size");
  }
  if (source == "--demo" &&
      (IsGiven(given, "--size") || IsGiven(given, "--comp-name") || IsGiven(given, "--time"))) {
    throw UsageError(
        "--demo fixes the composition: it cannot be combined with --comp-name, --size or --time");
  }
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& arguments) {
  Options options;
  Given given;
  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!options_ended && argument == "--") {
      options_ended = true;
    } else if (!options_ended && argument.size() > 1 && argument[0] == '-') {
      const std::size_t equals = argument.find('=');
      const std::string name = argument.substr(0, equals);
      const OptionRow* row = RowOf(name);
      std::string value;
      if (row == nullptr) {
        throw UsageError("unknown option " + name);
      } else if (!row->TakesValue()) {
        if (equals != std::string::npos) throw UsageError(name + " takes no value");
      } else if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        throw UsageError(name + " needs a value");
      }
      row->set(value, options);
      given.push_back(row);
    } else if (options.plugin) {
      throw UsageError("one plug-in at a time: got " + options.plugin->u8string() + " and " +
                       argument);
    } else {
      options.plugin = std::filesystem::u8path(argument);
    }
  }
  RefuseConflicts(options, given);
  return options;
}

}  // namespace glimster::substitute_host::cli
