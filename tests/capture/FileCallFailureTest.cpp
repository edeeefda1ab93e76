// A capture whose file calls fail on the desktop, as a full disk, a failing
// device or a file system that cannot flush make them: the earlier file at
// the capture's path is kept byte for byte and the failure reported once,
// or, where the file system only cannot flush, the capture is saved. A
// temporary that cannot be deleted is revealed.
#include <algorithm>
#include <fstream>
#include <regex>

#include "CaptureFixture.h"
#include "substitute_host/FrameSources.h"

namespace glimster::capture_tests {
namespace {

using probe::FileCall;
using probe::FileError;

constexpr char kWriteFailedLine[] = "error 1000: failed to write file\n";

class FileCallFailureTest : public CaptureFixture {};

TEST_F(FileCallFailureTest, EachFailingCallKeepsTheEarlierFileOrLeavesOnlyAVisibleTemporary) {
  // The name a temporary that could not be deleted is left under: without
  // its leading '.' on POSIX; on Windows its hidden attribute is cleared.
  const std::string k_leftover = probe::kPlatform == probe::Platform::kWindows
                                     ? R"(\.glimster-[0-9a-f]{10}\.tmp)"
                                     : R"(glimster-[0-9a-f]{10}\.tmp)";
  const struct {
    const char* what;
    std::vector<std::pair<FileCall, FileError>> failing;
    int after;  // calls let through first
    bool saved_on_posix, saved_on_windows;
    bool leftover;
  } cases[] = {
      {"the disk fills after 4 KiB", {{FileCall::kWrite, FileError::kDiskFull}}, 1, false, false},
      {"a write fails at once", {{FileCall::kWrite, FileError::kIo}}, 0, false, false},
      {"the flush fails", {{FileCall::kFlush, FileError::kIo}}, 0, false, false},
      {"the close reports a lost write", {{FileCall::kClose, FileError::kIo}}, 0, false, false},
      // A file system that cannot flush (some network and FUSE ones): saved.
      {"the flush is not supported", {{FileCall::kFlush, FileError::kUnsupported}}, 0, true, true},
      // EINVAL: POSIX's other answer of a file that cannot be flushed;
      // ERROR_INVALID_PARAMETER is no such answer on Windows.
      {"the flush answers an invalid argument",
       {{FileCall::kFlush, FileError::kInvalid}},
       0,
       true,
       false},
      {"a write and the delete fail",
       {{FileCall::kWrite, FileError::kDiskFull}, {FileCall::kDelete, FileError::kBusy}},
       0,
       false,
       false,
       true},
  };
  ActivateComposition(u"failing", substitute_host::NoiseFrame(64, 64, 3));
  const fs::path png = OnDesktop(FileNameAt("failing"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(png, std::ios::binary) << "earlier";
    for (const auto& [call, error] : c.failing)
      probe::FailFileCalls(desktop_, call, error, c.after);
    const std::size_t reports = host_->reports().size();
    std::string output;
    EXPECT_EQ(Capture(&output).result, 0);
    probe::ClearFileFailures();
    std::vector<std::string> files = DesktopFiles();
    const bool saved =
        probe::kPlatform == probe::Platform::kWindows ? c.saved_on_windows : c.saved_on_posix;
    if (saved) {
      EXPECT_EQ(output, "");
      EXPECT_EQ(host_->reports().size(), reports);
      EXPECT_EQ(files, std::vector<std::string>{FileNameAt("failing")});
      EXPECT_TRUE(DecodePng(png).has_value());
    } else {
      EXPECT_EQ(output, kWriteFailedLine);
      EXPECT_TRUE(ReportedOnce(
          std::vector<std::string>(host_->reports().begin() + reports, host_->reports().end()),
          1000));
      EXPECT_EQ(ContentsOf(png), "earlier");
      files.erase(std::remove(files.begin(), files.end(), FileNameAt("failing")), files.end());
      ASSERT_EQ(files.size(), c.leftover ? 1u : 0u) << ::testing::PrintToString(files);
      if (c.leftover) EXPECT_TRUE(std::regex_match(files[0], std::regex(k_leftover))) << files[0];
    }
    for (const std::string& file : DesktopFiles()) fs::remove(OnDesktop(file));
    ExpectEverythingGivenBack();
  }
}

}  // namespace
}  // namespace glimster::capture_tests
