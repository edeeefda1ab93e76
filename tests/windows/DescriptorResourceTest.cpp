// The plug-in descriptor as the host finds it: read back from the loaded
// Glimster.aex with the resource functions of Windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "substitute_host/PluginBinary.h"
#include "tests/windows/WindowsTestSupport.h"

namespace glimster::windows_tests {
namespace {

constexpr WORD kUsEnglish = 1033;
constexpr WORD kDescriptorId = 16000;

// The descriptor, byte for byte: the header (leading word 1, version 0,
// count 5), then kind, name, category, version and the x86-64 entry point,
// each under vendor 8BIM with identifier 0; codes stored little-endian.
constexpr std::array<std::uint8_t, 142> kExpectedDescriptor = {
    0x01,
    0x00,
    0x00,
    0x00,
    0x00,
    0x00,
    0x05,
    0x00,
    0x00,
    0x00,
    // kind: 'AEgx'
    'M',
    'I',
    'B',
    '8',
    'd',
    'n',
    'i',
    'k',
    0,
    0,
    0,
    0,
    4,
    0,
    0,
    0,
    'x',
    'g',
    'E',
    'A',
    // name: Pascal "Glimster", 3 filler bytes
    'M',
    'I',
    'B',
    '8',
    'e',
    'm',
    'a',
    'n',
    0,
    0,
    0,
    0,
    12,
    0,
    0,
    0,
    8,
    'G',
    'l',
    'i',
    'm',
    's',
    't',
    'e',
    'r',
    0,
    0,
    0,
    // catg: Pascal "General Plugin", 1 filler byte
    'M',
    'I',
    'B',
    '8',
    'g',
    't',
    'a',
    'c',
    0,
    0,
    0,
    0,
    16,
    0,
    0,
    0,
    14,
    'G',
    'e',
    'n',
    'e',
    'r',
    'a',
    'l',
    ' ',
    'P',
    'l',
    'u',
    'g',
    'i',
    'n',
    0,
    // vers: 0x00030000
    'M',
    'I',
    'B',
    '8',
    's',
    'r',
    'e',
    'v',
    0,
    0,
    0,
    0,
    4,
    0,
    0,
    0,
    0x00,
    0x00,
    0x03,
    0x00,
    // 8664: "EntryPointFunc", its NUL, 1 filler byte
    'M',
    'I',
    'B',
    '8',
    '4',
    '6',
    '6',
    '8',
    0,
    0,
    0,
    0,
    16,
    0,
    0,
    0,
    'E',
    'n',
    't',
    'r',
    'y',
    'P',
    'o',
    'i',
    'n',
    't',
    'F',
    'u',
    'n',
    'c',
    0,
    0,
};

std::uint16_t u16At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes.at(at)) |
         static_cast<std::uint32_t>(bytes.at(at + 1)) << 8 |
         static_cast<std::uint32_t>(bytes.at(at + 2)) << 16 |
         static_cast<std::uint32_t>(bytes.at(at + 3)) << 24;
}

std::string textAt(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>(bytes.at(at + i));
  return text;
}

// The four-character code stored at `at`: a little-endian number whose
// big-endian reading is the code.
std::string codeAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  const std::uint32_t value = u32At(bytes, at);
  std::string code;
  for (int shift = 24; shift >= 0; shift -= 8) code += static_cast<char>((value >> shift) & 0xFF);
  return code;
}

class DescriptorResource : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = std::make_unique<substitute_host::PluginBinary>(pluginFile());
    module_ = loadedPluginModule();
    ASSERT_NE(module_, nullptr) << "the substitute host did not load " << pluginFile().u8string();
  }

  // The bytes of the descriptor resource, through FindResourceExW and LoadResource.
  std::vector<std::uint8_t> descriptorBytes() const {
    HRSRC found = FindResourceExW(module_, L"PIPL", MAKEINTRESOURCEW(kDescriptorId), kUsEnglish);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module_, found);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
    const DWORD size = SizeofResource(module_, found);
    if (bytes == nullptr) return {};
    return std::vector<std::uint8_t>(bytes, bytes + size);
  }

  std::unique_ptr<substitute_host::PluginBinary> plugin_;
  HMODULE module_ = nullptr;
};

BOOL CALLBACK collectType(HMODULE, LPWSTR type, LONG_PTR out) {
  auto* types = reinterpret_cast<std::vector<std::wstring>*>(out);
  types->push_back(IS_INTRESOURCE(type) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(type))
                                        : std::wstring(type));
  return TRUE;
}

BOOL CALLBACK collectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out) {
  auto* names = reinterpret_cast<std::vector<std::wstring>*>(out);
  names->push_back(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                        : std::wstring(name));
  return TRUE;
}

BOOL CALLBACK collectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR out) {
  reinterpret_cast<std::vector<WORD>*>(out)->push_back(language);
  return TRUE;
}

