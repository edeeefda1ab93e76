// The file a capture leaves on the desktop: its name, its replacement, and
// a frame too big to repack. (Desktops that cannot take the file: HostileDesktopTest.)
#include "CaptureFixture.h"

#include <sys/resource.h>

#include <ctime>
#include <fstream>

#include "FixedClock.h"

namespace glimster::capture_tests {
namespace {

class CaptureFileTest : public CaptureFixture {};

// At fixed clock times, UTC: the hours after noon and after midnight are 12
// on the twelve-hour clock.
TEST_F(CaptureFileTest, TheFileNameHoldsTheLocalTimeOnTheTwelveHourClock) {
  const struct {
    std::time_t when;
    const char* file;
  } cases[] = {
      {1796733296, "Comp 1 2026-12-08 12.34.56 PM.png"},
      {1796775154, "Comp 1 2026-12-09 12.12.34 AM.png"},
  };
  ActivateComposition(u"Comp 1", GradientFrame(4, 4, 0, true));
  for (const auto& c : cases) {
    FixClock(c.when);
    Capture();
    EXPECT_EQ(DesktopFiles(), std::vector<std::string>{c.file});
    for (const auto& file : DesktopFiles()) fs::remove(desktop_ / file);
  }
}

TEST_F(CaptureFileTest, AnEmptyNameStartsTheFileNameWithTheSpace) {
  ActivateComposition(u"", GradientFrame(4, 4, 0, true));
  Capture();
  EXPECT_EQ(OnlyPng().filename(), " 2026-12-08 09.30.00 AM.png");
}

TEST_F(CaptureFileTest, NonAsciiNamesAreWrittenInUtf8) {
  ActivateComposition(u"Ünïcødé – 日本 😀", GradientFrame(4, 4, 0, true));
  Capture();
  EXPECT_EQ(OnlyPng().filename(),
            "\xc3\x9cn\xc3\xaf"
            "c\xc3\xb8"
            "d\xc3\xa9 \xe2\x80\x93 "
            "\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80 2026-12-08 09.30.00 AM.png");
}

TEST_F(CaptureFileTest, ASlashInTheNameCannotLeaveTheDesktop) {
  fs::create_directory(desktop_ / "Shots");
  ActivateComposition(u"Shots/../../escape", GradientFrame(4, 4, 0, true));
  EXPECT_EQ(Capture().result, 0);
  const std::vector<std::string> files = DesktopFiles();
  ASSERT_EQ(files.size(), 2u);  // "Shots" and the capture beside it
  EXPECT_EQ(files[1], "Shots_.._.._escape 2026-12-08 09.30.00 AM.png");
  EXPECT_TRUE(fs::is_empty(desktop_ / "Shots"));
  EXPECT_EQ(std::distance(fs::directory_iterator(home_), fs::directory_iterator()), 1);
}

TEST_F(CaptureFileTest, TwoCapturesInOneSecondLeaveTheSecond) {
  Item& comp = ActivateComposition(u"twice", GradientFrame(5, 5, 0, true));
  Capture();
  comp.frame->setPixel(0, 0, {255, 1, 2, 3});
  Capture();
  const std::optional<Rgba8> decoded = DecodePng(OnlyPng());
  ASSERT_TRUE(decoded);
  EXPECT_TRUE(decoded->pixels == ExpectedImage(*comp.frame).pixels);
}

TEST_F(CaptureFileTest, AnExistingFileAtThePathIsReplaced) {
  std::ofstream(desktop_ / FileNameAt("replaced"), std::ios::binary) << "earlier";
  Item& comp = ActivateComposition(u"replaced", GradientFrame(5, 5, 0, false));
  EXPECT_EQ(Capture().result, 0);
  EXPECT_EQ(DesktopFiles(), std::vector<std::string>{FileNameAt("replaced")});
  const std::optional<Rgba8> decoded = DecodePng(desktop_ / FileNameAt("replaced"));
  ASSERT_TRUE(decoded);
  EXPECT_TRUE(decoded->pixels == ExpectedImage(*comp.frame).pixels);
}

// Names longer than a file name takes: the composition part is shortened at
// a character boundary to 255 bytes of file name, keeping the timestamp and
// ".png"; the file decodes to exactly the frame. (Every rule of the cut:
// OutputNamingTest.)
TEST_F(CaptureFileTest, ALongNameIsShortenedToA255ByteFileName) {
  auto repeat = [](const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
  };
  const std::string kanji = "\xe6\x97\xa5";                 // U+65E5
  const std::string stamp = " 2026-12-08 09.30.00 AM.png";  // 27 bytes: 228 left for the name
  const struct {
    const char* what;
    std::u16string name;
    std::string file;
  } cases[] = {
      {"256 letters", std::u16string(256, u'b'), std::string(228, 'b') + stamp},
      {"86 kanji", std::u16string(86, u'\u65e5'), repeat(kanji, 76) + stamp},
  };
  const Frame frame = GradientFrame(6, 5, 4, false);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ActivateComposition(c.name, frame);
    std::string output;
    EXPECT_EQ(Capture(&output).result, 0);
    EXPECT_EQ(output, "");
    EXPECT_EQ(DesktopFiles(), std::vector<std::string>{c.file});
    const std::optional<Rgba8> decoded = DecodePng(desktop_ / c.file);
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded->pixels == ExpectedImage(frame).pixels);
    fs::remove(desktop_ / c.file);
  }
  EXPECT_TRUE(host_->reports().empty());
}

