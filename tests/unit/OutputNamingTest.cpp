#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "capture/OutputNaming.h"
#include "tests/support/Probe.h"

namespace glimster {

namespace {

// A platform whose operations tests steer through these globals.
DesktopLookup g_desktop;
std::optional<std::string> g_name_result;  // nullopt: name conversion gives up
std::u16string g_name_seen;
int g_messages = 0;
std::string g_message_text, g_message_caption;

std::optional<std::string> FakeNameToUtf8(const std::u16string& name) {
  g_name_seen = name;
  if (!g_name_result) return std::nullopt;
  return g_name_result->empty() ? std::string(name.begin(), name.end()) : *g_name_result;
}
DesktopLookup FakeDesktop() { return g_desktop; }
void FakeMessage(const char* text, const char* caption) {
  ++g_messages;
  g_message_text = text;
  g_message_caption = caption;
}

const NamingPlatform kFakeMac = {
    FakeNameToUtf8, FakeDesktop, nullptr, '/', ReservedNames::kSlash, FileNameUnit::kUtf8Byte};
const NamingPlatform kFakeWindows = {
    FakeNameToUtf8,          FakeDesktop, FakeMessage, '\\', ReservedNames::kWindows,
    FileNameUnit::kUtf16Unit};

// Locales built by the tests' one locale builder (tests/support/Probe.h)
// from the system's sources (Debian package locales) into a folder of their
// own; the time locale is "C" again, and the folder gone, at the end.
class BuiltLocales {
 public:
  BuiltLocales() {
    char folder[] = "/tmp/glimster-locale-XXXXXX";
    if (mkdtemp(folder) != nullptr) folder_ = folder;
  }
  ~BuiltLocales() {
    std::setlocale(LC_TIME, "C");
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }
  // Makes `source` in UTF-8 (e.g. "ko_KR") the time locale; false when it
  // cannot be built.
  bool Use(const char* source) {
    return !folder_.empty() && glimster::probe::UseTimeLocale({source, "UTF-8"}, folder_);
  }

 private:
  std::string folder_;
};

class OutputNamingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC0", 1);
    tzset();
    g_desktop = {DesktopLookup::Status::kFound, "/Users/artist/Desktop"};
    g_name_result = std::string();  // ASCII pass-through
    g_messages = 0;
  }
  static std::time_t Utc(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return timegm(&t);
  }
  static OutputPath Build(const std::u16string& name, std::time_t when,
                          const NamingPlatform& platform = kFakeMac) {
    std::u16string with_nul = name + u'\0';
    return BuildOutputPath(with_nul.data(), static_cast<std::uint32_t>(with_nul.size() * 2), when,
                           platform);
  }
  // The path, or nullopt when none was built.
  static std::optional<std::string> Path(const std::u16string& name, std::time_t when,
                                         const NamingPlatform& platform = kFakeMac) {
    OutputPath output = Build(name, when, platform);
    if (output.failure != NamingFailure::kNone) return std::nullopt;
    return output.path;
  }
};

TEST_F(OutputNamingTest, AnEmptyOrMissingNameLeavesTheSpaceBeforeTheTimestamp) {
  const std::time_t when = Utc(2021, 6, 15, 9, 30, 0);
  EXPECT_EQ(Path(u"", when), "/Users/artist/Desktop/ 2021-06-15 09.30.00 AM.png");
  EXPECT_EQ(BuildOutputPath(nullptr, 40, when, kFakeMac).path,
            "/Users/artist/Desktop/ 2021-06-15 09.30.00 AM.png");
}

TEST_F(OutputNamingTest, TheNameEndsAtItsFirstNulAndAnOddTrailingByteIsIgnored) {
  const char16_t name[] = u"ab\0cd";
  EXPECT_EQ(BuildOutputPath(name, sizeof name, Utc(2021, 6, 15, 9, 30, 0), kFakeMac).path,
            "/Users/artist/Desktop/ab 2021-06-15 09.30.00 AM.png");
  EXPECT_EQ(NameUnits(u"xyz", 5), u"xy");
}

TEST_F(OutputNamingTest, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::u16string name = {u'a', 0xD800, u'b', 0xDC00, 0xD83D, 0xDE00, 0xDBFF};
  std::u16string bytes = name + u'\0';
  EXPECT_EQ(NameUnits(bytes.data(), static_cast<std::uint32_t>(bytes.size() * 2)),
            (std::u16string{u'a', 0xFFFD, u'b', 0xFFFD, 0xD83D, 0xDE00, 0xFFFD}));
}

TEST_F(OutputNamingTest, SeparatorsInTheNameNeverLeaveTheDesktopFolder) {
  const std::time_t when = Utc(2021, 6, 15, 9, 30, 0);
  EXPECT_EQ(Path(u"../../etc/x", when),
            "/Users/artist/Desktop/_._.._etc_x 2021-06-15 09.30.00 AM.png");
  EXPECT_EQ(FileSafeName("a\\b:c", ReservedNames::kSlash), "a\\b:c");
}

