// A file's bytes, as the tests compare them with what was there before.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace glimster::test_support {

// The whole of `file` ("" when it cannot be read).
inline std::string ContentsOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace glimster::test_support
