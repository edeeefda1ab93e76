// What the program reports as written: only the plug-in's own PNG of the
// frame, however other files come and go in the desktop folder meanwhile;
// and --repeat, many captures in one process.
#include "CliFixture.h"

#include <atomic>
#include <fstream>
#include <regex>
#include <thread>

#include "substitute_host/FrameSources.h"
#include "tests/support/PngImages.h"

namespace glimster::cli_tests {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// While alive, keeps making and removing files in a folder: a hidden
// temporary holding a PNG of `frame`, another program's PNG of another
// image, and a text file.
class FolderChurn {
 public:
  FolderChurn(const fs::path& folder, const substitute_host::Frame& frame) {
    const fs::path own_frame = folder / ".glimster-0123456789.tmp";
    const fs::path other_png = folder / "Comp 1 from another program.png";
    const fs::path text = folder / "notes.txt";
    test_support::WritePng(own_frame, test_support::RgbaOf(frame));
    test_support::WritePng(other_png, test_support::RgbaOf(substitute_host::NoiseFrame(3, 3, 1)));
    worker_ = std::thread([=] {
      const fs::path parked = folder.parent_path() / "parked";
      fs::create_directory(parked);
      for (unsigned round = 0; !stop_; ++round) {
        std::error_code ignored;
        for (const fs::path& file : {own_frame, other_png}) {
          fs::rename(file, parked / file.filename(), ignored);
          fs::rename(parked / file.filename(), file, ignored);
        }
        std::ofstream(text) << round;
        fs::remove(text, ignored);
      }
    });
  }
  ~FolderChurn() {
    stop_ = true;
    worker_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

class WrittenFile : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    fs::create_directories(DefaultDesktop());
  }
};

TEST_F(WrittenFile, RepeatCapturesInOneProcessAndTellsThePeakMemory) {
  const ToolRun run = RunHost({"--repeat", "3", "--size", "16x8", "--noise", "5"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  // Three captures in about a second: a later one may replace an earlier one
  // at the same name, and is still reported.
  const std::vector<std::string> written = ValuesOf(run.out, "wrote");
  ASSERT_EQ(written.size(), 3u) << run.out;
  for (const std::string& file : written)
    EXPECT_TRUE(test_support::DecodePng(fs::u8path(file))) << file;
  EXPECT_EQ(ValuesOf(run.out, "took").size(), 3u);
  EXPECT_TRUE(
      std::regex_match(ValueOf(run.out, "peak resident memory"), std::regex(R"([1-9]\d* KiB)")))
      << run.out;
}

TEST_F(WrittenFile, OnlyThePluginsOwnPngCountsWhileOtherFilesComeAndGo) {
  const FolderChurn churn(DefaultDesktop(), substitute_host::NoiseFrame(32, 16, 9));
  const ToolRun run = RunHost({"--repeat", "20", "--size", "32x16", "--noise", "9"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> written = ValuesOf(run.out, "wrote");
  EXPECT_EQ(written.size(), 20u) << run.out;
  for (const std::string& file : written) {
    EXPECT_TRUE(IsDefaultCompositionFileName(fs::u8path(file).filename().u8string())) << file;
  }
}

TEST_F(WrittenFile, NothingOfItsOwnIsAFailureWhateverElseAppears) {
  const FolderChurn churn(DefaultDesktop(), substitute_host::NoiseFrame(32, 16, 9));
  // The render gives no frame and the plug-in writes nothing, five times over.
  const ToolRun run = RunHost({"--repeat", "5", "--size", "32x16", "--noise", "9", "--fail",
                               "AEGP_RenderAndCheckoutFrame:0"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_THAT(run.out, Not(HasSubstr("wrote:")));
  EXPECT_THAT(run.err, HasSubstr("capture failed: expected one new PNG of the frame in "));
  EXPECT_THAT(run.err, HasSubstr("capture 1 of 5 failed"));
}

}  // namespace
}  // namespace glimster::cli_tests
