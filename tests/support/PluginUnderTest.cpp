#include "tests/support/PluginUnderTest.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "substitute_host/PluginBinary.h"

namespace glimster::test_support {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

// Before the first test of a macos-<arch> run: the plug-in under test is the
// runner, and it loaded the slice and the bundle the tests are for.
class MacCodeCheck : public ::testing::Environment {
 public:
  void SetUp() override {
    const std::optional<std::string> slice = MacSliceUnderTest();
    if (!slice) return;
    const std::string tests = "the macos-" + *slice + " tests ";
    const fs::path plugin = PluginUnderTest();
    std::optional<substitute_host::LoadedMacCode> loaded;
    try {
      loaded = substitute_host::PluginBinary(plugin).loaded_mac_code();
    } catch (const substitute_host::PluginLoadError& error) {
      GTEST_FAIL() << tests << "cannot load " << plugin << ": " << error.what();
    }
    if (!loaded) {
      GTEST_FAIL() << tests << "load " << plugin
                   << ", which is not macos_runner (it exports no glimster_macos_loaded); is "
                      "GLIMSTER_PLUGIN set?";
    }
    if (loaded->architecture != *slice) {
      GTEST_FAIL() << tests << "load macos_runner running the " << loaded->architecture << " slice";
    }
    const fs::path expected = BuiltMacBundle() / "Contents" / "MacOS" / "Glimster";
    std::error_code ignored;
    if (!fs::equivalent(loaded->executable, expected, ignored)) {
      GTEST_FAIL() << tests << "load the Mac code of " << loaded->executable << ", not " << expected
                   << " of the bundle this build made; is GLIMSTER_MACOS_BUNDLE set?";
    }
  }
};

[[maybe_unused]] ::testing::Environment* const kMacCodeCheck =
    ::testing::AddGlobalTestEnvironment(new MacCodeCheck);

}  // namespace

fs::path BuiltPlugin() { return GLIMSTER_PLUGIN_FILE; }

std::optional<std::string> MacSliceUnderTest() {
  if (std::optional<std::string> slice = Environment("GLIMSTER_MACOS_TESTS")) return slice;
#ifdef GLIMSTER_ONLY_MACOS_TESTS
  return std::string(GLIMSTER_MACOS_RUNNER_ARCH);
#else
  return std::nullopt;
#endif
}

fs::path PluginUnderTest() {
  if (std::optional<std::string> chosen = Environment("GLIMSTER_PLUGIN")) return *chosen;
#ifdef GLIMSTER_MACOS_RUNNER_FILE
  if (MacSliceUnderTest()) return GLIMSTER_MACOS_RUNNER_FILE;
#endif
  return BuiltPlugin();
}

fs::path BuiltMacBundle() {
#ifdef GLIMSTER_MACOS_BUNDLE_DIR
  return GLIMSTER_MACOS_BUNDLE_DIR;
#else
  return {};  // a build without the runner makes no bundle it loads
#endif
}

}  // namespace glimster::test_support
