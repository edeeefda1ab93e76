// glimster-host --macos ARCH [BUNDLE]: each slice of the bundle this build
// made, loaded through macos_runner (arm64 by the aarch64 glimster-host,
// under qemu-aarch64), captures the frame and is named as its writer, by the
// Mach-O file the runner loaded.
#include "CliFixture.h"

#include "substitute_host/FrameSources.h"
#include "tests/support/PngImages.h"

namespace glimster::cli_tests {
namespace {

using ::testing::StartsWith;

class MacSlice : public CliTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MacSlice, CapturesTheFrameAndIsNamedAsItsWriter) {
  const ToolRun run = RunHostAsGiven({"--macos", GetParam(), "--noise", "3", "--size", "16x8"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  // The Mac code named as the runner says it loaded it.
  EXPECT_THAT(ValueOf(run.out, "plug-in"),
              StartsWith((test_support::BuiltMacBundle() / "Contents/MacOS/Glimster").string() +
                         " (macOS " + GetParam() + " slice, through macos_runner "));
  const std::optional<test_support::Rgba8> image =
      test_support::DecodePng(fs::u8path(ValueOf(run.out, "wrote")));
  ASSERT_TRUE(image.has_value()) << run.out;
  EXPECT_EQ(image->pixels, test_support::RgbaOf(substitute_host::NoiseFrame(16, 8, 3)).pixels);
}

TEST_P(MacSlice, AMissingBundleIsNotLoaded) {
  const fs::path missing = scratch_ / "Glimster.plugin";
  const ToolRun run = RunHostAsGiven({"--macos", GetParam(), missing.string()});
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.err, "glimster-host: cannot load plug-in " + missing.string() + ": no such file\n");
  EXPECT_TRUE(EntriesOf(DefaultDesktop()).empty());
}

INSTANTIATE_TEST_SUITE_P(Slices, MacSlice, ::testing::Values(GLIMSTER_MACOS_SLICES),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

}  // namespace
}  // namespace glimster::cli_tests
