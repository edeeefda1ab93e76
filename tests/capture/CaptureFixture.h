// A substitute host with the real plug-in registered, a composition to
// capture, and a desktop inside the test's own temporary home folder, given
// to the plug-in through the probe (tests/support/Probe.h): the same cases
// run on Glimster.so, on the Mac code through macos_runner and, built with
// mingw-w64 and run under Wine, on Glimster.aex.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "substitute_host/Host.h"
#include "substitute_host/PluginBinary.h"
#include "substitute_host/platform/DesktopRedirect.h"
#include "tests/support/FileContents.h"
#include "tests/support/PluginUnderTest.h"
#include "tests/support/PngImages.h"
#include "tests/support/Probe.h"

namespace glimster::capture_tests {

namespace fs = std::filesystem;
using substitute_host::Argb;
using substitute_host::Frame;
using substitute_host::Host;
using substitute_host::Item;

using probe::kFixedNow;
using probe::kFixedStamp;
using probe::PathOf;
using probe::Utf8NameOf;
using test_support::ContentsOf;
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

// A new folder of its own in the system's temporary folder, named `prefix`
// and a number.
fs::path MakeTemporaryFolder(const std::string& prefix);

// The names of the entries of `folder` (UTF-8), sorted; none if it is missing.
std::vector<std::string> FolderEntries(const fs::path& folder);

// Everything `host` handed out was given back and nothing was misused.
void ExpectEverythingGivenBack(const Host& host);

// Every entry under a folder, by relative path (UTF-8): a folder's is
// "<folder>", a file's its bytes.
using Tree = std::map<std::string, std::string>;
Tree TreeOf(const fs::path& root);

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
  // Captures with the home folder as it is now; the capture must print the
  // line of `code`, report it once, succeed as far as the host knows, give
  // everything back and change nothing.
  void ExpectRefusedWithoutTrace(const std::string& line, unsigned code);

  // Makes `desktop` (a folder named Desktop) the plug-in's desktop and
  // desktop_, as the host's --desktop does (substitute_host/platform/
  // DesktopRedirect.h): through HOME for Glimster.so, CFFIXED_USER_HOME for
  // the Mac code, the shell's desktop lookup for Glimster.aex.
  void UseDesktop(const fs::path& desktop);

  // The entries of the desktop, by name (UTF-8).
  std::vector<std::string> DesktopFiles() const { return FolderEntries(desktop_); }
  // The one PNG on the desktop; fails the test if there is not exactly one.
  fs::path OnlyPng() const;
  // The file `utf8_name` on the desktop.
  fs::path OnDesktop(const std::string& utf8_name) const { return desktop_ / PathOf(utf8_name); }
  // Everything the host handed out was given back and nothing was misused.
  void ExpectEverythingGivenBack() const { capture_tests::ExpectEverythingGivenBack(*host_); }

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
