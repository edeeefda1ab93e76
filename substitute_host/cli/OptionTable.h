// glimster-host's options, one row each: the one list the command line is
// read by (Options.cpp) and --help shows (Help.cpp).
#pragma once

#include "substitute_host/cli/Options.h"

#include <string>
#include <string_view>
#include <vector>

namespace glimster::substitute_host::cli {

// Sets in `options` what one option asks for, given its value ("" for a
// flag); throws UsageError for a value it cannot use.
using OptionSetter = void (*)(const std::string& value, Options& options);

// One option: how it is spelled, what --help says of it and what it sets.
struct OptionRow {
  std::string_view name;         // "--size"
  std::string_view placeholder;  // its value in --help ("WxH"); none for a flag, which takes none
  // What --help says of it; each '\n' starts a new line in the same column.
  std::string help;
  OptionSetter set;
  // The lines --help shows before this row, where it opens a group of options.
  std::string_view heading = {};
  std::string_view short_name = {};  // "-h": the same option
  bool frame_source = false;         // one of the frame's sources, of which one may be given

  bool TakesValue() const { return !placeholder.empty(); }
};

// The rows, in --help's order.
const std::vector<OptionRow>& OptionTable();

}  // namespace glimster::substitute_host::cli
