// The plug-in descriptor as the host finds it: read back from the loaded
// Glimster.aex with the resource functions of Windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "substitute_host/PluginBinary.h"
#include "tests/windows/WindowsTestSupport.h"

namespace glimster::windows_tests {
namespace {

constexpr WORD kUsEnglish = 1033;
constexpr WORD kDescriptorId = 16000;

// The descriptor, byte for byte: the header (leading word 1, version 0,
// count 5), then kind 'AEgx', name "Glimster", category "General Plugin",
// version 3.0 and the x86-64 entry point, each under vendor 8BIM with
// identifier 0 and its data length; codes stored little-endian (reversed).
const std::string kExpectedDescriptor(
    "\x01\0\0\0\0\0\x05\0\0\0"
    "MIB8dnik\0\0\0\0\x04\0\0\0xgEA"
    "MIB8eman\0\0\0\0\x0c\0\0\0\x08Glimster\0\0\0"
    "MIB8gtac\0\0\0\0\x10\0\0\0\x0eGeneral Plugin\0"
    "MIB8srev\0\0\0\0\x04\0\0\0\0\0\x03\0"
    "MIB84668\0\0\0\0\x10\0\0\0EntryPointFunc\0\0",
    142);

class DescriptorResource : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = std::make_unique<substitute_host::PluginBinary>(PluginFile());
    module_ = LoadedPluginModule();
    ASSERT_NE(module_, nullptr) << "the substitute host did not load " << PluginFile().u8string();
  }

  // The bytes of the descriptor resource, through FindResourceExW and LoadResource.
  std::vector<std::uint8_t> DescriptorBytes() const {
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

BOOL CALLBACK CollectType(HMODULE, LPWSTR type, LONG_PTR out) {
  auto* types = reinterpret_cast<std::vector<std::wstring>*>(out);
  types->push_back(IS_INTRESOURCE(type) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(type))
                                        : std::wstring(type));
  return TRUE;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out) {
  auto* names = reinterpret_cast<std::vector<std::wstring>*>(out);
  names->push_back(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                        : std::wstring(name));
  return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR out) {
  reinterpret_cast<std::vector<WORD>*>(out)->push_back(language);
  return TRUE;
}

TEST_F(DescriptorResource, IsOneResourceOfTheStringTypePiplWithId16000InUsEnglish) {
  std::vector<std::wstring> types;
  EnumResourceTypesW(module_, CollectType, reinterpret_cast<LONG_PTR>(&types));
  std::sort(types.begin(), types.end());
  // A string type "PIPL", not a numbered type; beside it only the version (type 16).
  EXPECT_EQ(types, (std::vector<std::wstring>{L"#16", L"PIPL"}));

  std::vector<std::wstring> names;
  EnumResourceNamesW(module_, L"PIPL", CollectName, reinterpret_cast<LONG_PTR>(&names));
  EXPECT_EQ(names, std::vector<std::wstring>{L"#16000"});

  std::vector<WORD> languages;
  EnumResourceLanguagesW(module_, L"PIPL", MAKEINTRESOURCEW(kDescriptorId), CollectLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  EXPECT_EQ(languages, std::vector<WORD>{kUsEnglish});

  EXPECT_NE(FindResourceExW(module_, L"PIPL", MAKEINTRESOURCEW(kDescriptorId), kUsEnglish),
            nullptr);
}

TEST_F(DescriptorResource, HoldsThe142BytesOfTheDescriptor) {
  const std::vector<std::uint8_t> bytes = DescriptorBytes();
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), kExpectedDescriptor);
}

TEST_F(DescriptorResource, NamesTheLibrarysOnlyExport) {
  const std::vector<std::uint8_t> bytes = DescriptorBytes();
  ASSERT_EQ(bytes.size(), 142u);
  const std::string entry_name(reinterpret_cast<const char*>(bytes.data() + 126));
  EXPECT_EQ(entry_name, "EntryPointFunc");
  EXPECT_NE(GetProcAddress(module_, entry_name.c_str()), nullptr);

  // An x86-64 DLL (PE32+) whose export directory holds one function, exported by that name.
  const auto* base = reinterpret_cast<const std::uint8_t*>(module_);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
  EXPECT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
  EXPECT_NE(nt->FileHeader.Characteristics & IMAGE_FILE_DLL, 0);
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
  EXPECT_EQ(reinterpret_cast<void*>(plugin_->EntryPoint()),
            reinterpret_cast<void*>(GetProcAddress(module_, "EntryPointFunc")));
}

}  // namespace
}  // namespace glimster::windows_tests
