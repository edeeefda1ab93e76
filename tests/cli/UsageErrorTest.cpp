// Arguments the program cannot use: exit status 2, a message on standard
// error that says what is wrong, a pointer to --help, and nothing done.
#include "CliFixture.h"

#include <fstream>
#include <utility>

#include "tests/support/FileContents.h"
#include "tests/support/PngImages.h"

namespace glimster::cli_tests {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct BadArguments {
  const char* name;
  std::vector<std::string> arguments;
  const char* message;
};

class UsageError : public CliTest, public ::testing::WithParamInterface<BadArguments> {};

TEST_P(UsageError, ExitsWithTwoAndSaysWhy) {
  const ToolRun run = RunHostAsGiven(GetParam().arguments);
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_THAT(run.err, StartsWith("glimster-host: "));
  EXPECT_THAT(run.err, HasSubstr(GetParam().message));
  EXPECT_THAT(run.err, HasSubstr("Try 'glimster-host --help'"));
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(EntriesOf(DefaultDesktop()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, UsageError,
    ::testing::Values(
        BadArguments{"UnknownOption", {"--colour", "red"}, "unknown option --colour"},
        BadArguments{"SizeWithoutHeight", {"--size", "1920"}, "--size wants WIDTHxHEIGHT"},
        BadArguments{"ZeroSize", {"--size", "0x10"}, "--size wants WIDTHxHEIGHT"},
        BadArguments{"OversizedSide", {"--size=30001x2"}, "--size wants WIDTHxHEIGHT"},
        BadArguments{"WordForSize", {"--size", "big"}, "got \"big\""},
        BadArguments{"MissingValue", {"--comp-name"}, "--comp-name needs a value"},
        BadArguments{"ValueForAFlag", {"--trace=yes"}, "--trace takes no value"},
        BadArguments{"ZeroTimeScale", {"--time", "48/0"}, "--time wants"},
        BadArguments{"NegativeSeed", {"--noise", "-1"}, "--noise wants a seed"},
        BadArguments{
            "NoRepeats", {"--repeat", "0"}, "--repeat wants a count from 1 to 1000000; got \"0\""},
        BadArguments{"RepeatWithoutCapture",
                     {"--repeat", "2", "--no-capture"},
                     "--repeat cannot be combined with --no-capture"},
        BadArguments{"TwoFrameSources",
                     {"--noise", "3", "--test-card"},
                     "--noise and --test-card cannot be combined"},
        BadArguments{"SizeOfAPng",
                     {"--frame-png", "in.png", "--size", "4x4"},
                     "--size cannot be combined with --frame-png"},
        BadArguments{
            "DemoWithAName", {"--demo", "--comp-name", "X"}, "--demo fixes the composition"},
        BadArguments{"UnknownOperation",
                     {"--fail", "AEGP_Frobnicate"},
                     "--fail: the host offers no operation \"AEGP_Frobnicate\" (glimster-host "
                     "--list-operations lists them)"},
        BadArguments{
            "NonNumericCode", {"--fail", "AEGP_SetTime:x"}, "the error code must be an integer"},
        BadArguments{"ZerothCall", {"--fail", "AEGP_SetTime:5:0"}, "NTH counts calls from 1"},
        BadArguments{"FailFieldAfterNth",
                     {"--fail", "AEGP_SetTime:5:1:kept"},
                     "--fail wants OP[:CODE[:NTH]][:written]"},
        BadArguments{"UnknownSuiteVersion",
                     {"--refuse-suite", "AEGP Render Suite:9"},
                     "no suite \"AEGP Render Suite\" version 9"},
        BadArguments{"SuiteWithoutVersion",
                     {"--refuse-suite", "AEGP Render Suite"},
                     "--refuse-suite wants NAME:VERSION"},
        BadArguments{"TwoPlugins", {"a.so", "b.so"}, "one plug-in at a time"},
        BadArguments{
            "UnknownSlice", {"--macos", "ppc"}, "--macos wants x86_64 or arm64; got \"ppc\""},
        BadArguments{"MissingDesktop",
                     {"--desktop", "/no/such/folder"},
                     "--desktop: no folder /no/such/folder"},
        BadArguments{"UnreadableInputPng",
                     {"--frame-png", "/no/such/input.png"},
                     "--frame-png: cannot open /no/such/input.png"},
        BadArguments{
            "FolderAsInputPng", {"--frame-png=/"}, "--frame-png: / is a folder, not a PNG file"}),
    [](const ::testing::TestParamInfo<BadArguments>& info) {
      return std::string(info.param.name);
    });

class InputPng : public CliTest {
 protected:
  // A PNG of that size in the scratch folder, opaque, with a pattern that
  // does not compress away.
  fs::path Written(unsigned width, unsigned height) const {
    test_support::Rgba8 image;
    image.width = width;
    image.height = height;
    for (std::size_t i = 0; i < std::size_t{width} * height; ++i) {
      image.pixels.insert(image.pixels.end(), {static_cast<std::uint8_t>(i), 7, 9, 255});
    }
    const fs::path file =
        scratch_ / (std::to_string(width) + "x" + std::to_string(height) + ".png");
    EXPECT_TRUE(test_support::WritePng(file, image));
    return file;
  }
};

// As large as the largest composition (--size), and no larger.
TEST_F(InputPng, HasSidesOfAtMostThirtyThousand) {
  EXPECT_EQ(RunHost({"--frame-png", Written(30000, 1).string()}).exit_code, 0);
}

// Too large (told from the header, before any decoding), or no whole PNG:
// a usage error whose first line says which, and nothing written.
TEST_F(InputPng, ThatIsNoWholePngIsAUsageErrorInPlainWords) {
  const std::string png = test_support::ContentsOf(Written(64, 64));
  const fs::path text = scratch_ / "text.png";
  const fs::path cut = scratch_ / "cut.png";
  std::ofstream(text, std::ios::binary) << "plain text";
  std::ofstream(cut, std::ios::binary) << png.substr(0, png.size() / 2);
  const std::string damaged = " is not a PNG image, or is damaged (it cannot be decoded)";
  const std::pair<fs::path, std::string> inputs[] = {
      {Written(30001, 1), " is 30001x1 pixels, more than 30000 a side"},
      {Written(1, 30001), " is 1x30001 pixels, more than 30000 a side"},
      {text, damaged},
      {cut, damaged},
  };
  for (const auto& [input, problem] : inputs) {
    const ToolRun run = RunHostAsGiven({"--frame-png", input.string()});
    EXPECT_EQ(run.exit_code, 2) << input;
    EXPECT_EQ(LinesOf(run.err).front(), "glimster-host: --frame-png: " + input.string() + problem);
  }
  EXPECT_TRUE(EntriesOf(DefaultDesktop()).empty());
}

}  // namespace
}  // namespace glimster::cli_tests
