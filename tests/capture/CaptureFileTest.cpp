// The file a capture leaves on the desktop: its name and its replacement.
// (Desktops that cannot take the file: HostileDesktopTest; the POSIX paths'
// byte limits and memory: PosixCaptureTest.)
#include "CaptureFixture.h"

#include <ctime>
#include <fstream>

namespace glimster::capture_tests {
namespace {

class CaptureFileTest : public CaptureFixture {};

// At fixed clock times, UTC: the hours after noon and after midnight are 12
// on the twelve-hour clock, the last second of the day 11 PM.
TEST_F(CaptureFileTest, TheFileNameHoldsTheLocalTimeOnTheTwelveHourClock) {
  const struct {
    std::time_t when;
    const char* file;
  } cases[] = {
      {1796733296, "Comp 1 2026-12-08 12.34.56 PM.png"},
      {1796775154, "Comp 1 2026-12-09 12.12.34 AM.png"},
      {1796774399, "Comp 1 2026-12-08 11.59.59 PM.png"},
  };
  ActivateComposition(u"Comp 1", GradientFrame(4, 4, 0, true));
  for (const auto& c : cases) {
    probe::FixClock(c.when);
    Capture();
    EXPECT_EQ(DesktopFiles(), std::vector<std::string>{c.file});
    for (const auto& file : DesktopFiles()) fs::remove(OnDesktop(file));
  }
}

TEST_F(CaptureFileTest, AnEmptyNameStartsTheFileNameWithTheSpace) {
  ActivateComposition(u"", GradientFrame(4, 4, 0, true));
  Capture();
  EXPECT_EQ(Utf8NameOf(OnlyPng()), " 2026-12-08 09.30.00 AM.png");
}

// Non-ASCII names onto a desktop whose path is not ASCII either; an
// unpaired surrogate in the name becomes U+FFFD.
TEST_F(CaptureFileTest, NonAsciiNamesAreWrittenInUtf8) {
  const struct {
    std::u16string name;
    std::string file;
  } cases[] = {
      {u"Ünïcødé – 日本 😀",
       "\xc3\x9cn\xc3\xaf"
       "c\xc3\xb8"
       "d\xc3\xa9 \xe2\x80\x93 "
       "\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80 2026-12-08 09.30.00 AM.png"},
      {std::u16string(u"a") + char16_t{0xD800} + u"b",
       "a\xef\xbf\xbd"
       "b 2026-12-08 09.30.00 AM.png"},
  };
  const fs::path desktop =
      home_ / PathOf("B\xc3\xbcr\xc3\xb8 \xe6\xa1\x8c\xe9\x9d\xa2") / "Desktop";
  fs::create_directories(desktop);
  UseDesktop(desktop);
  for (const auto& c : cases) {
    ActivateComposition(c.name, GradientFrame(4, 4, 0, true));
    Capture();
    EXPECT_EQ(Utf8NameOf(OnlyPng()), c.file);
    fs::remove(OnlyPng());
  }
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
  comp.frame->SetPixel(0, 0, {255, 1, 2, 3});
  Capture();
  const std::optional<Rgba8> decoded = DecodePng(OnlyPng());
  ASSERT_TRUE(decoded);
  EXPECT_TRUE(decoded->pixels == ExpectedImage(*comp.frame).pixels);
}

TEST_F(CaptureFileTest, AnExistingFileAtThePathIsReplaced) {
  std::ofstream(OnDesktop(FileNameAt("replaced")), std::ios::binary) << "earlier";
  Item& comp = ActivateComposition(u"replaced", GradientFrame(5, 5, 0, false));
  EXPECT_EQ(Capture().result, 0);
  EXPECT_EQ(DesktopFiles(), std::vector<std::string>{FileNameAt("replaced")});
  const std::optional<Rgba8> decoded = DecodePng(OnDesktop(FileNameAt("replaced")));
  ASSERT_TRUE(decoded);
  EXPECT_TRUE(decoded->pixels == ExpectedImage(*comp.frame).pixels);
}

// Whether a file made in `folder` under `utf8_name` takes that very name.
bool HoldsName(const fs::path& folder, const std::string& utf8_name) {
  const fs::path scratch = folder / "names";
  fs::create_directory(scratch);
  std::ofstream(scratch / PathOf(utf8_name), std::ios::binary) << "";
  bool held = false;
  for (const auto& entry : fs::directory_iterator(scratch))
    held = Utf8NameOf(entry.path()) == utf8_name;
  fs::remove_all(scratch);
  return held;
}

// Names longer than a file name takes: the composition part is shortened at
// a character boundary to 255 bytes (Windows: UTF-16 units) of file name,
// timestamp and ".png" included, whatever the day-half word: the name the
// file is moved to. Where the desktop's file system takes no such name (a
// Linux file system counts 255 bytes, and Wine above it cuts a longer name
// or refuses it), what becomes of the file is that file system's. (Every
// rule of the cut: OutputNamingTest.)
TEST_F(CaptureFileTest, ALongNameIsShortenedToA255UnitFileName) {
  auto repeat = [](const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
  };
  const std::string kanji = "\xe6\x97\xa5";                        // U+65E5
  const std::string stamp = " 2026-12-08 09.30.00 AM.png";         // 27 bytes and units
  const std::string acute = " 2026-12-08 09.30.00 \xc3\xa9m.png";  // 28 bytes, 27 units
  const probe::TimeLocale k_acute = {nullptr, "UTF-8", "<U00E9>m", "pm"};
  const struct {
    const char* what;
    std::u16string name;
    const probe::TimeLocale* locale;  // nullptr: "C"
    std::string posix, windows;       // the file's name
  } cases[] = {
      {"256 letters", std::u16string(256, u'b'), nullptr, std::string(228, 'b') + stamp,
       std::string(228, 'b') + stamp},
      {"86 kanji", std::u16string(86, u'\u65e5'), nullptr, repeat(kanji, 76) + stamp,
       repeat(kanji, 86) + stamp},
      {"256 letters, a non-ASCII word", std::u16string(256, u'b'), &k_acute,
       std::string(227, 'b') + acute, std::string(228, 'b') + acute},
  };
  const Frame frame = GradientFrame(6, 5, 4, false);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    probe::Attach();
    if (c.locale != nullptr) ASSERT_TRUE(probe::UseTimeLocale(*c.locale, home_ / "locales"));
    const std::string& file = probe::kPlatform == probe::Platform::kPosix ? c.posix : c.windows;
    ActivateComposition(c.name, frame);
    const std::size_t reports = host_->reports().size();
    std::string output;
    EXPECT_EQ(Capture(&output).result, 0);
    EXPECT_EQ(probe::TakeMoveTarget(), file);
    if (!HoldsName(home_, file)) {
      for (const std::string& entry : DesktopFiles()) fs::remove(OnDesktop(entry));
      continue;
    }
    EXPECT_EQ(host_->reports().size(), reports);
    EXPECT_EQ(output, "");
    EXPECT_EQ(DesktopFiles(), std::vector<std::string>{file});
    const std::optional<Rgba8> decoded = DecodePng(OnDesktop(file));
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded->pixels == ExpectedImage(frame).pixels);
    fs::remove(OnDesktop(file));
  }
}