TEST_F(OutputNamingTest, WindowsReservedCharactersBecomeUnderscores) {
  g_desktop = {DesktopLookup::Status::kFound, "C:\\Users\\artist\\Desktop"};
  EXPECT_EQ(Path(u"a:b\\c/d<e>f\"g|h?i*j\x01k\x1fl", Utc(2021, 6, 15, 9, 30, 0), kFakeWindows),
            "C:\\Users\\artist\\Desktop\\a_b_c_d_e_f_g_h_i_j_k_l 2021-06-15 09.30.00 AM.png");
}

TEST_F(OutputNamingTest, EachFailureSaysWhyAndOnlyAMissingWindowsDesktopShowsTheMessage) {
  const struct {
    const char* what;
    bool name_converts;
    DesktopLookup desktop;
    const NamingPlatform* platform;
    NamingFailure failure;
    bool message_shown;
  } cases[] = {
      {"name given up",
       false,
       {DesktopLookup::Status::kFound, "C:\\D"},
       &kFakeWindows,
       NamingFailure::kNameUnconvertible,
       false},
      {"no desktop (Windows)",
       true,
       {DesktopLookup::Status::kUnavailable, {}},
       &kFakeWindows,
       NamingFailure::kDesktopUnavailable,
       true},
      {"no desktop (no message)",
       true,
       {DesktopLookup::Status::kUnavailable, {}},
       &kFakeMac,
       NamingFailure::kDesktopUnavailable,
       false},
      {"desktop without UTF-8",
       true,
       {DesktopLookup::Status::kUnconvertible, {}},
       &kFakeWindows,
       NamingFailure::kDesktopUnconvertible,
       false},
      // 1000 bytes of folder, its separator and " 2021-06-15 09.30.00 AM.png": 1028.
      {"no room",
       true,
       {DesktopLookup::Status::kFound, std::string(1000, 'd')},
       &kFakeMac,
       NamingFailure::kNoRoomForFileName,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_messages = 0;
    if (!c.name_converts) g_name_result = std::nullopt;
    g_desktop = c.desktop;
    const OutputPath output = Build(u"x", Utc(2021, 6, 15, 9, 30, 0), *c.platform);
    g_name_result = std::string();
    EXPECT_EQ(output.failure, c.failure);
    EXPECT_EQ(output.path, "");
    EXPECT_EQ(output.message_shown, c.message_shown);
    EXPECT_EQ(g_messages, c.message_shown ? 1 : 0);
    if (c.message_shown) {
      EXPECT_EQ(g_message_text, "Can't Access Desktop");
      EXPECT_EQ(g_message_caption, "Error");
    }
  }
}

// A long name keeps its timestamp and extension: the composition part is
// shortened, at a character boundary, to what the file system takes. The
// timestamp counts in the same units: its Korean AM word (U+C624 U+C804) is
// 6 bytes, 2 UTF-16 units.
TEST_F(OutputNamingTest, ALongNameIsShortenedToFitAndKeepsTheTimestamp) {
  const std::string stamp = " 2021-06-15 09.30.00 AM.png";  // 27 bytes and units
  const std::string korean_stamp = " 2021-06-15 09.30.00 \xec\x98\xa4\xec\xa0\x84.png";
  const std::string kanji = "\xe6\x97\xa5";      // U+65E5
  const std::string emoji = "\xf0\x9f\x98\x80";  // U+1F600, two UTF-16 units
  auto repeat = [](const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
  };
  const struct {
    const char* what;
    const NamingPlatform* platform;
    std::string name;
    std::string part;     // the composition part written
    bool korean = false;  // the time locale ko_KR.UTF-8, not "C"
  } cases[] = {
      {"255 letters", &kFakeMac, std::string(255, 'a'), std::string(228, 'a')},
      {"256 letters", &kFakeMac, std::string(256, 'a'), std::string(228, 'a')},
      {"228 letters fit whole", &kFakeMac, std::string(228, 'a'), std::string(228, 'a')},
      {"86 kanji: 76 fit", &kFakeMac, repeat(kanji, 86), repeat(kanji, 76)},
      {"300 kanji: 76 fit", &kFakeMac, repeat(kanji, 300), repeat(kanji, 76)},
      {"emoji across the cut", &kFakeMac, std::string(226, 'a') + emoji, std::string(226, 'a')},
      {"emoji just fits", &kFakeMac, std::string(224, 'a') + emoji + "b",
       std::string(224, 'a') + emoji},
      {"Windows: 300 letters", &kFakeWindows, std::string(300, 'a'), std::string(228, 'a')},
      {"Windows: 300 kanji are 300 units", &kFakeWindows, repeat(kanji, 300), repeat(kanji, 228)},
      {"Windows: emoji across the cut", &kFakeWindows, std::string(227, 'a') + emoji,
       std::string(227, 'a')},
      {"Windows: emoji just fits", &kFakeWindows, std::string(226, 'a') + emoji + "b",
       std::string(226, 'a') + emoji},
      {"Korean AM word: 31 bytes", &kFakeMac, std::string(300, 'a'), std::string(224, 'a'), true},
      {"Windows: Korean AM word: 27 units", &kFakeWindows, std::string(300, 'a'),
       std::string(228, 'a'), true},
  };
  BuiltLocales locales;
  ASSERT_TRUE(locales.Use("ko_KR")) << "localedef (Debian package locales)";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::setlocale(LC_TIME, c.korean ? "ko_KR.UTF-8" : "C");
    g_name_result = c.name;
    const char separator = c.platform == &kFakeWindows ? '\\' : '/';
    g_desktop = {DesktopLookup::Status::kFound, std::string("D:") + separator + "Desktop"};
    EXPECT_EQ(Path(u"n", Utc(2021, 6, 15, 9, 30, 0), *c.platform),
              g_desktop.utf8_path + separator + c.part + (c.korean ? korean_stamp : stamp));
  }
}

