// The file a capture leaves on the desktop: its name, its replacement, and
// captures short of memory. (Desktops that cannot take the file: HostileDesktopTest.)
#include "CaptureFixture.h"

#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <fstream>

#include "FixedClock.h"
#include "substitute_host/FrameSources.h"

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

// A desktop folder whose path is no UTF-8 (the home folder's name is the
// byte 0xFF): no file, no line, one report.
TEST_F(CaptureFileTest, ADesktopWithoutAUtf8PathIsReported) {
  const fs::path odd_home = home_ / "\xff";
  fs::create_directories(odd_home / "Desktop");
  UseDesktop(odd_home / "Desktop");
  ActivateComposition(u"odd", GradientFrame(4, 4, 0, true));
  std::string output;
  EXPECT_EQ(Capture(&output).result, 0);
  EXPECT_EQ(output, "");
  EXPECT_TRUE(ReportedOnce(host_->reports(), 79));
  EXPECT_TRUE(fs::is_empty(odd_home / "Desktop"));
  ExpectEverythingGivenBack();
}

// The file is made for everyone to read and write, less what the process's
// umask takes away.
TEST_F(CaptureFileTest, TheFileModeIs0666LessTheUmask) {
  ActivateComposition(u"mode", GradientFrame(4, 4, 0, true));
  const struct {
    mode_t mask;
    int mode;
  } cases[] = {{0000, 0666}, {0027, 0640}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    const mode_t earlier = umask(c.mask);
    Capture();
    umask(earlier);
    EXPECT_EQ(static_cast<int>(fs::status(OnlyPng()).permissions()), c.mode);
    fs::remove(OnlyPng());
  }
}

// The bytes of the heap's blocks that are mapped on their own.
std::size_t MappedBlockBytes() { return mallinfo2().hblkhd; }

// Address-space limits, a real shortage of memory (in a child), from too
// little to render the frame, through the repack and the encoder, to enough:
// each capture writes the frame, prints the out-of-memory line and reports it
// once, or answers the host with an error; every time it gives everything
// back and holds no more of the heap after it than before, whatever the
// encoder held when memory ran out.
TEST_F(CaptureFileTest, UnderEveryAddressSpaceLimitACaptureWritesOrSaysWhyAndLeaksNothing) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space: no limit can apply";
#endif
  const Item& comp = ActivateComposition(u"limited", substitute_host::noiseFrame(256, 256, 9));
  const Rgba8 expected = ExpectedImage(*comp.frame);
  Capture();  // what a first capture sets up for good is not counted below
  fs::remove(OnlyPng());
  const ChildRun run = InChild([&] {
    // Each block of 64 KiB or more (the encoder's rows, tables and stream)
    // is mapped on its own and unmapped when freed: it takes address space
    // of its own, and a block left behind shows in the count.
    mallopt(M_MMAP_THRESHOLD, 64 << 10);
    mallopt(M_TRIM_THRESHOLD, 64 << 10);
    const std::size_t held = MappedBlockBytes();
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    const rlim_t in_use = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
    int wrote = 0, out_of_memory = 0;
    for (rlim_t extra = 0; extra <= (2u << 20); extra += 64u << 10) {
      rlimit limit{in_use + extra, RLIM_INFINITY};
      if (setrlimit(RLIMIT_AS, &limit) != 0) return 100;
      const std::size_t reports = host_->reports().size();
      const substitute_host::CommandOutcome outcome = host_->issueMenuCommand("Take Glimster");
      limit.rlim_cur = RLIM_INFINITY;
      if (setrlimit(RLIMIT_AS, &limit) != 0) return 100;
      host_->log().clear();
      const std::size_t left = MappedBlockBytes() - held;
      std::printf("%zu KiB: result %d, %zu bytes left\n", std::size_t{extra >> 10},
                  static_cast<int>(outcome.result), left);
      if (left != 0) return 101;
      if (!host_->outstanding().none() || outcome.handled != kHandled) return 102;
      const std::vector<std::string> files = DesktopFiles();
      if (!files.empty()) {
        const std::optional<Rgba8> decoded = DecodePng(desktop_ / files.front());
        if (files.size() != 1 || !decoded || decoded->pixels != expected.pixels) return 103;
        fs::remove(desktop_ / files.front());
        ++wrote;
      } else if (host_->reports().size() > reports) {
        const std::vector<std::string> added(host_->reports().begin() + reports,
                                             host_->reports().end());
        if (!ReportedOnce(added, 83) || outcome.result != 0) return 104;
        ++out_of_memory;
      } else if (outcome.result == 0) {
        return 106;  // nothing written, and nobody told
      }
    }
    std::printf("%d wrote, %d printed error 83\n", wrote, out_of_memory);
    return wrote > 0 && out_of_memory > 0 ? 0 : 105;
  });
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_NE(run.output.find("error 83: memory allocation failed\n"), std::string::npos);
}

}  // namespace
}  // namespace glimster::capture_tests
