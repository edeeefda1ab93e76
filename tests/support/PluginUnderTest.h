// The plug-in binary the host-driven tests load, chosen in one place for all
// of them: the integration, capture, reliability and command-line tests.
//
// A program run for a macos-<arch> label checks, before its first test, that
// what it loads is macos_runner running the <arch> slice of the bundle this
// build made, and fails at once, saying what it found, when it is not: a
// stray GLIMSTER_PLUGIN or GLIMSTER_MACOS_BUNDLE would otherwise have the
// Mac code's tests test another binary unseen.
#pragma once

#include "substitute_host/PluginBinary.h"

#include <filesystem>
#include <optional>
#include <string>

namespace glimster::test_support {

// The plug-in built with the tests: Glimster.so in the Linux build, the Mac
// code through macos_runner in the aarch64 tree; glimster-host's default too.
std::filesystem::path BuiltPlugin();

// The slice the tests are for: the environment variable GLIMSTER_MACOS_TESTS
// ("x86_64", "arm64"; ctest sets it for the macos-<arch> labels), and in the
// aarch64 tree, where every host-driven test is one of the Mac code's, that
// tree's slice when it is not set. None: the tests are Glimster.so's.
std::optional<std::string> MacSliceUnderTest();

// The file named by the environment variable GLIMSTER_PLUGIN when it is set
// and not empty; else, for a slice under test, the runner built with the
// tests; else BuiltPlugin().
std::filesystem::path PluginUnderTest();

// PluginUnderTest(), loaded once for the whole program and never unloaded.
inline const substitute_host::PluginBinary& LoadedPluginUnderTest() {
  static const substitute_host::PluginBinary kPlugin(PluginUnderTest());
  return kPlugin;
}

// The universal Glimster.plugin this build made, which the runner loads
// unless GLIMSTER_MACOS_BUNDLE names another (empty in a build without the runner).
std::filesystem::path BuiltMacBundle();

}  // namespace glimster::test_support