// What the desktop's file system reserves gives '_': on Windows a device
// name before the first '.', ':' and '\\' (every reserved character:
// OutputNamingTest); elsewhere these are ordinary characters. Each capture
// is an ordinary file with the frame.
TEST_F(CaptureFileTest, ReservedNamesGiveOrdinaryFiles) {
  const struct {
    std::u16string name;
    std::string posix, windows;
  } cases[] = {
      {u"aux.v2", "aux.v2", "aux_.v2"},
      {u"CONIN$.x", "CONIN$.x", "CONIN$_.x"},
      {u"C:\\Windows\\evil:stream", "C:\\Windows\\evil:stream", "C__Windows_evil_stream"},
  };
  const Frame frame = GradientFrame(5, 3, 0, true);
  for (const auto& c : cases) {
    const std::string file =
        FileNameAt(probe::kPlatform == probe::Platform::kPosix ? c.posix : c.windows);
    SCOPED_TRACE(file);
    ActivateComposition(c.name, frame);
    std::string output;
    EXPECT_EQ(Capture(&output).result, 0);
    EXPECT_EQ(output, "");
    EXPECT_EQ(DesktopFiles(), std::vector<std::string>{file});
    const std::optional<Rgba8> decoded = DecodePng(OnDesktop(file));
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded->pixels == ExpectedImage(frame).pixels);
    fs::remove(OnDesktop(file));
  }
  EXPECT_TRUE(host_->reports().empty());
}

TEST_F(CaptureFileTest, ANameStartingWithADotGivesAVisibleFile) {
  ActivateComposition(u".hidden", GradientFrame(4, 4, 0, true));
  Capture();
  EXPECT_EQ(Utf8NameOf(OnlyPng()), "_hidden 2026-12-08 09.30.00 AM.png");
}

}  // namespace
}  // namespace glimster::capture_tests
