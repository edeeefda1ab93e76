// A substitute host with the real plug-in registered, a composition to
// capture, and a desktop inside the test's own temporary home folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "substitute_host/Host.h"
#include "substitute_host/PluginBinary.h"
#include "substitute_host/platform/DesktopRedirect.h"
#include "tests/support/PluginUnderTest.h"
#include "tests/support/PngImages.h"

namespace glimster::capture_tests {

namespace fs = std::filesystem;
using substitute_host::Argb;
using substitute_host::Frame;
using substitute_host::Host;
using substitute_host::Item;

using test_support::DecodePng;
using test_support::ReportedOnce;
using test_support::Rgba8;

// What the plug-in should write for `frame`: its pixels, red-green-blue-alpha,
// tightly packed.
inline Rgba8 ExpectedImage(const Frame& frame) { return test_support::RgbaOf(frame); }

// A frame with gradients in every channel, padding bytes 0xEE after each row.
Frame GradientFrame(A_long width, A_long height, A_long row_padding, bool opaque);

// The handled flag as Capture() presets it, neither true nor false, so that a
// flag left untouched shows as such; and as the plug-in sets it.
inline constexpr A_Boolean kHandledUntouched = 0xA5;
inline constexpr A_Boolean kHandled = 1;

// What a forked child printed and how it ended.
struct ChildRun {
  int exit_code = -1;
  std::string output;
};

class CaptureFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The plug-in binary the host loads.
  virtual fs::path PluginFile() const { return test_support::PluginUnderTest(); }

  // Adds a composition and makes it active.
  Item& ActivateComposition(const std::u16string& name, Frame frame, A_Time time = {12, 24});
  // Chooses "Take Glimster" with the handled flag preset to kHandledUntouched,
  // standard output captured into `output`.
  substitute_host::CommandOutcome Capture(std::string* output = nullptr);
  // Runs `body` in a forked child with its standard output captured; the
  // child's exit code is what `body` gives.
  ChildRun InChild(const std::function<int()>& body);

  // Makes `desktop`, a folder named Desktop, the plug-in's desktop and
  // desktop_: its parent is the home folder the plug-in finds, through HOME
  // for Glimster.so, through CFFIXED_USER_HOME for the Mac code, as on a Mac
  // (substitute_host/platform/HomeFolder.h).
  void UseDesktop(const fs::path& desktop);
  // Makes a desktop folder whose path is `bytes` long, inside the home
  // folder, and uses it; gives the folder.
  fs::path UseDesktopOfBytes(std::size_t bytes);

  // The regular files on the desktop, by name.
  std::vector<std::string> DesktopFiles() const;
  // The one PNG on the desktop; fails the test if there is not exactly one.
  fs::path OnlyPng() const;
  // Everything the host handed out was given back and nothing was misused.
  void ExpectEverythingGivenBack() const;

  fs::path home_;
  fs::path desktop_;
  std::optional<Host> host_;

 private:
  const substitute_host::PluginBinary* plugin_ = nullptr;
  std::optional<substitute_host::platform::DesktopRedirect> redirect_;
};

// The file name a capture of `utf8_name` gets at the capture tests' fixed
// time: "<name> 2026-12-08 09.30.00 AM.png".
std::string FileNameAt(const std::string& utf8_name);

// Whether `file_name` is "<name> YYYY-MM-DD hh.mm.ss AM|PM.png".
bool IsCaptureFileName(const std::string& file_name, const std::string& utf8_name);

}  // namespace glimster::capture_tests
