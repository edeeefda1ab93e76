// The extended form of the paths Glimster.aex writes to: made whole by
// Windows first, so that every way of writing a folder reaches it.
#include <gtest/gtest.h>

#include <string>

#include "capture/WindowsPaths.h"
#include "tests/windows/WindowsTestSupport.h"

namespace glimster::windows_tests {
namespace {

TEST(ExtendedPath, IsTheWholePathWithTheExtendedPrefix) {
  const struct {
    const char* what;
    std::wstring path;
    std::wstring extended;
  } cases[] = {
      {"a drive", L"C:\\Users\\u\\Desktop\\a.png", L"\\\\?\\C:\\Users\\u\\Desktop\\a.png"},
      {"a share", L"\\\\server\\share\\Desktop\\a.png",
       L"\\\\?\\UNC\\server\\share\\Desktop\\a.png"},
      {"already extended, kept literally", L"\\\\?\\C:\\u\\\\Desktop/./a.png",
       L"\\\\?\\C:\\u\\\\Desktop/./a.png"},
      {"the prefix as //?/", L"//?/C:/x/a.png", L"\\\\?\\C:\\x\\a.png"},
      {"the prefix as \\\\?/", L"\\\\?/C:/x/a.png", L"\\\\?\\C:\\x\\a.png"},
      {"the prefix as /\\?\\", L"/\\?\\C:\\x\\a.png", L"\\\\?\\C:\\x\\a.png"},
      {"the prefix as \\??\\, kept literally", L"\\??\\C:\\x\\.\\a.png", L"\\\\?\\C:\\x\\.\\a.png"},
      {"three backslashes before a share", L"\\\\\\server\\share\\a.png",
       L"\\\\?\\UNC\\server\\share\\a.png"},
      {"dot steps above a share", L"\\\\server\\share\\..\\..\\a.png",
       L"\\\\?\\UNC\\server\\share\\a.png"},
      {"a device path", L"\\\\.\\C:\\u\\Desktop\\a.png", L"\\\\?\\C:\\u\\Desktop\\a.png"},
      {"doubled separators", L"C:\\u\\\\Desktop\\\\a.png", L"\\\\?\\C:\\u\\Desktop\\a.png"},
      {"forward slashes", L"C:/u/Desktop/a.png", L"\\\\?\\C:\\u\\Desktop\\a.png"},
      {"dot steps", L"C:\\u\\.\\v\\..\\Desktop\\a.png", L"\\\\?\\C:\\u\\Desktop\\a.png"},
      {"a folder ending in a dot", L"C:\\u\\Desktop.\\a.png", L"\\\\?\\C:\\u\\Desktop\\a.png"},
      {"a folder ending in a space, kept", L"C:\\u\\Desktop \\a.png",
       L"\\\\?\\C:\\u\\Desktop \\a.png"},
      {"a file ending in spaces and dots", L"C:\\u\\Desktop\\a.png. .",
       L"\\\\?\\C:\\u\\Desktop\\a.png"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Utf8Of(ExtendedLengthPath(c.path)), Utf8Of(c.extended));
  }
}

}  // namespace
}  // namespace glimster::windows_tests
