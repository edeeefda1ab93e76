#include "Imports.h"

#include <cstring>

namespace macos_runner {

StandIn FindImport(const char* name) {
  static ImportList (*const kAreas[])() = {
      ErrnoImports,      FileImports,           MemoryImports,      StdioImports,
      LocaleImports,     ThreadImports,         ThreadLocalImports, ObjCImports,
      FoundationImports, CoreFoundationImports, UnwindImports,      LoaderImports,
  };
  for (ImportList (*area)() : kAreas) {
    const ImportList list = area();
    for (std::size_t i = 0; i < list.count; ++i)
      if (std::strcmp(list.entries[i].name, name) == 0)
        return {list.entries[i].address, list.library};
  }
  return {nullptr, nullptr};
}

}  // namespace macos_runner
