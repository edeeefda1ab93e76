// Glimster's descriptor as each platform's host reads it: the same kind, name,
// category and version everywhere, then one entry-point property per kind of
// code the library contains, naming the exported entry function.
#pragma once

#include "ByteWriter.h"

namespace glimster::descriptor {

// Windows x86-64: little-endian, entry key '8664', NUL-terminated entry name.
Bytes WindowsDescriptor();

// macOS: big-endian, entry key 'mi64' for x86-64 code and, when the bundle
// also holds arm64 code, 'ma64'; length-prefixed entry name.
Bytes MacDescriptor(bool with_arm64_code);

}  // namespace glimster::descriptor
