// What a capture should give, shared by the Linux and the Windows tests: the
// image the plug-in should write for a frame, and the one report of a failure.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "substitute_host/Frame.h"

namespace glimster::test_support {

// Width × height pixels, 8-bit red, green, blue, alpha, rows top first, no gaps.
struct Rgba8 {
  unsigned width = 0;
  unsigned height = 0;
  std::vector<std::uint8_t> pixels;
};

// The frame's pixels as RGBA.
Rgba8 RgbaOf(const substitute_host::Frame& frame);

// Whether `reports` is exactly one report, printable ASCII, that holds
// "(error <code>)".
::testing::AssertionResult ReportedOnce(const std::vector<std::string>& reports, unsigned code);

}  // namespace glimster::test_support
