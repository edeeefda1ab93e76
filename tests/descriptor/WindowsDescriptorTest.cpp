// The Windows descriptor, both as the generator writes it on request and as
// the build wrote it for the resource script: 142 little-endian bytes, read
// back field by field.
#include "GeneratorRun.h"
#include "PropertyListReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace glimster::descriptor_tests {
namespace {

enum class Source { GeneratorRun, BuildOutput };

const char* nameOf(Source source) {
  return source == Source::GeneratorRun ? "GeneratorRun" : "BuildOutput";
}

void PrintTo(Source source, std::ostream* out) { *out << nameOf(source); }

class WindowsDescriptor : public ::testing::TestWithParam<Source> {
 protected:
  void SetUp() override {
    if (GetParam() == Source::BuildOutput) {
      bytes_ = readFile(GLIMSTER_BUILT_PIPL_PATH);
    } else {
      const auto output = scratch_.path() / "Glimster.pipl";
      ASSERT_EQ(runGenerator({"windows", output.string()}), 0);
      bytes_ = readFile(output);
    }
    list_ = readPropertyList(bytes_, Endian::Little);
  }

  const StoredProperty& property(const std::string& storedKey) const {
    const auto found = std::find_if(list_.properties.begin(), list_.properties.end(),
                                    [&](const StoredProperty& p) { return p.key == storedKey; });
    if (found == list_.properties.end()) {
      throw std::runtime_error("no property stored as \"" + storedKey + "\"");
    }
    return *found;
  }

  ScratchFolder scratch_;
  Bytes bytes_;
  StoredPropertyList list_{};
};

TEST_P(WindowsDescriptor, HeaderIsLeadingWordOneVersionZeroCountFive) {
  const Bytes expected{0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
  EXPECT_EQ(slice(bytes_, 0, 10), expected);
}

TEST_P(WindowsDescriptor, IsExactly142BytesOfFivePropertiesBackToBack) {
  EXPECT_EQ(bytes_.size(), 142u);
  EXPECT_EQ(list_.endOffset, bytes_.size());
  std::vector<std::size_t> offsets;
  for (const StoredProperty& p : list_.properties) {
    offsets.push_back(p.offset);
  }
  EXPECT_EQ(offsets, (std::vector<std::size_t>{10, 30, 58, 90, 110}));
}

TEST_P(WindowsDescriptor, PropertiesStandInOrderUnderVendorMIB8WithIdentifierZero) {
  std::vector<std::string> keys;
  for (const StoredProperty& p : list_.properties) {
    keys.push_back(p.key);
    EXPECT_EQ(p.vendor, "MIB8") << p.key;
    EXPECT_EQ(p.id, 0u) << p.key;
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"dnik", "eman", "gtac", "srev", "4668"}));
}

TEST_P(WindowsDescriptor, EveryDataLengthIsAMultipleOfFour) {
  std::vector<std::uint32_t> lengths;
  for (const StoredProperty& p : list_.properties) {
    lengths.push_back(p.dataLength);
    EXPECT_EQ(p.dataLength % 4, 0u) << p.key;
  }
  EXPECT_EQ(lengths, (std::vector<std::uint32_t>{4, 12, 16, 4, 16}));
}

TEST_P(WindowsDescriptor, KindIsGeneralPluginCodeStoredReversed) {
  EXPECT_EQ(text(property("dnik").data, 0, 4), "xgEA");
}

TEST_P(WindowsDescriptor, NameIsLengthPrefixedAndZeroFilled) {
  const Bytes& data = property("eman").data;
  EXPECT_EQ(byteAt(data, 0), 8);
  EXPECT_EQ(text(data, 1, 8), "Glimster");
  EXPECT_EQ(slice(data, 9, 3), Bytes(3, 0));
}

TEST_P(WindowsDescriptor, CategoryIsLengthPrefixedAndZeroFilled) {
  const Bytes& data = property("gtac").data;
  EXPECT_EQ(byteAt(data, 0), 14);
  EXPECT_EQ(text(data, 1, 14), "General Plugin");
  EXPECT_EQ(byteAt(data, 15), 0);
}

TEST_P(WindowsDescriptor, VersionIsThreePointZeroLittleEndian) {
  const Bytes& data = property("srev").data;
  EXPECT_EQ(data, (Bytes{0x00, 0x00, 0x03, 0x00}));
  EXPECT_EQ(u32(data, 0, Endian::Little), 196608u);
}

TEST_P(WindowsDescriptor, EntryPointIsNulTerminatedNameThenOneZeroByte) {
  const Bytes& data = property("4668").data;
  EXPECT_EQ(text(data, 0, 14), "EntryPointFunc");
  EXPECT_EQ(byteAt(data, 14), 0) << "terminating zero";
  EXPECT_EQ(byteAt(data, 15), 0) << "filling zero";
}

INSTANTIATE_TEST_SUITE_P(Descriptor, WindowsDescriptor,
                         ::testing::Values(Source::GeneratorRun, Source::BuildOutput),
                         [](const ::testing::TestParamInfo<Source>& parameter) {
                           return nameOf(parameter.param);
                         });

}  // namespace
}  // namespace glimster::descriptor_tests
