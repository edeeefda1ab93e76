// Platform seam: loading a shared library and finding an exported function.
#pragma once

#include <filesystem>

namespace glimster::substitute_host::platform {

// A library loaded for the rest of the process's life.
using LibraryHandle = void*;

// Loads the library at `file`, resolving its symbols now and keeping them to
// itself, and never unloads it; throws std::runtime_error with the loader's
// message on failure.
LibraryHandle LoadLibraryForever(const std::filesystem::path& file);

// The address of the function `name` that `library` exports, or null.
void* FindExportedFunction(LibraryHandle library, const char* name);

}  // namespace glimster::substitute_host::platform
