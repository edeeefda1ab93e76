// The timestamp under the plug-in's time locale: a capture in the morning and
// one twelve hours later are two files in every locale, on the desktop.
#include <algorithm>
#include <string>

#include "CaptureFixture.h"

namespace glimster::capture_tests {
namespace {

using probe::Platform;

class TimestampLocaleTest : public CaptureFixture {};

TEST_F(TimestampLocaleTest, MorningAndEveningCapturesAreTwoFilesInEveryLocale) {
  const std::string k_morning24 = "Comp 1 2026-12-08 09.30.00.png";
  const std::string k_evening24 = "Comp 1 2026-12-08 21.30.00.png";
  constexpr Platform kPosix = Platform::kPosix;
  constexpr Platform kWindows = Platform::kWindows;
  const struct {
    Platform platform;  // of a system locale; a made one is tried on both
    probe::TimeLocale locale;
    std::string morning, evening;
  } cases[] = {
      // No AM/PM word: the 24-hour clock.
      {kPosix, {"de_DE", "UTF-8"}, k_morning24, k_evening24},
      // The word in EUC-KR bytes, not UTF-8: the 24-hour clock.
      {kPosix, {"ko_KR", "EUC-KR"}, k_morning24, k_evening24},
      // The same word in UTF-8 (U+C624 U+C804, U+C624 U+D6C4) is kept.
      {kPosix,
       {"ko_KR", "UTF-8"},
       "Comp 1 2026-12-08 09.30.00 \xec\x98\xa4\xec\xa0\x84.png",
       "Comp 1 2026-12-08 09.30.00 \xec\x98\xa4\xed\x9b\x84.png"},
      // Only the evening word (9 bytes) fits the timestamp, the morning word
      // (15 bytes) does not: the 24-hour clock all day.
      {kPosix, {"my_MM", "UTF-8"}, k_morning24, k_evening24},
      // A morning word (eleven Assamese letters, 33 bytes) longer than the
      // whole timestamp: the 24-hour clock, never an unterminated name.
      {kPosix, {"as_IN", "UTF-8"}, k_morning24, k_evening24},
      // A morning word that fits, an evening word (12 bytes) that does not.
      {kPosix, {nullptr, "UTF-8", "am", "postmeridiem"}, k_morning24, k_evening24},
      // The words of Wine's C runtime: in code page 932 bytes, not UTF-8; with
      // a '?', which cannot stand in a file name ("a.?m.", "p.?m."); kept.
      {kWindows, {"Japanese_Japan.932", "CP932"}, k_morning24, k_evening24},
      {kWindows, {"Spanish_Spain.1252", "CP1252"}, k_morning24, k_evening24},
      {kWindows,
       {"Swedish_Sweden.1252", "CP1252"},
       "Comp 1 2026-12-08 09.30.00 fm.png",
       "Comp 1 2026-12-08 09.30.00 em.png"},
      // One word for both halves of the day, a word with a separator: the 24-hour clock.
      {kPosix, {nullptr, "UTF-8", "x", "x"}, k_morning24, k_evening24},
      {kPosix, {nullptr, "UTF-8", "a/m", "p/m"}, k_morning24, k_evening24},
      // A tab, a control character, in the morning word; a '|' in the
      // evening word alone: the 24-hour clock, morning and evening.
      {kPosix, {nullptr, "UTF-8", "<U0009>am", "pm"}, k_morning24, k_evening24},
      {kPosix, {nullptr, "UTF-8", "am", "p|m"}, k_morning24, k_evening24},
      // These three characters are ED A1 B0 E1 A1 A1 in EUC-KR: UTF-8 in form,
      // but its first three bytes encode a surrogate (U+D870): the 24-hour clock.
      {kPosix, {nullptr, "EUC-KR", "<UF9F7><UACB0><U3000>", "pm"}, k_morning24, k_evening24},
  };
  ActivateComposition(u"Comp 1", GradientFrame(4, 4, 0, true));
  for (const auto& c : cases) {
    const bool made = c.locale.system == nullptr;
    if (!made && c.platform != probe::kPlatform) continue;
    SCOPED_TRACE(std::string(made ? c.locale.am : c.locale.system) + "." + c.locale.charmap);
    ASSERT_TRUE(probe::UseTimeLocale(c.locale, home_ / "locales"))
        << "localedef (Debian package locales)";
    probe::FixClock(kFixedNow);
    EXPECT_EQ(Capture().result, 0);
    probe::FixClock(kFixedNow + 12 * 60 * 60);
    EXPECT_EQ(Capture().result, 0);
    std::vector<std::string> expected = {c.morning, c.evening};
    std::sort(expected.begin(), expected.end());  // as DesktopFiles() gives them
    EXPECT_EQ(DesktopFiles(), expected);
    for (const auto& file : DesktopFiles()) fs::remove(OnDesktop(file));
  }
}

}  // namespace
}  // namespace glimster::capture_tests
