#include "substitute_host/platform/DesktopRedirect.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace glimster::substitute_host::platform {
namespace {

using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);

// What the redirected lookup answers; one redirect at a time.
std::wstring g_desktop;
FolderPathFunction g_windows_folder_path = nullptr;

HRESULT WINAPI AnswerFolderPath(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path) {
  if ((folder & ~CSIDL_FLAG_MASK) == CSIDL_DESKTOPDIRECTORY && path != nullptr) {
    lstrcpynW(path, g_desktop.c_str(), MAX_PATH);
    return S_OK;
  }
  return g_windows_folder_path(owner, folder, token, flags, path);
}

// The import address slot of `dll`!`function` in `module`, or null.
void** ImportSlot(HMODULE module, const char* dll, const char* function) {
  auto* base = reinterpret_cast<std::uint8_t*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) {
    return nullptr;
  }
  for (auto* descriptor =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       descriptor->Name != 0; ++descriptor) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0) {
      continue;
    }
    auto* names =
        reinterpret_cast<const IMAGE_THUNK_DATA64*>(base + descriptor->OriginalFirstThunk);
    auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + descriptor->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
      if (IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal)) {
        continue;
      }
      const auto* by_name =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function) == 0) {
        return reinterpret_cast<void**>(&addresses->u1.Function);
      }
    }
  }
  return nullptr;
}

// Stores `value` in the import slot; gives what it held.
void* ExchangeSlot(void** slot, void* value) {
  DWORD protection = 0;
  VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &protection);
  void* held = *slot;
  *slot = value;
  VirtualProtect(slot, sizeof(void*), protection, &protection);
  return held;
}

}  // namespace

// Gives the import slot back its Windows function.
struct DesktopRedirect::Undo {
  explicit Undo(void** patched) : slot(patched) {}
  Undo(const Undo&) = delete;
  Undo& operator=(const Undo&) = delete;
  ~Undo() { ExchangeSlot(slot, reinterpret_cast<void*>(g_windows_folder_path)); }

  void** slot;
};

DesktopRedirect::DesktopRedirect(const PluginBinary& plugin, const std::filesystem::path& folder) {
  const std::filesystem::path file = std::filesystem::absolute(plugin.file());
  HMODULE module = GetModuleHandleW(file.wstring().c_str());
  void** slot = module != nullptr ? ImportSlot(module, "SHELL32.dll", "SHGetFolderPathW") : nullptr;
  if (slot == nullptr) {
    throw std::runtime_error(file.u8string() +
                             " does not look up the desktop with SHGetFolderPathW");
  }
  given_ = std::filesystem::absolute(folder);
  if (given_.wstring().size() >= MAX_PATH) {
    throw std::runtime_error(given_.u8string() + " is longer than the " +
                             std::to_string(MAX_PATH - 1) +
                             " UTF-16 units SHGetFolderPathW can answer for the desktop");
  }
  g_desktop = given_.wstring();
  g_windows_folder_path = reinterpret_cast<FolderPathFunction>(
      ExchangeSlot(slot, reinterpret_cast<void*>(&AnswerFolderPath)));
  undo_ = std::make_unique<Undo>(slot);
}

DesktopRedirect::~DesktopRedirect() = default;

}  // namespace glimster::substitute_host::platform
