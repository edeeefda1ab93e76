// What the generator does with a request it cannot carry out: it says so by
// its exit code and leaves no output behind for the build to take as done.
#include "GeneratorRun.h"

#include <gtest/gtest.h>

namespace glimster::descriptor_tests {
namespace {

constexpr int kUsageError = 2;
constexpr int kWriteError = 1;

TEST(GeneratorUsage, RefusesWhatItCannotDoAndLeavesNothing) {
  const struct {
    const char* what;
    std::vector<std::string> arguments;  // "OUT" is the output's path
    const char* output;                  // in the scratch folder
    bool output_is_folder;
    int exit_code;
  } cases[] = {
      {"an unknown platform", {"linux", "OUT"}, "out", false, kUsageError},
      {"the arm64 flag for Windows", {"windows", "OUT", "--arm64"}, "out", false, kUsageError},
      {"an unknown flag", {"macos", "OUT", "--arm"}, "out", false, kUsageError},
      {"an output in a missing folder",
       {"windows", "OUT"},
       "missing-folder/out",
       false,
       kWriteError},
      {"an output that is a folder", {"macos", "OUT"}, "taken", true, kWriteError},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder scratch;
    const std::filesystem::path output = scratch.path() / c.output;
    if (c.output_is_folder) std::filesystem::create_directory(output);
    std::vector<std::string> arguments = c.arguments;
    arguments[1] = output.string();
    EXPECT_EQ(RunGenerator(arguments), c.exit_code);
    // Nothing new in the scratch folder: no output, no partial file.
    std::vector<std::filesystem::path> left;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path())) {
      left.push_back(entry.path());
    }
    if (c.output_is_folder) EXPECT_TRUE(std::filesystem::is_directory(output));
    EXPECT_EQ(left, c.output_is_folder ? std::vector<std::filesystem::path>{output}
                                       : std::vector<std::filesystem::path>{});
  }
}

}  // namespace
}  // namespace glimster::descriptor_tests
