#include "substitute_host/platform/LibraryLoader.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace glimster::substitute_host::platform {

LibraryHandle LoadLibraryForever(const std::filesystem::path& file) {
  // The module is deliberately never freed: it stays for the process's life.
  // An absolute path: LoadLibraryW looks a relative one up along the DLL
  // search path, not from the current folder.
  const std::filesystem::path absolute = std::filesystem::absolute(file);
  HMODULE library = LoadLibraryW(absolute.wstring().c_str());
  if (library == nullptr) {
    const DWORD error = GetLastError();  // before anything else can change it
    throw std::runtime_error("cannot load " + file.u8string() +
                             ": LoadLibraryW failed with error " + std::to_string(error));
  }
  return static_cast<LibraryHandle>(library);
}

void* FindExportedFunction(LibraryHandle library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace glimster::substitute_host::platform