TEST_F(OutputNamingTest, APathNearThe1023ByteLimitShortensTheNameNotTheTimestamp) {
  const std::string stamp = " 2021-06-15 09.30.00 AM.png";
  // 900 bytes of folder, the separator: 1023 - 901 - 27 = 95 bytes for the name.
  g_desktop = {DesktopLookup::Status::kFound, "/" + std::string(899, 'f')};
  g_name_result = std::string(200, 'n');
  const std::optional<std::string> ascii = Path(u"n", Utc(2021, 6, 15, 9, 30, 0));
  ASSERT_TRUE(ascii);
  EXPECT_EQ(ascii->size(), 1023u);
  EXPECT_EQ(*ascii, g_desktop.utf8_path + "/" + std::string(95, 'n') + stamp);

  std::string euros;
  for (int i = 0; i < 100; ++i) euros += "\xe2\x82\xac";  // U+20AC, three bytes
  g_name_result = euros;
  const std::optional<std::string> cut = Path(u"n", Utc(2021, 6, 15, 9, 30, 0));
  ASSERT_TRUE(cut);
  EXPECT_EQ(*cut, g_desktop.utf8_path + "/" + euros.substr(0, 93) + stamp);  // 31 whole euros

  // A folder of 996 bytes with its separator: an empty name just fits; 997 leave no room.
  g_desktop = {DesktopLookup::Status::kFound, std::string(995, 'f') + "/"};
  EXPECT_EQ(Path(u"n", Utc(2021, 6, 15, 9, 30, 0)), std::string(995, 'f') + "/" + stamp);
  g_desktop = {DesktopLookup::Status::kFound, std::string(996, 'f') + "/"};
  EXPECT_EQ(Build(u"n", Utc(2021, 6, 15, 9, 30, 0)).failure, NamingFailure::kNoRoomForFileName);
}

TEST_F(OutputNamingTest, WindowsDeviceNamesBeforeTheFirstDotGetAnUnderscore) {
  const struct {
    const char* name;
    const char* windows;
    const char* elsewhere;
  } cases[] = {
      {"aux.v2", "aux_.v2", "aux.v2"},
      {"con.final", "con_.final", "con.final"},
      {"NUL.png", "NUL_.png", "NUL.png"},
      {"PrN.a.b", "PrN_.a.b", "PrN.a.b"},
      {"COM1.x", "COM1_.x", "COM1.x"},
      {"lpt9.x", "lpt9_.x", "lpt9.x"},
      {"lpt1 .txt", "lpt1 _.txt", "lpt1 .txt"},
      {"com\xc2\xb9.x", "com\xc2\xb9_.x", "com\xc2\xb9.x"},
      {"LPT\xc2\xb3.x", "LPT\xc2\xb3_.x", "LPT\xc2\xb3.x"},
      {"CONIN$.x", "CONIN$_.x", "CONIN$.x"},
      {"conout$ .x", "conout$ _.x", "conout$ .x"},
      {"aux", "aux", "aux"},  // the file name's first '.' is in the timestamp
      {"auxi.x", "auxi.x", "auxi.x"},
      {"COM0.x", "COM0.x", "COM0.x"},
      {"COM10.x", "COM10.x", "COM10.x"},
      {"CONIN.x", "CONIN.x", "CONIN.x"},
      {"CONOUT$$.x", "CONOUT$$.x", "CONOUT$$.x"},
      {"com\xc2\xb4.x", "com\xc2\xb4.x", "com\xc2\xb4.x"},
      {" con.x", " con.x", " con.x"},
      {".aux.x", "_aux.x", "_aux.x"},
      {".hidden", "_hidden", "_hidden"},
      {"..", "_.", "_."},
      {"a.b", "a.b", "a.b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CompositionPart(c.name, ReservedNames::kWindows), c.windows);
    EXPECT_EQ(CompositionPart(c.name, ReservedNames::kSlash), c.elsewhere);
  }
  g_desktop = {DesktopLookup::Status::kFound, "C:\\D"};
  EXPECT_EQ(Path(u"aux.v2", Utc(2026, 12, 8, 9, 30, 0), kFakeWindows),
            "C:\\D\\aux_.v2 2026-12-08 09.30.00 AM.png");
  g_desktop = {DesktopLookup::Status::kFound, "/D"};
  EXPECT_EQ(Path(u".v2", Utc(2026, 12, 8, 9, 30, 0)), "/D/_v2 2026-12-08 09.30.00 AM.png");
}

}  // namespace

}  // namespace glimster
