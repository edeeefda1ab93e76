#include "substitute_host/platform/HomeFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace glimster::substitute_host::platform {

const char* HomeVariableOf(const PluginBinary& plugin) {
#if defined(__APPLE__)
  (void)plugin;
  return "CFFIXED_USER_HOME";
#else
  return plugin.loaded_mac_code() ? "CFFIXED_USER_HOME" : "HOME";
#endif
}

std::filesystem::path HomeFolder(const PluginBinary& plugin) {
  const char* variable = HomeVariableOf(plugin);
  const char* home = std::getenv(variable);
  if (home != nullptr && *home != '\0') {
    return home;
  }
  if (std::strcmp(variable, "HOME") == 0) {
    throw std::runtime_error("HOME is not set, so there is no desktop folder");
  }
  passwd entry{};
  passwd* user = nullptr;
  char lines[4096];
  if (getpwuid_r(geteuid(), &entry, lines, sizeof lines, &user) != 0 || user == nullptr) {
    throw std::runtime_error(
        "CFFIXED_USER_HOME is not set and the user database has no entry "
        "for user " +
        std::to_string(geteuid()) + ", so there is no desktop folder");
  }
  return user->pw_dir;
}

}  // namespace glimster::substitute_host::platform
