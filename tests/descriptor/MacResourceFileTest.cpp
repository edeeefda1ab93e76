// The macOS descriptor resource file as the generator writes it, for x86-64
// code alone and with arm64 code too, read back with the tests' own reader.
#include "GeneratorRun.h"
#include "PropertyListReader.h"
#include "ResourceFileReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace glimster::descriptor_tests {
namespace {

Bytes BytesOf(std::initializer_list<std::uint8_t> prefix, const std::string& characters,
              std::size_t zeros) {
  Bytes result(prefix);
  result.insert(result.end(), characters.begin(), characters.end());
  result.insert(result.end(), zeros, 0);
  return result;
}

class MacResourceFile : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    const auto output = scratch_.path() / "Glimster.rsrc";
    std::vector<std::string> arguments{"macos", output.string()};
    if (WithArm64()) {
      arguments.push_back("--arm64");
    }
    ASSERT_EQ(RunGenerator(arguments), 0);
    bytes_ = ReadFile(output);
    file_ = ReadResourceFile(bytes_);
  }

  bool WithArm64() const { return GetParam(); }

  std::vector<std::string> ExpectedEntryKeys() const {
    return WithArm64() ? std::vector<std::string>{"mi64", "ma64"}
                       : std::vector<std::string>{"mi64"};
  }

  const ResourceReference& OnlyReference() const {
    if (file_.types.size() != 1 || file_.types[0].references.size() != 1) {
      throw std::runtime_error("the file does not hold exactly one resource");
    }
    return file_.types[0].references[0];
  }

  Bytes descriptor() const { return ResourceData(bytes_, file_.header, OnlyReference()); }

  StoredPropertyList properties() const { return ReadPropertyList(descriptor(), Endian::kBig); }

  StoredProperty property(const std::string& key) const {
    const StoredPropertyList list = properties();
    const auto found = std::find_if(list.properties.begin(), list.properties.end(),
                                    [&](const StoredProperty& p) { return p.key == key; });
    if (found == list.properties.end()) {
      throw std::runtime_error("no property " + key);
    }
    return *found;
  }

  ScratchFolder scratch_;
  Bytes bytes_;
  ResourceFileContents file_{};
};

TEST_P(MacResourceFile, HeaderPlacesDataAt256AndTheMapRightAfterIt) {
  const ResourceFileHeader& header = file_.header;
  EXPECT_EQ(header.data_offset, 256u);
  EXPECT_EQ(header.map_offset, header.data_offset + header.data_length);
  EXPECT_EQ(bytes_.size(), std::size_t{header.map_offset} + header.map_length);
  EXPECT_EQ(slice(bytes_, 16, 240), Bytes(240, 0))
      << "the bytes between header and data are reserved";
}

TEST_P(MacResourceFile, MapBeginsWithACopyOfTheHeader) {
  EXPECT_TRUE(file_.map_header_copy == file_.header);
}

TEST_P(MacResourceFile, MapListsOneTypePiPLWithOneResource16000WithoutName) {
  EXPECT_EQ(file_.type_list_offset, 28);
  EXPECT_EQ(file_.type_count_minus_one, 0);
  ASSERT_EQ(file_.types.size(), 1u);
  const ResourceTypeEntry& type = file_.types[0];
  EXPECT_EQ(type.code, "PiPL");
  EXPECT_EQ(type.count_minus_one, 0);
  EXPECT_EQ(type.reference_list_offset, 2 + 8) << "references follow the single type entry";

  const ResourceReference& reference = OnlyReference();
  EXPECT_EQ(reference.id, 16000);
  EXPECT_EQ(reference.name_offset, -1);
  EXPECT_EQ(reference.data_offset, 0u);
  EXPECT_EQ(file_.name_list_offset, file_.header.map_length)
      << "an empty name list at the map's end";
}

TEST_P(MacResourceFile, DataSectionHoldsTheDescriptorAfterItsLength) {
  const Bytes data = descriptor();
  EXPECT_EQ(data.size(), WithArm64() ? 174u : 142u);
  EXPECT_EQ(file_.header.data_length, 4 + data.size());
}

TEST_P(MacResourceFile, DescriptorIsBigEndianWithCodesInNaturalOrder) {
  const Bytes data = descriptor();
  const std::uint8_t count = WithArm64() ? 6 : 5;
  EXPECT_EQ(slice(data, 0, 10),
            (Bytes{0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, count}));

  const StoredPropertyList list = properties();
  std::vector<std::string> keys;
  for (const StoredProperty& p : list.properties) {
    keys.push_back(p.key);
    EXPECT_EQ(p.vendor, "8BIM") << p.key;
    EXPECT_EQ(p.id, 0u) << p.key;
    EXPECT_EQ(p.data_length % 4, 0u) << p.key;
  }
  std::vector<std::string> expected_keys{"kind", "name", "catg", "vers"};
  for (const std::string& key : ExpectedEntryKeys()) {
    expected_keys.push_back(key);
  }
  EXPECT_EQ(keys, expected_keys);
  EXPECT_EQ(list.end_offset, data.size());
}

TEST_P(MacResourceFile, KindNameCategoryAndVersionAreTheWindowsOnes) {
  EXPECT_EQ(property("kind").data, BytesOf({}, "AEgx", 0));
  EXPECT_EQ(property("name").data, BytesOf({8}, "Glimster", 3));
  EXPECT_EQ(property("catg").data, BytesOf({14}, "General Plugin", 1));
  EXPECT_EQ(property("vers").data, (Bytes{0x00, 0x03, 0x00, 0x00}));
}

TEST_P(MacResourceFile, EveryEntryPointIsTheLengthPrefixedNamePaddedToSixteenBytes) {
  for (const std::string& key : ExpectedEntryKeys()) {
    EXPECT_EQ(property(key).data, BytesOf({14}, "EntryPointFunc", 1)) << key;
  }
}

TEST_P(MacResourceFile, HasAnArm64EntryPointOnlyWhenAskedFor) {
  const StoredPropertyList list = properties();
  const bool has_arm64 = std::any_of(list.properties.begin(), list.properties.end(),
                                     [](const StoredProperty& p) { return p.key == "ma64"; });
  EXPECT_EQ(has_arm64, WithArm64());
}

INSTANTIATE_TEST_SUITE_P(Descriptor, MacResourceFile, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& parameter) {
                           return parameter.param ? "X64AndArm64" : "X64Only";
                         });

}  // namespace
}  // namespace glimster::descriptor_tests
