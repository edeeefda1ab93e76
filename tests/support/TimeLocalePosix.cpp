// The probe's time locales on POSIX: built with localedef into a folder of
// the test's own and found through LOCPATH; also the unit tests' locales.
#include <clocale>
#include <cstdlib>
#include <fstream>

#include "tests/support/Probe.h"

namespace glimster::probe {
namespace {

// The time category of a locale source whose AM/PM words are `am` and `pm`.
std::string TimeCategoryWith(const std::string& am, const std::string& pm) {
  return "LC_TIME\n"
         "abday \"Sun\";\"Mon\";\"Tue\";\"Wed\";\"Thu\";\"Fri\";\"Sat\"\n"
         "day \"Sunday\";\"Monday\";\"Tuesday\";\"Wednesday\";\"Thursday\";\"Friday\";"
         "\"Saturday\"\n"
         "abmon \"Jan\";\"Feb\";\"Mar\";\"Apr\";\"May\";\"Jun\";\"Jul\";\"Aug\";\"Sep\";\"Oct\";"
         "\"Nov\";\"Dec\"\n"
         "mon \"January\";\"February\";\"March\";\"April\";\"May\";\"June\";\"July\";"
         "\"August\";\"September\";\"October\";\"November\";\"December\"\n"
         "d_t_fmt \"%a %d %b %Y %r\"\nd_fmt \"%m/%d/%Y\"\nt_fmt \"%r\"\n"
         "am_pm \"" +
         am + "\";\"" + pm + "\"\nt_fmt_ampm \"%I:%M:%S %p\"\nEND LC_TIME\n";
}

}  // namespace

bool UseTimeLocale(const TimeLocale& locale, const std::filesystem::path& scratch) {
  static int made = 0;
  std::filesystem::create_directories(scratch);
  setenv("LOCPATH", scratch.c_str(), 1);
  std::string source = locale.system != nullptr ? locale.system : "";
  if (locale.system == nullptr) {
    source = (scratch / ("made" + std::to_string(++made) + ".src")).string();
    std::ofstream(source) << TimeCategoryWith(locale.am, locale.pm);
  }
  const std::string name = std::filesystem::path(source).stem().string() + "." + locale.charmap;
  // -c: a made source has only its time category, which localedef warns of.
  const std::string build = "localedef -c -i '" + source + "' -f " + locale.charmap + " '" +
                            (scratch / name).string() + "' >/dev/null 2>&1";
  if (std::system(build.c_str()) != 0 && !std::filesystem::exists(scratch / name)) return false;
  return std::setlocale(LC_TIME, name.c_str()) != nullptr;
}

}  // namespace glimster::probe
