#include "substitute_host/platform/LibraryLoader.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

namespace glimster::substitute_host::platform {

LibraryHandle LoadLibraryForever(const std::filesystem::path& file) {
  // RTLD_NODELETE: a plug-in linking an Objective-C runtime must outlive every
  // host object; the handle is deliberately never closed.
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (library == nullptr) {
    const char* reason = dlerror();
    throw std::runtime_error("cannot load " + file.string() + ": " +
                             (reason != nullptr ? reason : "unknown reason"));
  }
  return library;
}

void* FindExportedFunction(LibraryHandle library, const char* name) { return dlsym(library, name); }

}  // namespace glimster::substitute_host::platform
