// The runner's side of the bundle's imports: for each symbol the Mac code
// imports from libSystem, libobjc, Foundation and CoreFoundation, the Linux
// implementation that stands in for it. Each area (file calls, memory,
// stdio, threads, ...) lists its own imports; FindImport looks in all.
#pragma once

#include <cstddef>

namespace macos_runner {

struct Import {
  const char* name;     // as the bundle names it: "_open", "___stdoutp", "_OBJC_CLASS_$_NSString"
  const void* address;  // the function, or the variable for a data import
};

// One library's imports, or one area's of it.
struct ImportList {
  const char* library;  // as the bundle's binds name it: "libSystem", "Foundation"
  const Import* entries;
  std::size_t count;
};

// A stand-in and the library it stands in for.
struct StandIn {
  const void* address;
  const char* library;
};

// The import list of each area. Functions, so that each table is made at
// its first use, whatever the order of the library's initialisers.
ImportList ErrnoImports();
ImportList FileImports();
ImportList MemoryImports();
ImportList StdioImports();
ImportList LocaleImports();
ImportList ThreadImports();
ImportList ThreadLocalImports();
ImportList ObjCImports();
ImportList FoundationImports();
ImportList CoreFoundationImports();
ImportList UnwindImports();
ImportList LoaderImports();

// The stand-in for the import `name`, or a null address when the runner has none.
StandIn FindImport(const char* name);

// The address of a function as an import's address.
template <typename Function>
const void* Address(Function* function) {
  return reinterpret_cast<const void*>(function);
}

}  // namespace macos_runner
