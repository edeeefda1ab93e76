// Every glimster-host test runs the real program in a temporary folder of its
// own: the home folder (so the default desktop), TMPDIR and the program's
// output files all lie inside it, and it is removed afterwards.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ToolRun.h"
#include "tests/support/PluginUnderTest.h"

namespace glimster::cli_tests {

namespace fs = std::filesystem;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // glimster-host's command: the program, after the emulator that runs it
  // in the aarch64 tree.
  static std::vector<std::string> HostCommand();
  // The environment glimster-host runs in: home_ given to the plug-in under
  // test as its home folder (HOME for Glimster.so, CFFIXED_USER_HOME for the
  // Mac code: substitute_host/platform/HomeFolder.h), TMPDIR = tmp_.
  std::map<std::string, std::string> Environment() const;
  // Runs glimster-host with `arguments` in that environment.
  ToolRun RunHostAsGiven(const std::vector<std::string>& arguments) const;
  // The same with the plug-in under test named first.
  ToolRun RunHost(const std::vector<std::string>& arguments) const;

  // The plug-in under test (tests/support/PluginUnderTest.h), and the
  // desktop it writes to by default.
  static fs::path PluginFile() { return test_support::PluginUnderTest(); }
  fs::path DefaultDesktop() const { return home_ / "Desktop"; }

  fs::path root_;     // the test's own folder
  fs::path home_;     // root_/home
  fs::path tmp_;      // root_/tmp, the program's temporary folder
  fs::path scratch_;  // root_/scratch, for files the test makes
};

// The entries of `folder` (none when it does not exist), sorted.
std::vector<fs::path> EntriesOf(const fs::path& folder);

// The lines of `text`, without their line feeds.
std::vector<std::string> LinesOf(const std::string& text);

// What follows "<label>: " on each line of `output` that starts so.
std::vector<std::string> ValuesOf(const std::string& output, const std::string& label);

// The first of those, or "" when no line starts so.
std::string ValueOf(const std::string& output, const std::string& label);

// Whether `name` is that of a capture of the default composition, "Comp 1",
// with the time of the capture.
bool IsDefaultCompositionFileName(const std::string& name);

}  // namespace glimster::cli_tests
