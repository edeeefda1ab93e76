// The byte order in which a descriptor's numbers and four-character codes are
// stored: little-endian on Windows, big-endian in a macOS resource file.
#pragma once

namespace glimster::descriptor {

enum class ByteOrder { kLittleEndian, kBigEndian };

}  // namespace glimster::descriptor