TEST_F(DescriptorResource, IsOneResourceOfTheStringTypePiplWithId16000InUsEnglish) {
  std::vector<std::wstring> types;
  EnumResourceTypesW(module_, collectType, reinterpret_cast<LONG_PTR>(&types));
  std::sort(types.begin(), types.end());
  // A string type "PIPL", not a numbered type; beside it only the version (type 16).
  EXPECT_EQ(types, (std::vector<std::wstring>{L"#16", L"PIPL"}));

  std::vector<std::wstring> names;
  EnumResourceNamesW(module_, L"PIPL", collectName, reinterpret_cast<LONG_PTR>(&names));
  EXPECT_EQ(names, std::vector<std::wstring>{L"#16000"});

  std::vector<WORD> languages;
  EnumResourceLanguagesW(module_, L"PIPL", MAKEINTRESOURCEW(kDescriptorId), collectLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  EXPECT_EQ(languages, std::vector<WORD>{kUsEnglish});

  EXPECT_NE(FindResourceExW(module_, L"PIPL", MAKEINTRESOURCEW(kDescriptorId), kUsEnglish),
            nullptr);
}

TEST_F(DescriptorResource, HoldsThe142BytesFieldByField) {
  const std::vector<std::uint8_t> bytes = descriptorBytes();
  ASSERT_EQ(bytes.size(), 142u);

  // Header.
  EXPECT_EQ(u16At(bytes, 0), 1);
  EXPECT_EQ(u32At(bytes, 2), 0u);
  ASSERT_EQ(u32At(bytes, 6), 5u);

  struct Expected {
    const char* key;
    std::uint32_t length;
  };
  const Expected expected[] = {{"kind", 4}, {"name", 12}, {"catg", 16}, {"vers", 4}, {"8664", 16}};
  std::size_t at = 10;
  std::vector<std::size_t> data_at;
  for (const Expected& property : expected) {
    SCOPED_TRACE(property.key);
    EXPECT_EQ(codeAt(bytes, at), "8BIM");
    EXPECT_EQ(textAt(bytes, at, 4), "MIB8");  // the characters stand reversed in the file
    EXPECT_EQ(codeAt(bytes, at + 4), property.key);
    EXPECT_EQ(u32At(bytes, at + 8), 0u);
    const std::uint32_t length = u32At(bytes, at + 12);
    EXPECT_EQ(length, property.length);
    EXPECT_EQ(length % 4, 0u);
    data_at.push_back(at + 16);
    at += 16 + length;
  }
  EXPECT_EQ(at, bytes.size());  // back to back, nothing after the last

  // kind: a general plug-in.
  EXPECT_EQ(codeAt(bytes, data_at[0]), "AEgx");
  EXPECT_EQ(textAt(bytes, data_at[0], 4), "xgEA");
  // name: length-prefixed "Glimster", then zeros.
  EXPECT_EQ(bytes[data_at[1]], 8);
  EXPECT_EQ(textAt(bytes, data_at[1] + 1, 8), "Glimster");
  EXPECT_EQ(textAt(bytes, data_at[1] + 9, 3), std::string(3, '\0'));
  // catg: length-prefixed "General Plugin", then a zero.
  EXPECT_EQ(bytes[data_at[2]], 14);
  EXPECT_EQ(textAt(bytes, data_at[2] + 1, 14), "General Plugin");
  EXPECT_EQ(bytes[data_at[2] + 15], 0);
  // vers: 3.0.
  EXPECT_EQ(u32At(bytes, data_at[3]), 196608u);
  EXPECT_EQ(textAt(bytes, data_at[3], 4), std::string("\0\0\x03\0", 4));
  // 8664: the entry point, NUL-terminated, then a zero.
  EXPECT_EQ(textAt(bytes, data_at[4], 16), std::string("EntryPointFunc\0\0", 16));

  // And the whole, byte for byte.
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), kExpectedDescriptor.begin()));
}

TEST_F(DescriptorResource, NamesTheLibrarysOnlyExport) {
  const std::vector<std::uint8_t> bytes = descriptorBytes();
  ASSERT_EQ(bytes.size(), 142u);
  const std::string entry_name(reinterpret_cast<const char*>(bytes.data() + 126));
  EXPECT_EQ(entry_name, "EntryPointFunc");
  EXPECT_NE(GetProcAddress(module_, entry_name.c_str()), nullptr);

  // The export directory of the loaded image: one function, exported by that name.
  const auto* base = reinterpret_cast<const std::uint8_t*>(module_);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  ASSERT_NE(directory.VirtualAddress, 0u);
  const auto* exports =
      reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
  EXPECT_EQ(exports->NumberOfFunctions, 1u);
  ASSERT_EQ(exports->NumberOfNames, 1u);
  const auto* name_rvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  EXPECT_STREQ(reinterpret_cast<const char*>(base + name_rvas[0]), "EntryPointFunc");
  const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
  const auto* functions = reinterpret_cast<const DWORD*>(base + exports->AddressOfFunctions);
  EXPECT_EQ(reinterpret_cast<FARPROC>(const_cast<std::uint8_t*>(base) + functions[ordinals[0]]),
            GetProcAddress(module_, "EntryPointFunc"));
  EXPECT_EQ(reinterpret_cast<void*>(plugin_->entryPoint()),
            reinterpret_cast<void*>(GetProcAddress(module_, "EntryPointFunc")));
}

}  // namespace
}  // namespace glimster::windows_tests
