#include "tests/windows/WindowsTestSupport.h"

#include "tests/support/PluginUnderTest.h"

#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <utility>

namespace glimster::windows_tests {
namespace {

std::filesystem::path g_plugin_file;

}  // namespace

const std::filesystem::path& PluginFile() { return g_plugin_file; }

void SetPluginFile(std::filesystem::path file) { g_plugin_file = std::move(file); }

HMODULE LoadedPluginModule() { return GetModuleHandleW(g_plugin_file.filename().c_str()); }

std::vector<std::wstring> EntriesIn(const std::filesystem::path& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().wstring());
  }
  return names;
}

std::string Utf8Of(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes,
                      nullptr, nullptr);
  return utf8;
}

ImportPatch::ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement)
    : slot_(nullptr), original_(nullptr) {
  auto* base = reinterpret_cast<std::uint8_t*>(module);
  if (base == nullptr) throw std::runtime_error("no module to patch");
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* descriptor =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       imports.VirtualAddress != 0 && descriptor->Name != 0; ++descriptor) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0) continue;
    auto* names =
        reinterpret_cast<const IMAGE_THUNK_DATA64*>(base + descriptor->OriginalFirstThunk);
    auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + descriptor->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
      if (IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal)) continue;
      const auto* by_name =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function) != 0) continue;
      slot_ = reinterpret_cast<void**>(&addresses->u1.Function);
      DWORD protection = 0;
      VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &protection);
      original_ = *slot_;
      *slot_ = replacement;
      VirtualProtect(slot_, sizeof(void*), protection, &protection);
      return;
    }
  }
  throw std::runtime_error(std::string("the module imports no ") + dll + "!" + function);
}

ImportPatch::~ImportPatch() {
  DWORD protection = 0;
  VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &protection);
  *slot_ = original_;
  VirtualProtect(slot_, sizeof(void*), protection, &protection);
}

}  // namespace glimster::windows_tests

namespace glimster::test_support {

std::filesystem::path PluginUnderTest() { return windows_tests::PluginFile(); }

}  // namespace glimster::test_support
