#include "tests/support/CaptureExpectations.h"

namespace glimster::test_support {

Rgba8 RgbaOf(const substitute_host::Frame& frame) {
  Rgba8 image;
  image.width = static_cast<unsigned>(frame.width());
  image.height = static_cast<unsigned>(frame.height());
  for (A_long y = 0; y < frame.height(); ++y) {
    for (A_long x = 0; x < frame.width(); ++x) {
      const substitute_host::Argb p = frame.pixel(x, y);
      image.pixels.insert(image.pixels.end(), {p.red, p.green, p.blue, p.alpha});
    }
  }
  return image;
}

::testing::AssertionResult ReportedOnce(const std::vector<std::string>& reports, unsigned code) {
  if (reports.size() != 1) {
    return ::testing::AssertionFailure()
           << reports.size() << " reports: " << ::testing::PrintToString(reports);
  }
  const std::string& report = reports.front();
  for (const char c : report) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) {
      return ::testing::AssertionFailure() << "not printable ASCII: " << report;
    }
  }
  if (report.find("(error " + std::to_string(code) + ")") == std::string::npos) {
    return ::testing::AssertionFailure() << "no code " << code << ": " << report;
  }
  return ::testing::AssertionSuccess() << report;
}

}  // namespace glimster::test_support
