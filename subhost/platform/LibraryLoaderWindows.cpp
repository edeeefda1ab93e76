#include "subhost/platform/LibraryLoader.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace glimster::subhost::platform {

LibraryHandle loadLibraryForever(const std::filesystem::path& file) {
  // The module is deliberately never freed: it stays for the process's life.
  HMODULE library = LoadLibraryW(file.wstring().c_str());
  if (library == nullptr) {
    throw std::runtime_error("cannot load " + file.u8string() + ": LoadLibraryW failed with error " +
                             std::to_string(GetLastError()));
  }
  return static_cast<LibraryHandle>(library);
}

void* findExportedFunction(LibraryHandle library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

} // namespace glimster::subhost::platform
