// Reads the dynamic symbol table of an ELF shared library.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace glimster::integration {

// The names of the global and weak symbols that `file` defines in its dynamic
// symbol table: what it exports. Throws std::runtime_error for a file that is
// not a well-formed 64-bit little-endian ELF file with a dynamic symbol table.
std::vector<std::string> DefinedDynamicSymbols(const std::filesystem::path& file);

}  // namespace glimster::integration
