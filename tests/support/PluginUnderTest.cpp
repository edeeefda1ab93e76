#include "tests/support/PluginUnderTest.h"

#include <cstdlib>

namespace glimster::test_support {

std::filesystem::path BuiltPlugin() { return GLIMSTER_PLUGIN_FILE; }

std::filesystem::path PluginUnderTest() {
  const char* chosen = std::getenv("GLIMSTER_PLUGIN");
  return chosen != nullptr && *chosen != '\0' ? std::filesystem::path(chosen) : BuiltPlugin();
}

}  // namespace glimster::test_support
