#include "Imports.h"

#include <cstring>

namespace macos_runner {

const void* FindImport(const char* name) {
  static ImportList (*const kAreas[])() = {
      ErrnoImports,      FileImports,   MemoryImports,      StdioImports,
      LocaleImports,     ThreadImports, ThreadLocalImports, ObjCImports,
      FoundationImports, UnwindImports, LoaderImports,
  };
  for (ImportList (*area)() : kAreas) {
    const ImportList list = area();
    for (std::size_t i = 0; i < list.count; ++i)
      if (std::strcmp(list.entries[i].name, name) == 0) return list.entries[i].address;
  }
  return nullptr;
}

}  // namespace macos_runner
