// The plug-in binary the host-driven tests load, chosen in one place for all
// of them: the integration, capture, reliability and command-line tests.
#pragma once

#include <filesystem>

namespace glimster::test_support {

// The plug-in built with the tests: Glimster.so in the Linux build, the Mac
// code through macos_runner in the aarch64 tree; glimster-host's default too.
std::filesystem::path BuiltPlugin();

// The file named by the environment variable GLIMSTER_PLUGIN when it is set
// and not empty (ctest sets it to the macOS runner for the macos-x86_64
// tests), else BuiltPlugin().
std::filesystem::path PluginUnderTest();

}  // namespace glimster::test_support
