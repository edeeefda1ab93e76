// Captures the writer refuses: desktops that cannot take them (no folder, a
// file where the folder should be, a folder where the file should go), a
// frame too large for the encoder. (File calls that fail: FileCallFailureTest;
// a path with no room for the name, a stream too long: PosixCaptureTest.)
// Each time the writer's error line is printed, the user is shown one report
// with its code, and the home folder is left exactly as it was: earlier
// files byte for byte, nothing added.
#include "CaptureFixture.h"

#include <fstream>

namespace glimster::capture_tests {
namespace {

constexpr char kOpenFailedLine[] = "error 79: failed to open file for writing\n";
constexpr char kOutOfMemoryLine[] = "error 83: memory allocation failed\n";

class HostileDesktopTest : public CaptureFixture {};

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
  fs::create_directory(OnDesktop(FileNameAt("taken")));
  std::ofstream(OnDesktop(FileNameAt("taken")) / "inside.txt", std::ios::binary) << "kept\n";
  ActivateComposition(u"taken", GradientFrame(4, 4, 0, true));
  ExpectRefusedWithoutTrace(kOpenFailedLine, 79);
}

// 134217728 x 1 pixels (512 MiB): the encoder would size a row's bits past
// 32 bits, so the writer refuses the frame before encoding.
TEST_F(HostileDesktopTest, AFrameWiderThanTheEncoderTakes) {
  std::ofstream(OnDesktop(FileNameAt("wide")), std::ios::binary) << "earlier";
  ActivateComposition(u"wide", Frame(134217728, 1, 134217728 * 4));
  ExpectRefusedWithoutTrace(kOutOfMemoryLine, 83);
}

}  // namespace
}  // namespace glimster::capture_tests
