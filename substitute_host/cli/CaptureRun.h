// Capturing the active composition through the plug-in's menu command.
#pragma once

#include "substitute_host/Host.h"

#include <cstddef>
#include <filesystem>
#include <ostream>
#include <string>

namespace glimster::substitute_host::cli {

// The menu command that captures.
inline constexpr char kCaptureCommandText[] = "Take Glimster";

// Prints a "report: " line for each information report the host showed
// after the first `shown`, and counts them into `shown`.
void PrintReports(const Host& host, std::size_t& shown, std::ostream& out);

// With `composition` active, chooses "Take Glimster" and watches `desktop`:
// prints what is captured (`frameDescription` says how its frame was made),
// then the path of the file written, how long the command took and the
// reports the plug-in showed, then on `err` why the capture failed. Only a new or replaced PNG that
// decodes to exactly the composition's frame counts as written; any other file that changed
// meanwhile (a temporary, another program's) is listed as such. Gives true when the command
// returned 0, was marked handled and wrote exactly one such file.
bool CaptureComposition(Host& host, const Item& composition, const std::string& frame_description,
                        const std::filesystem::path& desktop, std::ostream& out, std::ostream& err);

}  // namespace glimster::substitute_host::cli