// A desktop folder path of 900 bytes leaves 95 bytes for the name in a
// 1023-byte path: the name is shortened, never the timestamp or ".png".
TEST_F(CaptureFileTest, APathNear1023BytesShortensTheName) {
  const fs::path desktop = UseDesktopOfBytes(900);
  const Frame frame = GradientFrame(6, 5, 4, true);
  ActivateComposition(std::u16string(200, u'\u20ac'), frame);  // three bytes each: 31 fit
  EXPECT_EQ(Capture().result, 0);
  std::string euros;
  for (int i = 0; i < 31; ++i) euros += "\xe2\x82\xac";
  const fs::path png = desktop / (euros + " 2026-12-08 09.30.00 AM.png");
  EXPECT_EQ(DesktopFiles(), std::vector<std::string>{png.filename()});
  const std::optional<Rgba8> decoded = DecodePng(png);
  ASSERT_TRUE(decoded);
  EXPECT_TRUE(decoded->pixels == ExpectedImage(frame).pixels);
  fs::remove(png);

  ActivateComposition(std::u16string(200, u'n'), frame);
  EXPECT_EQ(Capture().result, 0);
  EXPECT_EQ(DesktopFiles(),
            std::vector<std::string>{std::string(95, 'n') + " 2026-12-08 09.30.00 AM.png"});
}

TEST_F(CaptureFileTest, ANameStartingWithADotGivesAVisibleFile) {
  ActivateComposition(u".hidden", GradientFrame(4, 4, 0, true));
  Capture();
  EXPECT_EQ(OnlyPng().filename(), "_hidden 2026-12-08 09.30.00 AM.png");
}

// A desktop folder whose path is no UTF-8 (HOME holds the byte 0xFF): no
// file, no line, one report.
TEST_F(CaptureFileTest, ADesktopWithoutAUtf8PathIsReported) {
  const fs::path odd_home = home_ / "\xff";
  fs::create_directories(odd_home / "Desktop");
  setenv("HOME", odd_home.c_str(), 1);
  ActivateComposition(u"odd", GradientFrame(4, 4, 0, true));
  std::string output;
  EXPECT_EQ(Capture(&output).result, 0);
  EXPECT_EQ(output, "");
  EXPECT_TRUE(ReportedOnce(host_->reports(), 79));
  EXPECT_TRUE(fs::is_empty(odd_home / "Desktop"));
  ExpectEverythingGivenBack();
}

TEST_F(CaptureFileTest, AFrameThatCannotBeAllocatedPrintsTheMemoryFailure) {
  // 4096 x 4096 pixels: 64 MiB for the host's frame, as much again for the
  // plug-in's repacked copy, which the address-space limit below leaves no room for.
  ActivateComposition(u"too big", Frame(4096, 4096, 4096 * 4));
  const ChildRun run = InChild([&] {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    const rlim_t in_use = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
    const rlim_t room = in_use + (96u << 20);  // the host's frame copy fits, the repack does not
    const rlimit limit{room, room};
    if (setrlimit(RLIMIT_AS, &limit) != 0) return 100;
    const substitute_host::CommandOutcome outcome = host_->issueMenuCommand("Take Glimster");
    if (!ReportedOnce(host_->reports(), 83)) return 102;
    return outcome.result == 0 && outcome.handled == kHandled && host_->outstanding().none() ? 0
                                                                                             : 101;
  });
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, "error 83: memory allocation failed\n");
  EXPECT_TRUE(DesktopFiles().empty());
}

}  // namespace
}  // namespace glimster::capture_tests
