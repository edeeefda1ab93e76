// What the bundle imports from the dynamic loader's side of libSystem.
#include <stdlib.h>

#include "Failure.h"
#include "Imports.h"

namespace macos_runner {
namespace {

// Every lazy pointer is bound at load, so no stub ever reaches the binder.
void StubBinder() { FailUnimplemented("dyld_stub_binder (a lazy pointer left unbound)"); }

// libc++'s only use: dlopen("/usr/lib/libstdc++.6.dylib", RTLD_NOLOAD) to
// share the GNU library's empty string if that library is already loaded.
// No Mac library is ever loaded here, so the answer is the one macOS gives
// for a library not loaded: NULL, and dlsym never gets a handle.
void* Dlopen(const char*, int) { return nullptr; }
void* Dlsym(void*, const char*) { return nullptr; }

}  // namespace

ImportList LoaderImports() {
  static const Import kImports[] = {
      {"dyld_stub_binder", Address(StubBinder)},
      {"_dlopen", Address(Dlopen)},
      {"_dlsym", Address(Dlsym)},
      {"_abort", Address(&abort)},
  };
  return {"libSystem", kImports, sizeof kImports / sizeof kImports[0]};
}

}  // namespace macos_runner
