#include "substitute_host/cli/Options.h"

#include "substitute_host/cli/OptionTable.h"

#include <algorithm>
#include <string_view>

namespace glimster::substitute_host::cli {
namespace {

// The row of the option spelled `name`, or null.
const OptionRow* rowOf(std::string_view name) {
  for (const OptionRow& row : optionTable()) {
    if (name == row.name || (!row.shortName.empty() && name == row.shortName)) return &row;
  }
  return nullptr;
}

// The options given, in order, to refuse those that conflict.
using Given = std::vector<const OptionRow*>;

bool isGiven(const Given& given, std::string_view name) {
  return std::any_of(given.begin(), given.end(),
                     [&](const OptionRow* row) { return row->name == name; });
}

void refuseConflicts(const Options& options, const Given& given) {
  if (options.repeat && !options.capture) {
    throw UsageError("--repeat cannot be combined with --no-capture: it repeats the capture");
  }
  std::vector<std::string> frameSources;
  for (const OptionRow* row : given) {
    if (row->frameSource) frameSources.emplace_back(row->name);
  }
  if (frameSources.size() > 1) {
    throw UsageError(frameSources[0] + " and " + frameSources[1] +
                     " cannot be combined: the frame comes from one source");
  }
  const std::string source = frameSources.empty() ? "" : frameSources[0];
  if (source == "--frame-png" && isGiven(given, "--size")) {
    throw UsageError("--size cannot be combined with --frame-png: the PNG gives the size");
  }
  if (source == "--demo" &&
      (isGiven(given, "--size") || isGiven(given, "--comp-name") || isGiven(given, "--time"))) {
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
      const OptionRow* row = rowOf(name);
      std::string value;
      if (row == nullptr) {
        throw UsageError("unknown option " + name);
      } else if (!row->takesValue()) {
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
  refuseConflicts(options, given);
  return options;
}

}  // namespace glimster::substitute_host::cli
