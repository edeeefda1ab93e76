// Writing a rendered frame to a PNG file.
#pragma once

#include <string>

#include "host/AE_HostInterface.h"

// The code of a file that cannot be created ("failed to open file for writing").
inline constexpr unsigned kPngOpenFailed = 79;

// Repacks `world` and writes it as a PNG at `utf8_path`, replacing any file
// there only once the whole PNG is on disk. Gives 0 or the failure's code,
// after printing its line (PrintPngError).
unsigned WriteFrameAsPng(const PF_EffectWorld& world, const std::string& utf8_path);

// Prints "error <code>: <text>" for a failure code of the PNG writer on
// standard output.
void PrintPngError(unsigned code);
