// The Windows operations of output naming, run on Windows: the name's UTF-8
// form whatever its length, the desktop folder, and the message, which is
// watched through the naming seam (the platform's message operation replaced
// by a recorder), never shown.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "capture/NamingPlatform.h"
#include "capture/OutputNaming.h"
#include "tests/support/Probe.h"
#include "tests/windows/WindowsTestSupport.h"

namespace glimster::windows_tests {
namespace {

struct Message {
  std::string text;
  std::string caption;
};
std::vector<Message> g_messages;

void RecordMessage(const char* text, const char* caption) { g_messages.push_back({text, caption}); }

// The Windows operations, but with the message recorded instead of shown.
NamingPlatform WindowsWithRecordedMessage() {
  NamingPlatform platform = kNativeNamingPlatform;
  platform.show_message = RecordMessage;
  return platform;
}

// The path for `name` at a fixed time, or nullopt when none was built.
std::optional<std::string> PathFor(const std::u16string& name, const NamingPlatform& platform) {
  const std::u16string with_nul = name + u'\0';
  const OutputPath output = BuildOutputPath(
      with_nul.data(), static_cast<std::uint32_t>(with_nul.size() * 2), probe::kFixedNow, platform);
  if (output.failure != NamingFailure::kNone) return std::nullopt;
  return output.path;
}

class WindowsNaming : public testing::Test {
 protected:
  void SetUp() override { g_messages.clear(); }
};

// 85 three-byte characters are 255 bytes; longer names convert whole too.
TEST_F(WindowsNaming, ConvertsNamesOfAnyLength) {
  std::string kanji;
  for (int i = 0; i < 86; ++i) kanji += "\xE6\x97\xA5";
  EXPECT_EQ(kNativeNamingPlatform.name_to_utf8(std::u16string(85, u'\u65e5')), kanji.substr(3));
  EXPECT_EQ(kNativeNamingPlatform.name_to_utf8(std::u16string(86, u'\u65e5')), kanji);
  EXPECT_EQ(kNativeNamingPlatform.name_to_utf8(std::u16string(300, u'a')), std::string(300, 'a'));
}

TEST_F(WindowsNaming, ConvertsNonAsciiAndAnUnpairedSurrogate) {
  EXPECT_EQ(kNativeNamingPlatform.name_to_utf8(u"D\u00e9mo \U0001F3AC"),
            std::optional<std::string>("D\xC3\xA9mo \xF0\x9F\x8E\xAC"));
  EXPECT_EQ(kNativeNamingPlatform.name_to_utf8(u""), std::optional<std::string>(""));
  // Through the common steps, which replace an unpaired surrogate first.
  const std::u16string lone = std::u16string(u"a") + char16_t(0xD800) + u"b";
  const std::optional<std::string> path = PathFor(lone, WindowsWithRecordedMessage());
  ASSERT_TRUE(path.has_value());
  EXPECT_NE(path->find("\\a\xEF\xBF\xBD"
                       "b "),
            std::string::npos)
      << *path;
}

TEST_F(WindowsNaming, DesktopFolderIsTheShellsDesktopInUtf8) {
  const DesktopLookup folder = kNativeNamingPlatform.desktop_folder();
  ASSERT_EQ(folder.status, DesktopLookup::Status::kFound);
  EXPECT_EQ(folder.utf8_path, Utf8Of(ShellDesktopFolder().wstring()));
}

TEST_F(WindowsNaming, JoinsDesktopNameAndTimeWithABackslash) {
  const std::optional<std::string> path = PathFor(u"Comp 1", WindowsWithRecordedMessage());
  ASSERT_TRUE(path.has_value());
  const std::string prefix = Utf8Of(ShellDesktopFolder().wstring()) + "\\Comp 1 ";
  ASSERT_EQ(path->compare(0, prefix.size(), prefix), 0) << *path;
  // "YYYY-MM-DD hh.mm.ss AM.png"
  EXPECT_EQ(path->size(), prefix.size() + 26) << *path;
  EXPECT_EQ(path->substr(path->size() - 4), ".png");
  EXPECT_TRUE(g_messages.empty());
}

// Takes the real desktop folder away for the test's duration, so that
// SHGetFolderPathW fails as it does when the folder is missing. Run alone.
class DesktopUnavailable : public testing::Test {
 protected:
  void SetUp() override {
    g_messages.clear();
    desktop_ = ShellDesktopFolder();
    away_ = desktop_;
    away_ += L".away";
    std::filesystem::rename(desktop_, away_);
  }
  void TearDown() override { std::filesystem::rename(away_, desktop_); }

  std::filesystem::path desktop_;
  std::filesystem::path away_;
};

TEST_F(DesktopUnavailable, DesktopFolderFailsAndTheCaptureAsksForOneMessage) {
  EXPECT_EQ(kNativeNamingPlatform.desktop_folder().status, DesktopLookup::Status::kUnavailable);

  EXPECT_FALSE(PathFor(u"Comp 1", WindowsWithRecordedMessage()).has_value());
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_messages[0].text, "Can't Access Desktop");
  EXPECT_EQ(g_messages[0].caption, "Error");
  // Windows was not asked to make the folder again.
  EXPECT_FALSE(std::filesystem::exists(desktop_));
}

}  // namespace
}  // namespace glimster::windows_tests
