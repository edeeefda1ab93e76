// The timestamp under the process's time locale: a capture in the morning and
// one twelve hours later are two files in every locale, on the desktop.
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <string>

#include "CaptureFixture.h"
#include "FixedClock.h"

namespace glimster::capture_tests {
namespace {

// The time category of a locale source whose AM/PM words are `am_pm`, in
// the source's own notation (e.g. "x";"x").
std::string TimeCategoryWith(const std::string& am_pm) {
  return "LC_TIME\n"
         "abday \"Sun\";\"Mon\";\"Tue\";\"Wed\";\"Thu\";\"Fri\";\"Sat\"\n"
         "day \"Sunday\";\"Monday\";\"Tuesday\";\"Wednesday\";\"Thursday\";\"Friday\";"
         "\"Saturday\"\n"
         "abmon \"Jan\";\"Feb\";\"Mar\";\"Apr\";\"May\";\"Jun\";\"Jul\";\"Aug\";\"Sep\";\"Oct\";"
         "\"Nov\";\"Dec\"\n"
         "mon \"January\";\"February\";\"March\";\"April\";\"May\";\"June\";\"July\";"
         "\"August\";\"September\";\"October\";\"November\";\"December\"\n"
         "d_t_fmt \"%a %d %b %Y %r\"\nd_fmt \"%m/%d/%Y\"\nt_fmt \"%r\"\n"
         "am_pm " +
         am_pm + "\nt_fmt_ampm \"%I:%M:%S %p\"\nEND LC_TIME\n";
}

// Builds locales into the test's own folder, from the system's sources or
// from sources written there, and makes the process's time locale one of
// them; back to "C" at the end.
class LocaleScope {
 public:
  explicit LocaleScope(const fs::path& folder) : folder_(folder) {
    fs::create_directory(folder_);
    setenv("LOCPATH", folder_.c_str(), 1);
  }
  ~LocaleScope() {
    std::setlocale(LC_TIME, "C");
    unsetenv("LOCPATH");
  }
  // Whether `source` (a system locale's, or a written one's when `text` is
  // not empty) in `charmap` could be built and set.
  bool Use(const std::string& source, const std::string& charmap, const std::string& text) {
    std::string input = source;
    if (!text.empty()) {
      input = (folder_ / (source + ".src")).string();
      std::ofstream(input) << text;
    }
    const std::string name = source + "." + charmap;
    // -c: a written source has only its time category, which localedef warns of.
    const std::string build = "localedef -c -i '" + input + "' -f " + charmap + " '" +
                              (folder_ / name).string() + "' >/dev/null 2>&1";
    if (std::system(build.c_str()) != 0 && !fs::exists(folder_ / name)) return false;
    return std::setlocale(LC_TIME, name.c_str()) != nullptr;
  }

 private:
  fs::path folder_;
};

class TimestampLocaleTest : public CaptureFixture {};

TEST_F(TimestampLocaleTest, MorningAndEveningCapturesAreTwoFilesInEveryLocale) {
  const std::string kMorning24 = "Comp 1 2026-12-08 09.30.00.png";
  const std::string kEvening24 = "Comp 1 2026-12-08 21.30.00.png";
  const struct {
    const char* source;
    const char* charmap;
    std::string text;  // the source, when written here
    std::string morning, evening;
  } cases[] = {
      // No AM/PM word: the 24-hour clock.
      {"de_DE", "UTF-8", "", kMorning24, kEvening24},
      // The word in EUC-KR bytes, not UTF-8: the 24-hour clock.
      {"ko_KR", "EUC-KR", "", kMorning24, kEvening24},
      // The same word in UTF-8 (U+C624 U+C804, U+C624 U+D6C4) is kept.
      {"ko_KR", "UTF-8", "", "Comp 1 2026-12-08 09.30.00 \xec\x98\xa4\xec\xa0\x84.png",
       "Comp 1 2026-12-08 09.30.00 \xec\x98\xa4\xed\x9b\x84.png"},
      // One word for both halves of the day, a word with a separator: the 24-hour clock.
      {"same", "UTF-8", TimeCategoryWith("\"x\";\"x\""), kMorning24, kEvening24},
      {"slash", "UTF-8", TimeCategoryWith("\"a/m\";\"p/m\""), kMorning24, kEvening24},
      // A tab, a control character, in the word: the 24-hour clock.
      {"tab", "UTF-8", TimeCategoryWith("\"<U0009>am\";\"pm\""), kMorning24, kEvening24},
      // These three characters are ED A1 B0 E1 A1 A1 in EUC-KR: UTF-8 in form,
      // but its first three bytes encode a surrogate (U+D870): the 24-hour clock.
      {"surrogate", "EUC-KR", TimeCategoryWith("\"<UF9F7><UACB0><U3000>\";\"pm\""), kMorning24,
       kEvening24},
      // Only the evening word (9 bytes) fits the timestamp, the morning word
      // (15 bytes) does not: the 24-hour clock all day.
      {"my_MM", "UTF-8", "", kMorning24, kEvening24},
  };
  LocaleScope locales(home_ / "locales");
  ActivateComposition(u"Comp 1", GradientFrame(4, 4, 0, true));
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.source) + "." + c.charmap);
    ASSERT_TRUE(locales.Use(c.source, c.charmap, c.text)) << "localedef (Debian package locales)";
    FixClock(kFixedNow);
    EXPECT_EQ(Capture().result, 0);
    FixClock(kFixedNow + 12 * 60 * 60);
    EXPECT_EQ(Capture().result, 0);
    EXPECT_EQ(DesktopFiles(), (std::vector<std::string>{c.morning, c.evening}));
    for (const auto& file : DesktopFiles()) fs::remove(desktop_ / file);
  }
}

}  // namespace
}  // namespace glimster::capture_tests
