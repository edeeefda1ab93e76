// What the generator does with a request it cannot carry out: it says so by
// its exit code and leaves no output behind for the build to take as done.
#include "GeneratorRun.h"

#include <gtest/gtest.h>

namespace glimster::descriptor_tests {
namespace {

constexpr int kUsageError = 2;
constexpr int kWriteError = 1;

TEST(GeneratorUsage, RejectsAnUnknownPlatform) {
  ScratchFolder scratch;
  const auto output = scratch.path() / "out";
  EXPECT_EQ(RunGenerator({"linux", output.string()}), kUsageError);
  EXPECT_FALSE(std::filesystem::exists(output));
}

TEST(GeneratorUsage, RejectsTheArm64FlagForWindows) {
  ScratchFolder scratch;
  const auto output = scratch.path() / "out";
  EXPECT_EQ(RunGenerator({"windows", output.string(), "--arm64"}), kUsageError);
  EXPECT_FALSE(std::filesystem::exists(output));
}

TEST(GeneratorUsage, RejectsAnUnknownFlag) {
  ScratchFolder scratch;
  const auto output = scratch.path() / "out";
  EXPECT_EQ(RunGenerator({"macos", output.string(), "--arm"}), kUsageError);
  EXPECT_FALSE(std::filesystem::exists(output));
}

TEST(GeneratorUsage, FailsAndLeavesNothingWhenTheOutputCannotBeWritten) {
  ScratchFolder scratch;
  const auto output = scratch.path() / "missing-folder" / "out";
  EXPECT_EQ(RunGenerator({"windows", output.string()}), kWriteError);
  EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
}

TEST(GeneratorUsage, FailsAndLeavesNoPartialFileWhenTheOutputIsAFolder) {
  ScratchFolder scratch;
  const auto output = scratch.path() / "taken";
  std::filesystem::create_directory(output);
  EXPECT_EQ(RunGenerator({"macos", output.string()}), kWriteError);
  EXPECT_TRUE(std::filesystem::is_directory(output));
  EXPECT_FALSE(std::filesystem::exists(scratch.path() / "taken.partial"));
}

}  // namespace
}  // namespace glimster::descriptor_tests
