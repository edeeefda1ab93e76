// The version resource of Glimster.aex as Windows reads it for the file's
// properties: GetFileVersionInfoW and VerQueryValueW on the file itself.
#include <gtest/gtest.h>

#include <windows.h>
#include <winver.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/windows/WindowsTestSupport.h"

namespace glimster::windows_tests {
namespace {

// The project's version, as the build passes it ("3.0.0"), in the fixed
// information's two packed halves.
constexpr DWORD kVersionHigh = (GLIMSTER_VERSION_MAJOR << 16) | GLIMSTER_VERSION_MINOR;
constexpr DWORD kVersionLow = GLIMSTER_VERSION_PATCH << 16;

class VersionResource : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring file = PluginFile().wstring();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource, error " << GetLastError();
    block_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, block_.data()));
  }

  // The value at `path` in the version block (empty when there is none).
  std::vector<unsigned char> ValueAt(const wchar_t* path) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block_.data(), path, &value, &length) || value == nullptr) return {};
    const auto* bytes = static_cast<const unsigned char*>(value);
    return std::vector<unsigned char>(bytes, bytes + length);
  }

  // A string of the US English, Unicode table.
  std::wstring StringNamed(const std::wstring& name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = L"\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueW(block_.data(), path.c_str(), &value, &length) || value == nullptr)
      return L"<none>";
    return std::wstring(static_cast<const wchar_t*>(value));
  }

  std::vector<unsigned char> block_;
};

TEST_F(VersionResource, FixedInformationIsTheProjectsVersionOfARelease) {
  const std::vector<unsigned char> bytes = ValueAt(L"\\");
  ASSERT_EQ(bytes.size(), sizeof(VS_FIXEDFILEINFO));
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, bytes.data(), sizeof fixed);
  EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed.dwFileVersionMS, kVersionHigh);
  EXPECT_EQ(fixed.dwFileVersionLS, kVersionLow);
  EXPECT_EQ(fixed.dwProductVersionMS, kVersionHigh);
  EXPECT_EQ(fixed.dwProductVersionLS, kVersionLow);
  EXPECT_EQ(fixed.dwFileFlags & fixed.dwFileFlagsMask,
            0u);  // no debug, pre-release or patched build
  EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST_F(VersionResource, StringsNameGlimsterAexAndItsVersion) {
  EXPECT_EQ(StringNamed(L"ProductName"), L"Glimster");
  EXPECT_EQ(StringNamed(L"OriginalFilename"), L"Glimster.aex");
  EXPECT_EQ(StringNamed(L"FileVersion"), L"" GLIMSTER_VERSION);
  EXPECT_EQ(StringNamed(L"ProductVersion"), L"" GLIMSTER_VERSION);
  EXPECT_EQ(StringNamed(L"FileDescription").rfind(L"Glimster: ", 0), 0u)
      << Utf8Of(StringNamed(L"FileDescription"));
}

TEST_F(VersionResource, TranslationIsUsEnglishUnicode) {
  const std::vector<unsigned char> translation = ValueAt(L"\\VarFileInfo\\Translation");
  EXPECT_EQ(translation, (std::vector<unsigned char>{0x09, 0x04, 0xB0, 0x04}));
}

}  // namespace
}  // namespace glimster::windows_tests
