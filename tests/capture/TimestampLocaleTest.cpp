// The timestamp under the process's time locale: a capture in the morning and
// one twelve hours later are two files in every locale.
#include <clocale>
#include <cstdlib>
#include <string>

#include "CaptureFixture.h"
#include "FixedClock.h"

namespace glimster::capture_tests {
namespace {

// Builds locales from the system's sources into the test's own folder and
// makes the process's time locale one of them; back to "C" at the end.
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
  // Whether `source` in `charmap` could be built and set.
  bool Use(const std::string& source, const std::string& charmap) {
    const std::string name = source + "." + charmap;
    const std::string build = "localedef -c -i " + source + " -f " + charmap + " '" +
                              (folder_ / name).string() + "' >/dev/null 2>&1";
    if (std::system(build.c_str()) != 0 && !fs::exists(folder_ / name)) return false;
    return std::setlocale(LC_TIME, name.c_str()) != nullptr;
  }

 private:
  fs::path folder_;
};

class TimestampLocaleTest : public CaptureFixture {};

TEST_F(TimestampLocaleTest, MorningAndEveningCapturesAreTwoFilesInEveryLocale) {
  const struct {
    const char* source;
    const char* charmap;
    const char* morning;
    const char* evening;
  } cases[] = {
      // No AM/PM word: the 24-hour clock.
      {"de_DE", "UTF-8", "Comp 1 2026-12-08 09.30.00.png", "Comp 1 2026-12-08 21.30.00.png"},
      // The word in EUC-KR bytes, not UTF-8: the 24-hour clock.
      {"ko_KR", "EUC-KR", "Comp 1 2026-12-08 09.30.00.png", "Comp 1 2026-12-08 21.30.00.png"},
      // The same word in UTF-8 (U+C624 U+C804, U+C624 U+D6C4) is kept.
      {"ko_KR", "UTF-8", "Comp 1 2026-12-08 09.30.00 \xec\x98\xa4\xec\xa0\x84.png",
       "Comp 1 2026-12-08 09.30.00 \xec\x98\xa4\xed\x9b\x84.png"},
  };
  LocaleScope locales(home_ / "locales");
  ActivateComposition(u"Comp 1", GradientFrame(4, 4, 0, true));
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.source) + "." + c.charmap);
    ASSERT_TRUE(locales.Use(c.source, c.charmap)) << "localedef (Debian package locales)";
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
