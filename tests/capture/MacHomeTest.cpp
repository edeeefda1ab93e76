// The Mac code's home folder, found as a Mac's Foundation finds it:
// CFFIXED_USER_HOME, else the effective user's entry in the user database;
// HOME never. This program answers the user database itself: it exports
// getpwuid_r, so the runner's lookup comes here.
#include <dlfcn.h>
#include <pwd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "CaptureFixture.h"

namespace glimster::capture_tests {
namespace {

std::string g_database_home;  // while not empty, the home folder of every user

class MacHomeTest : public CaptureFixture {
 protected:
  void TearDown() override {
    g_database_home.clear();
    CaptureFixture::TearDown();
  }
};

TEST_F(MacHomeTest, WithoutCfFixedUserHomeTheUserDatabaseGivesItNotHome) {
  const fs::path database_home = home_ / "database";
  const fs::path variable_home = home_ / "HOME";
  for (const fs::path& home : {database_home, variable_home})
    fs::create_directories(home / "Desktop");
  g_database_home = database_home;
  const char* home = std::getenv("HOME");
  const std::optional<std::string> earlier_home =
      home != nullptr ? std::optional<std::string>(home) : std::nullopt;
  unsetenv("CFFIXED_USER_HOME");
  setenv("HOME", variable_home.c_str(), 1);
  ActivateComposition(u"home", GradientFrame(4, 4, 0, true));
  EXPECT_EQ(Capture().result, 0);
  earlier_home ? setenv("HOME", earlier_home->c_str(), 1) : unsetenv("HOME");
  EXPECT_TRUE(fs::exists(database_home / "Desktop" / FileNameAt("home")));
  EXPECT_TRUE(fs::is_empty(variable_home / "Desktop"));
}

}  // namespace
}  // namespace glimster::capture_tests

extern "C" int getpwuid_r(uid_t uid, passwd* entry, char* lines, size_t size, passwd** found) {
  using Lookup = int (*)(uid_t, passwd*, char*, size_t, passwd**);
  static const auto kReal = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getpwuid_r"));
  const int error = kReal(uid, entry, lines, size, found);
  if (error == 0 && *found != nullptr && !glimster::capture_tests::g_database_home.empty())
    entry->pw_dir = glimster::capture_tests::g_database_home.data();
  return error;
}
