// A plug-in that cannot be loaded: exit status 3 and the reason, before any
// host call and without writing anything.
#include "CliFixture.h"

#include <fstream>

namespace glimster::cli_tests {
namespace {

using ::testing::HasSubstr;

class LoadFailure : public CliTest {
 protected:
  void ExpectNotLoaded(const ToolRun& run, const fs::path& file, const std::string& reason) {
    EXPECT_EQ(run.exit_code, 3) << run.err;
    EXPECT_THAT(run.err,
                HasSubstr("glimster-host: cannot load plug-in " + file.string() + ": " + reason));
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(EntriesOf(DefaultDesktop()).empty());
  }
};

TEST_F(LoadFailure, AMissingFileIsSaidToBeMissing) {
  const fs::path missing = scratch_ / "Missing.so";
  ExpectNotLoaded(RunHostAsGiven({missing.string()}), missing, "no such file");
}

TEST_F(LoadFailure, AFolderIsNoPluginBinary) {
  ExpectNotLoaded(RunHostAsGiven({scratch_.string()}), scratch_,
                  "it is a folder, not a plug-in binary");
}

TEST_F(LoadFailure, AFileThatIsNoLibraryIsNotLoadable) {
  const fs::path text = scratch_ / "Notes.so";
  std::ofstream(text) << "these are not the machine instructions you are looking for\n";
  const ToolRun run = RunHostAsGiven({text.string()});
  ExpectNotLoaded(run, text, "not a loadable library (");
}

TEST_F(LoadFailure, ALibraryWithoutEntryPointFuncIsNoPlugin) {
  const fs::path library = GLIMSTER_NO_ENTRY_LIBRARY;
  ExpectNotLoaded(RunHostAsGiven({library.string()}), library,
                  "not a plug-in: it exports no EntryPointFunc");
}

TEST_F(LoadFailure, TheBuiltPluginLoadsWhenNoneIsNamed) {
  const ToolRun run = RunHostAsGiven({"--no-capture"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ValueOf(run.out, "plug-in"), test_support::BuiltPlugin().string());
}

}  // namespace
}  // namespace glimster::cli_tests
