// The host's plug-in property list: a short header, then properties back to
// back, each tagged with a vendor code and a key and carrying data padded with
// zeros to a multiple of four bytes. Numbers and codes are stored in the byte
// order of the platform that reads the list; strings are stored as they are.
#pragma once

#include "ByteOrder.h"
#include "ByteWriter.h"
#include "FourCharCode.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace glimster::descriptor {

// One count byte, then the characters; no terminating zero.
struct PascalString {
  std::string text;
};

// The characters, then one zero byte.
struct NulTerminatedString {
  std::string text;
};

using PropertyValue = std::variant<FourCharCode, std::uint32_t, PascalString, NulTerminatedString>;

struct Property {
  FourCharCode vendor;
  FourCharCode key;
  PropertyValue value;
};

Bytes SerializePropertyList(const std::vector<Property>& properties, ByteOrder order);

}  // namespace glimster::descriptor
