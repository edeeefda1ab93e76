// Captures the writer refuses: desktops that cannot take them (no folder, a
// file where the folder should be, a folder where the file should go, a disk
// that fills mid-write), a frame too large for the encoder, a compressed
// stream too long for a PNG file.
// Each time the writer's error line is printed, the user is shown one report
// with its code, and the home folder is left exactly as it was: earlier
// files byte for byte, nothing added.
#include "CaptureFixture.h"

#include <signal.h>
#include <sys/resource.h>

#include <ctime>
#include <fstream>
#include <map>

#include "FixedClock.h"
#include "substitute_host/FrameSources.h"

namespace glimster::capture_tests {
namespace {

constexpr char kOpenFailedLine[] = "error 79: failed to open file for writing\n";
constexpr char kWriteFailedLine[] = "error 1000: failed to write file\n";
constexpr char kOutOfMemoryLine[] = "error 83: memory allocation failed\n";
constexpr char kTooLongStreamLine[] = "error 1001: compressed image too large for a PNG file\n";

// Every entry under a folder, by relative path: a folder's is "<folder>", a
// file's its bytes.
using Tree = std::map<std::string, std::string>;

Tree TreeOf(const fs::path& root) {
  Tree tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string relative = fs::relative(entry.path(), root);
    if (entry.is_directory()) {
      tree[relative] = "<folder>";
    } else {
      std::ifstream in(entry.path(), std::ios::binary);
      tree[relative] = std::string(std::istreambuf_iterator<char>(in), {});
    }
  }
  return tree;
}

class HostileDesktopTest : public CaptureFixture {
 protected:
  // Captures with the home folder as it is now; the capture must print the
  // line of `code`, report it once, succeed as far as the host knows, give
  // everything back and change nothing.
  void ExpectRefusedWithoutTrace(const std::string& line, unsigned code) {
    const Tree before = TreeOf(home_);
    std::string output;
    const substitute_host::CommandOutcome outcome = Capture(&output);
    EXPECT_EQ(output, line);
    EXPECT_TRUE(ReportedOnce(host_->reports(), code));
    EXPECT_EQ(outcome.result, 0);  // the writer's outcome is not the host's business
    EXPECT_EQ(outcome.handled, kHandled);
    EXPECT_EQ(TreeOf(home_), before);
    ExpectEverythingGivenBack();
  }
};

TEST_F(HostileDesktopTest, NoDesktopFolder) {
  fs::remove(desktop_);
  ActivateComposition(u"nowhere", GradientFrame(4, 4, 0, true));
  ExpectRefusedWithoutTrace(kOpenFailedLine, 79);
  EXPECT_FALSE(fs::exists(desktop_));
}

TEST_F(HostileDesktopTest, AFileWhereTheDesktopFolderShouldBe) {
  fs::remove(desktop_);
  std::ofstream(desktop_, std::ios::binary) << "a file called Desktop\n";
  ActivateComposition(u"on a file", GradientFrame(4, 4, 0, true));
  ExpectRefusedWithoutTrace(kOpenFailedLine, 79);
  EXPECT_TRUE(fs::is_regular_file(desktop_));
}

TEST_F(HostileDesktopTest, AFolderAtTheFilesPath) {
  fs::create_directory(desktop_ / FileNameAt("taken"));
  std::ofstream(desktop_ / FileNameAt("taken") / "inside.txt", std::ios::binary) << "kept\n";
  ActivateComposition(u"taken", GradientFrame(4, 4, 0, true));
  ExpectRefusedWithoutTrace(kOpenFailedLine, 79);
}

TEST_F(HostileDesktopTest, AWriteCutShortByTheFileSizeLimit) {
  std::ofstream(desktop_ / FileNameAt("cut short"), std::ios::binary) << "earlier";
  ActivateComposition(u"cut short", substitute_host::noiseFrame(64, 64, 3));
  const Tree before = TreeOf(home_);

  // The limit holds only in a child, so that the rest of the test can write.
  const ChildRun run = InChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 100;
    const substitute_host::CommandOutcome outcome = host_->issueMenuCommand("Take Glimster");
    const bool clean = host_->outstanding().none() && host_->problems().empty();
    if (!ReportedOnce(host_->reports(), 1000)) return 102;
    return outcome.result == 0 && outcome.handled == kHandled && clean ? 0 : 101;
  });
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, kWriteFailedLine);
  EXPECT_EQ(TreeOf(home_), before);
}

// A desktop folder path so long that not even " <timestamp>.png" fits in
// 1023 bytes: the capture prints the code-79 line and reports it, as for a
// file that cannot be created.
TEST_F(HostileDesktopTest, ADesktopPathWithNoRoomForTheFileName) {
  // 996 bytes, the separator and " 2026-12-08 09.30.00 AM.png": 1024.
  const fs::path desktop = UseDesktopOfBytes(996);
  ActivateComposition(u"Shot", GradientFrame(4, 4, 0, true));
  ExpectRefusedWithoutTrace(kOpenFailedLine, 79);
  EXPECT_TRUE(fs::is_empty(desktop));
}

// 134217728 x 1 pixels (512 MiB): the encoder would size a row's bits past
// 32 bits, so the writer refuses the frame before encoding.
TEST_F(HostileDesktopTest, AFrameWiderThanTheEncoderTakes) {
  std::ofstream(desktop_ / FileNameAt("wide"), std::ios::binary) << "earlier";
  ActivateComposition(u"wide", Frame(134217728, 1, 134217728 * 4));
  ExpectRefusedWithoutTrace(kOutOfMemoryLine, 83);
}

#ifdef GLIMSTER_LONG_STREAM_PLUGIN_FILE  // built only with Glimster.so
// The plug-in built with an encoder whose stream is 2^31 bytes long.
class LongStreamTest : public HostileDesktopTest {
 protected:
  fs::path PluginFile() const override { return GLIMSTER_LONG_STREAM_PLUGIN_FILE; }
};

TEST_F(LongStreamTest, AStreamLongerThanOneChunkHolds) {
  std::ofstream(desktop_ / FileNameAt("long"), std::ios::binary) << "earlier";
  ActivateComposition(u"long", GradientFrame(4, 4, 0, true));
  ExpectRefusedWithoutTrace(kTooLongStreamLine, 1001);
}
#endif

}  // namespace
}  // namespace glimster::capture_tests
