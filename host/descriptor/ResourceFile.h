// A classic Macintosh resource file (the resource-fork layout, stored as an
// ordinary file) holding a single resource, as the host reads it from a
// bundle's Contents/Resources folder.
#pragma once

#include "ByteWriter.h"
#include "FourCharCode.h"

#include <cstdint>

namespace glimster::descriptor {

struct Resource {
  FourCharCode type;
  std::int16_t id;
  Bytes data;
};

// Header, data section at offset 256 (the resource as a length and its bytes),
// then the map: a copy of the header, the type list and the reference list.
// The resource has no name and no attributes. Everything is big-endian.
Bytes BuildResourceFile(const Resource& resource);

}  // namespace glimster::descriptor
