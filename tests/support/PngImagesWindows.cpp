// PNG files read with the Windows Imaging Component (under Wine, Wine's own
// PNG codec), independently of the LodePNG code the plug-in uses.
#include <stdexcept>

#include "tests/support/PngImages.h"
#include "tests/windows/WindowsTestSupport.h"

namespace glimster::test_support {

std::optional<Rgba8> DecodePng(const std::filesystem::path& file) {
  try {
    windows_tests::DecodedImage image = windows_tests::DecodePngWithWic(file);
    return Rgba8{image.width, image.height, std::move(image.rgba)};
  } catch (const std::runtime_error&) {
    return std::nullopt;
  }
}

}  // namespace glimster::test_support
