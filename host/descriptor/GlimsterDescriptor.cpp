#include "GlimsterDescriptor.h"

#include "DescriptorFacts.h"
#include "PropertyList.h"

namespace glimster::descriptor {
namespace {

constexpr FourCharCode kWindowsX64EntryKey{"8664"};
constexpr FourCharCode kMacX64EntryKey{"mi64"};
constexpr FourCharCode kMacArm64EntryKey{"ma64"};

enum class EntryNameForm { kNulTerminated, kLengthPrefixed };

struct PlatformFormat {
  ByteOrder order;
  EntryNameForm entry_name_form;
};

constexpr PlatformFormat kWindowsFormat{ByteOrder::kLittleEndian, EntryNameForm::kNulTerminated};
constexpr PlatformFormat kMacFormat{ByteOrder::kBigEndian, EntryNameForm::kLengthPrefixed};

PropertyValue EntryName(EntryNameForm form) {
  if (form == EntryNameForm::kNulTerminated) {
    return NulTerminatedString{kEntryPointName};
  }
  return PascalString{kEntryPointName};
}

Bytes BuildDescriptor(const PlatformFormat& format, const std::vector<FourCharCode>& entry_keys) {
  const FourCharCode vendor{kPropertyVendor};
  std::vector<Property> properties{
      {vendor, FourCharCode{"kind"}, FourCharCode{kPluginKind}},
      {vendor, FourCharCode{"name"}, PascalString{kPluginName}},
      {vendor, FourCharCode{"catg"}, PascalString{kPluginCategory}},
      {vendor, FourCharCode{"vers"}, kPluginVersion},
  };
  for (const FourCharCode key : entry_keys) {
    properties.push_back({vendor, key, EntryName(format.entry_name_form)});
  }
  return SerializePropertyList(properties, format.order);
}

}  // namespace

Bytes WindowsDescriptor() { return BuildDescriptor(kWindowsFormat, {kWindowsX64EntryKey}); }

Bytes MacDescriptor(bool with_arm64_code) {
  if (with_arm64_code) {
    return BuildDescriptor(kMacFormat, {kMacX64EntryKey, kMacArm64EntryKey});
  }
  return BuildDescriptor(kMacFormat, {kMacX64EntryKey});
}

}  // namespace glimster::descriptor
