#include "GlimsterDescriptor.h"

#include "DescriptorFacts.h"
#include "PropertyList.h"

namespace glimster::descriptor {
namespace {

constexpr FourCharCode kWindowsX64EntryKey{"8664"};
constexpr FourCharCode kMacX64EntryKey{"mi64"};
constexpr FourCharCode kMacArm64EntryKey{"ma64"};

enum class EntryNameForm { NulTerminated, LengthPrefixed };

struct PlatformFormat {
  ByteOrder order;
  EntryNameForm entryNameForm;
};

constexpr PlatformFormat kWindowsFormat{ByteOrder::LittleEndian, EntryNameForm::NulTerminated};
constexpr PlatformFormat kMacFormat{ByteOrder::BigEndian, EntryNameForm::LengthPrefixed};

PropertyValue entryName(EntryNameForm form) {
  if (form == EntryNameForm::NulTerminated) {
    return NulTerminatedString{kEntryPointName};
  }
  return PascalString{kEntryPointName};
}

Bytes buildDescriptor(const PlatformFormat& format, const std::vector<FourCharCode>& entryKeys) {
  const FourCharCode vendor{kPropertyVendor};
  std::vector<Property> properties{
      {vendor, FourCharCode{"kind"}, FourCharCode{kPluginKind}},
      {vendor, FourCharCode{"name"}, PascalString{kPluginName}},
      {vendor, FourCharCode{"catg"}, PascalString{kPluginCategory}},
      {vendor, FourCharCode{"vers"}, kPluginVersion},
  };
  for (const FourCharCode key : entryKeys) {
    properties.push_back({vendor, key, entryName(format.entryNameForm)});
  }
  return serializePropertyList(properties, format.order);
}

}  // namespace

Bytes windowsDescriptor() { return buildDescriptor(kWindowsFormat, {kWindowsX64EntryKey}); }

Bytes macDescriptor(bool withArm64Code) {
  if (withArm64Code) {
    return buildDescriptor(kMacFormat, {kMacX64EntryKey, kMacArm64EntryKey});
  }
  return buildDescriptor(kMacFormat, {kMacX64EntryKey});
}

}  // namespace glimster::descriptor
