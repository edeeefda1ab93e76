// The Windows descriptor as the generator writes it: 142 little-endian bytes,
// read back field by field; the build's descriptor file holds the same bytes.
#include "GeneratorRun.h"
#include "PropertyListReader.h"

#include <gtest/gtest.h>

#include <string>

namespace glimster::descriptor_tests {
namespace {

class WindowsDescriptor : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto output = scratch_.path() / "Glimster.pipl";
    ASSERT_EQ(RunGenerator({"windows", output.string()}), 0);
    bytes_ = ReadFile(output);
    list_ = ReadPropertyList(bytes_, Endian::kLittle);
  }

  ScratchFolder scratch_;
  Bytes bytes_;
  StoredPropertyList list_{};
};

TEST_F(WindowsDescriptor, HeaderIsLeadingWordOneVersionZeroCountFive) {
  const Bytes expected{0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
  EXPECT_EQ(slice(bytes_, 0, 10), expected);
}

// Codes stand reversed (little-endian); names are length-prefixed; every
// data length is a multiple of four, filled with zeros.
TEST_F(WindowsDescriptor, HoldsFivePropertiesBackToBackUnderVendorMIB8WithIdentifierZero) {
  const struct {
    const char* key;
    std::size_t offset;
    std::string data;
  } expected[] = {
      {"dnik", 10, "xgEA"},  // a general plug-in
      {"eman", 30, std::string("\x08Glimster\0\0\0", 12)},
      {"gtac", 58, std::string("\x0eGeneral Plugin\0", 16)},
      {"srev", 90, std::string("\0\0\x03\0", 4)},            // 3.0
      {"4668", 110, std::string("EntryPointFunc\0\0", 16)},  // NUL-terminated, one filler
  };
  ASSERT_EQ(list_.properties.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const StoredProperty& p = list_.properties[i];
    SCOPED_TRACE(expected[i].key);
    EXPECT_EQ(p.key, expected[i].key);
    EXPECT_EQ(p.offset, expected[i].offset);
    EXPECT_EQ(p.vendor, "MIB8");
    EXPECT_EQ(p.id, 0u);
    EXPECT_EQ(p.data_length, expected[i].data.size());
    EXPECT_EQ(std::string(p.data.begin(), p.data.end()), expected[i].data);
  }
  EXPECT_EQ(list_.end_offset, 142u);
  EXPECT_EQ(bytes_.size(), 142u);
}

TEST_F(WindowsDescriptor, TheBuildsDescriptorFileHoldsTheSameBytes) {
  EXPECT_EQ(ReadFile(GLIMSTER_BUILT_PIPL_PATH), bytes_);
}

}  // namespace
}  // namespace glimster::descriptor_tests
