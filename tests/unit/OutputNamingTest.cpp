#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "capture/OutputNaming.h"

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

const NamingPlatform kFakeMac = {FakeNameToUtf8, FakeDesktop, nullptr, '/', false};
const NamingPlatform kFakeWindows = {FakeNameToUtf8, FakeDesktop, FakeMessage, '\\', true};

class OutputNamingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC0", 1);
    tzset();
    g_desktop = {DesktopLookup::kFound, "/Users/artist/Desktop"};
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
  static std::optional<std::string> Path(const std::u16string& name, std::time_t when,
                                         const NamingPlatform& platform = kFakeMac) {
    std::u16string with_nul = name + u'\0';
    return BuildOutputPath(with_nul.data(), static_cast<AEGP_MemSize>(with_nul.size() * 2), when,
                           platform);
  }
};

TEST_F(OutputNamingTest, NamesTheFileAfterTheCompositionAndTheLocalTime) {
  EXPECT_EQ(Path(u"Comp 1", Utc(2021, 6, 15, 16, 4, 5)),
            "/Users/artist/Desktop/Comp 1 2021-06-15 04.04.05 PM.png");
}

TEST_F(OutputNamingTest, MidnightAndNoonAreTwelveOnTheTwelveHourClock) {
  EXPECT_EQ(Path(u"c", Utc(2021, 1, 2, 0, 0, 0)), "/Users/artist/Desktop/c 2021-01-02 12.00.00 AM.png");
  EXPECT_EQ(Path(u"c", Utc(2021, 1, 2, 12, 0, 0)), "/Users/artist/Desktop/c 2021-01-02 12.00.00 PM.png");
  EXPECT_EQ(Path(u"c", Utc(2021, 1, 2, 23, 59, 59)), "/Users/artist/Desktop/c 2021-01-02 11.59.59 PM.png");
}

TEST_F(OutputNamingTest, AnEmptyOrMissingNameLeavesTheSpaceBeforeTheTimestamp) {
  const std::time_t when = Utc(2021, 6, 15, 9, 30, 0);
  EXPECT_EQ(Path(u"", when), "/Users/artist/Desktop/ 2021-06-15 09.30.00 AM.png");
  EXPECT_EQ(BuildOutputPath(nullptr, 40, when, kFakeMac),
            "/Users/artist/Desktop/ 2021-06-15 09.30.00 AM.png");
}

TEST_F(OutputNamingTest, TheNameEndsAtItsFirstNulAndAnOddTrailingByteIsIgnored) {
  const char16_t name[] = u"ab\0cd";
  EXPECT_EQ(BuildOutputPath(name, sizeof name, Utc(2021, 6, 15, 9, 30, 0), kFakeMac),
            "/Users/artist/Desktop/ab 2021-06-15 09.30.00 AM.png");
  EXPECT_EQ(NameUnits(u"xyz", 5), u"xy");
}

TEST_F(OutputNamingTest, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::u16string name = {u'a', 0xD800, u'b', 0xDC00, 0xD83D, 0xDE00, 0xDBFF};
  std::u16string bytes = name + u'\0';
  EXPECT_EQ(NameUnits(bytes.data(), static_cast<AEGP_MemSize>(bytes.size() * 2)),
            (std::u16string{u'a', 0xFFFD, u'b', 0xFFFD, 0xD83D, 0xDE00, 0xFFFD}));
}

TEST_F(OutputNamingTest, SeparatorsInTheNameNeverLeaveTheDesktopFolder) {
  const std::time_t when = Utc(2021, 6, 15, 9, 30, 0);
  EXPECT_EQ(Path(u"../../etc/x", when), "/Users/artist/Desktop/.._.._etc_x 2021-06-15 09.30.00 AM.png");
  EXPECT_EQ(FileSafeName("a\\b:c", false), "a\\b:c");
}

TEST_F(OutputNamingTest, WindowsReservedCharactersBecomeUnderscores) {
  g_desktop = {DesktopLookup::kFound, "C:\\Users\\artist\\Desktop"};
  EXPECT_EQ(Path(u"a:b\\c/d<e>f\"g|h?i*j\x01k\x1fl", Utc(2021, 6, 15, 9, 30, 0), kFakeWindows),
            "C:\\Users\\artist\\Desktop\\a_b_c_d_e_f_g_h_i_j_k_l 2021-06-15 09.30.00 AM.png");
}

TEST_F(OutputNamingTest, AGivenUpNameWritesNothingAndSaysNothing) {
  g_name_result = std::nullopt;
  EXPECT_EQ(Path(u"x", 0, kFakeWindows), std::nullopt);
  EXPECT_EQ(g_messages, 0);
}

TEST_F(OutputNamingTest, AMissingDesktopGivesUpAfterOneMessage) {
  g_desktop = {DesktopLookup::kUnavailable, {}};
  EXPECT_EQ(Path(u"x", 0, kFakeWindows), std::nullopt);
  EXPECT_EQ(g_messages, 1);
  EXPECT_EQ(g_message_text, "Can't Access Desktop");
  EXPECT_EQ(g_message_caption, "Error");
}

TEST_F(OutputNamingTest, ADesktopWithoutAUtf8FormGivesUpSilently) {
  g_desktop = {DesktopLookup::kUnconvertible, {}};
  EXPECT_EQ(Path(u"x", 0, kFakeWindows), std::nullopt);
  EXPECT_EQ(g_messages, 0);
}

TEST_F(OutputNamingTest, ALongPathIsCutTo1023BytesOnACharacterBoundary) {
  g_name_result = std::string(2000, 'n');
  const auto ascii = Path(u"n", 0);
  ASSERT_TRUE(ascii);
  EXPECT_EQ(ascii->size(), kMaxOutputPathBytes);

  std::string three_byte_name;
  for (int i = 0; i < 700; ++i) three_byte_name += "\xe2\x82\xac";  // U+20AC
  g_name_result = three_byte_name;
  const auto cut = Path(u"n", 0);
  ASSERT_TRUE(cut);
  EXPECT_LE(cut->size(), kMaxOutputPathBytes);
  EXPECT_GE(cut->size(), kMaxOutputPathBytes - 2);
  EXPECT_EQ((cut->size() - std::string("/Users/artist/Desktop/").size()) % 3, 0u);
}

}  // namespace
