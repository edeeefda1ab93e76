// Captures through the program: where the file lands, what it holds for each
// frame source, the composition options, and the menu states it reports.
#include "CliFixture.h"

#include <regex>

#include "substitute_host/FrameSources.h"
#include "tests/support/PngImages.h"

namespace glimster::cli_tests {
namespace {

using test_support::DecodePng;
using test_support::Rgba8;
using test_support::RgbaOf;
using test_support::WritePng;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;
using ::testing::StartsWith;

class Capture : public CliTest {
 protected:
  // Runs the program, expects success and one written file; gives its path.
  fs::path CaptureWith(const std::vector<std::string>& arguments) {
    last_ = RunHost(arguments);
    EXPECT_EQ(last_.exit_code, 0) << last_.err;
    const std::string written = ValueOf(last_.out, "wrote");
    EXPECT_NE(written, "") << last_.out;
    return fs::u8path(written);
  }

  ToolRun last_;
};

// The pixel at (x, y) of an RGBA image.
std::vector<std::uint8_t> PixelAt(const Rgba8& image, unsigned x, unsigned y) {
  const auto* p = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

TEST_F(Capture, TheDefaultWritesTheTestCardOntoTheHomeDesktopAndSaysHowLongItTook) {
  const fs::path file = CaptureWith({"--size", "70x40"});
  EXPECT_EQ(file.parent_path(), DefaultDesktop());
  EXPECT_EQ(EntriesOf(DefaultDesktop()), std::vector<fs::path>{file});
  EXPECT_TRUE(IsDefaultCompositionFileName(file.filename().string())) << file;
  EXPECT_TRUE(std::regex_match(ValueOf(last_.out, "took"), std::regex(R"(\d+\.\d ms)")))
      << last_.out;
  EXPECT_EQ(ValueOf(last_.out, "capture"), "\"Comp 1\", 70x40, test card, time 0/1");

  const std::optional<Rgba8> image = DecodePng(file);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->pixels, RgbaOf(substitute_host::TestCardFrame(70, 40)).pixels);
  // The card as described: 75% white top left, a black-to-white opaque ramp
  // in the third quarter, transparency at the bottom right.
  EXPECT_EQ(PixelAt(*image, 0, 0), (std::vector<std::uint8_t>{191, 191, 191, 255}));
  EXPECT_EQ(PixelAt(*image, 69, 0), (std::vector<std::uint8_t>{0, 0, 191, 255}));
  EXPECT_EQ(PixelAt(*image, 0, 25), (std::vector<std::uint8_t>{0, 0, 0, 255}));
  EXPECT_EQ(PixelAt(*image, 69, 25), (std::vector<std::uint8_t>{255, 255, 255, 255}));
  // Premultiplied, as the host renders: the fading bars darken with their alpha.
  EXPECT_EQ(PixelAt(*image, 69, 39), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(PixelAt(*image, 35, 39), (std::vector<std::uint8_t>{0, 94, 0, 126}));
}

// Whether no colour of the RGBA image exceeds its pixel's alpha, as in every
// frame a premultiplying host renders.
bool EveryColourWithinItsAlpha(const Rgba8& image) {
  for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
    const std::uint8_t* p = &image.pixels[i];
    if (p[0] > p[3] || p[1] > p[3] || p[2] > p[3]) return false;
  }
  return true;
}

TEST_F(Capture, DesktopOptionPutsTheFileThereAndLeavesNoTemporaryHomeBehind) {
  const fs::path out = scratch_ / "Chosen Desktop";
  fs::create_directory(out);
  const fs::path file = CaptureWith({"--size", "9x5", "--desktop", out.string()});
  EXPECT_EQ(EntriesOf(out), std::vector<fs::path>{file});
  EXPECT_FALSE(fs::exists(DefaultDesktop()));
  EXPECT_TRUE(EntriesOf(tmp_).empty());
  EXPECT_TRUE(DecodePng(file).has_value());
  // Not named Desktop: the plug-in was given a link, and the output says which.
  EXPECT_THAT(ValueOf(last_.out, "desktop"),
              StartsWith(out.string() + ", given to the plug-in as " + tmp_.string() + "/"));
}

TEST_F(Capture, ADesktopFolderNamedDesktopIsGivenToThePlugInItself) {
  // 996 bytes: too long for even the shortest file name, which only the
  // folder's own path shows (a link in the temporary folder would be short).
  fs::path folder = scratch_;
  while (folder.string().size() + 8 < 996) {
    folder /= std::string(std::min<std::size_t>(100, 996 - 8 - folder.string().size() - 1), 'd');
  }
  folder /= "Desktop";
  ASSERT_EQ(folder.string().size(), 996u);
  fs::create_directories(folder);
  const ToolRun run = RunHost({"--size", "4x4", "--desktop", folder.string()});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(ValueOf(run.out, "desktop"), "");
  EXPECT_EQ(ValueOf(run.out, "report"),
            "Glimster could not save the frame on the desktop: the desktop folder's path is too "
            "long for a file name (error 79).");
  EXPECT_TRUE(EntriesOf(folder).empty());
}

TEST_F(Capture, ADesktopThatIsADanglingLinkIsSaidInPlainWords) {
  fs::create_directories(home_);
  fs::create_directory_symlink(scratch_ / "gone", DefaultDesktop());
  const ToolRun run = RunHost({"--size", "4x4"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "glimster-host: the desktop folder " + DefaultDesktop().string() +
                         " is a link to " + (scratch_ / "gone").string() +
                         ", which does not exist\n");
}

TEST_F(Capture, AnInputPngsStraightColoursArePremultipliedAndItsAlphaKept) {
  Rgba8 input;
  input.width = 2;
  input.height = 2;
  input.pixels = {200, 100, 40, 255, 200, 100, 40, 0, 255, 128, 1, 128, 100, 50, 200, 51};
  const fs::path png = scratch_ / "still.png";
  ASSERT_TRUE(WritePng(png, input));

  const fs::path file = CaptureWith({"--frame-png", png.string()});
  EXPECT_THAT(ValueOf(last_.out, "capture"), HasSubstr(", 2x2, pixels of " + png.string()));
  const std::optional<Rgba8> image = DecodePng(file);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 2u);
  EXPECT_EQ(image->height, 2u);
  EXPECT_EQ(image->pixels, (std::vector<std::uint8_t>{200, 100, 40, 255, 0, 0, 0, 0, 128, 64, 1,
                                                      128, 20, 10, 40, 51}));
}

TEST_F(Capture, NoiseIsTheSameForASeedAndDiffersBetweenSeeds) {
  const fs::path first = CaptureWith({"--noise", "42", "--size", "16x8", "--comp-name", "First"});
  const fs::path second = CaptureWith({"--noise", "43", "--size", "16x8", "--comp-name", "Second"});
  const std::optional<Rgba8> image = DecodePng(first);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->pixels, RgbaOf(substitute_host::NoiseFrame(16, 8, 42)).pixels);
  EXPECT_TRUE(EveryColourWithinItsAlpha(*image));
  EXPECT_NE(DecodePng(second)->pixels, image->pixels);
}

TEST_F(Capture, TheCompositionNameAndTimeAreTheGivenOnes) {
  const fs::path file = CaptureWith(
      {"--comp-name", "Shot 12 \xC3\xA9t\xC3\xA9", "--time", "48/24", "--size", "3x2", "--trace"});
  EXPECT_THAT(file.filename().u8string(), StartsWith("Shot 12 \xC3\xA9t\xC3\xA9 "));
  EXPECT_THAT(ValueOf(last_.out, "capture"), HasSubstr("time 48/24"));
  EXPECT_THAT(last_.out, HasSubstr("AEGP_SetTime(options 1, 48/24)"));
}

TEST_F(Capture, TheDemoCompositionIsStillThere) {
  const fs::path file = CaptureWith({"--demo"});
  EXPECT_THAT(file.filename().u8string(), StartsWith("Glimster D\xC3\xA9mo \xE2\x80\x93 "));
  const std::optional<Rgba8> image = DecodePng(file);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 640u);
  EXPECT_EQ(image->height, 360u);
  EXPECT_TRUE(EveryColourWithinItsAlpha(*image));
  EXPECT_EQ(PixelAt(*image, 639, 359), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST_F(Capture, TheMenuItemAndItsStateForEachActiveItemAreShown) {
  const ToolRun run = RunHost({"--no-capture", "--comp-name", "Main"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ValueOf(run.out, "entry"), "EntryPointFunc returned 0");
  EXPECT_EQ(ValueOf(run.out, "menu"), "Composition > \"Take Glimster\" (command 1000)");
  const std::vector<std::string> lines = LinesOf(run.out);
  const auto heading = std::find(lines.begin(), lines.end(), "state after UpdateMenuHook:");
  ASSERT_NE(heading, lines.end()) << run.out;
  EXPECT_THAT(
      std::vector<std::string>(heading + 1, lines.end()),
      ElementsAre(
          MatchesRegex(R"(  nothing active: +"Take Glimster" disabled)"),
          MatchesRegex(
              R"(  footage "Footage 1" active: +"Take Glimster" disabled \(not changed by the hook\))"),
          MatchesRegex(R"(  composition "Main" active: +"Take Glimster" enabled)")));
  EXPECT_THAT(run.out, Not(HasSubstr("capture:")));
  EXPECT_FALSE(fs::exists(DefaultDesktop()));
}

}  // namespace
}  // namespace glimster::cli_tests
