// What only a POSIX binary (Glimster.so, the Mac code through macos_runner)
// meets: the file's mode under the umask, a path's 1023-byte limit, a
// desktop path that is no UTF-8 (a Windows path is UTF-16: its limits are in
// tests/windows), and Glimster.so relinked with a stand-in encoder.
#include <sys/stat.h>

#include <fstream>

#include "CaptureFixture.h"

namespace glimster::capture_tests {
namespace {

constexpr char kOpenFailedLine[] = "error 79: failed to open file for writing\n";

class PosixCaptureTest : public CaptureFixture {
 protected:
  // Makes a desktop folder whose path is `bytes` long, inside the home
  // folder, and makes its parent the home; gives the folder.
  fs::path UseDesktopOfBytes(std::size_t bytes) {
    const std::size_t home_bytes = bytes - std::string("/Desktop").size();
    fs::path home = home_;
    while (home.native().size() + 1 + 200 < home_bytes) home /= std::string(200, 'h');
    home /= std::string(home_bytes - home.native().size() - 1, 'h');
    fs::create_directories(home / "Desktop");
    UseDesktop(home / "Desktop");
    return desktop_;
  }
};

// A desktop folder path of 900 bytes leaves 95 bytes for the name in a
// 1023-byte path: the name is shortened, never the timestamp or ".png".
TEST_F(PosixCaptureTest, APathNear1023BytesShortensTheName) {
  const fs::path desktop = UseDesktopOfBytes(900);
  const Frame frame = GradientFrame(6, 5, 4, true);
  ActivateComposition(std::u16string(200, u'\u20ac'), frame);  // three bytes each: 31 fit
  EXPECT_EQ(Capture().result, 0);
  std::string euros;
  for (int i = 0; i < 31; ++i) euros += "\xe2\x82\xac";
  const fs::path png = desktop / (euros + " 2026-12-08 09.30.00 AM.png");
  EXPECT_EQ(DesktopFiles(), std::vector<std::string>{png.filename()});
  const std::optional<Rgba8> decoded = DecodePng(png);
  ASSERT_TRUE(decoded);
  EXPECT_TRUE(decoded->pixels == ExpectedImage(frame).pixels);
  fs::remove(png);

  ActivateComposition(std::u16string(200, u'n'), frame);
  EXPECT_EQ(Capture().result, 0);
  EXPECT_EQ(DesktopFiles(),
            std::vector<std::string>{std::string(95, 'n') + " 2026-12-08 09.30.00 AM.png"});
}

// A desktop folder path so long that not even " <timestamp>.png" fits in
// 1023 bytes: the capture prints the code-79 line and reports it, as for a
// file that cannot be created.
TEST_F(PosixCaptureTest, ADesktopPathWithNoRoomForTheFileName) {
  // 996 bytes, the separator and " 2026-12-08 09.30.00 AM.png": 1024.
  const fs::path desktop = UseDesktopOfBytes(996);
  ActivateComposition(u"Shot", GradientFrame(4, 4, 0, true));
  ExpectRefusedWithoutTrace(kOpenFailedLine, 79);
  EXPECT_TRUE(fs::is_empty(desktop));
}

// A desktop folder whose path is no UTF-8 (the home folder's name is the
// byte 0xFF): no file, no line, one report.
TEST_F(PosixCaptureTest, ADesktopWithoutAUtf8PathIsReported) {
  const fs::path odd_home = home_ / "\xff";
  fs::create_directories(odd_home / "Desktop");
  UseDesktop(odd_home / "Desktop");
  ActivateComposition(u"odd", GradientFrame(4, 4, 0, true));
  std::string output;
  EXPECT_EQ(Capture(&output).result, 0);
  EXPECT_EQ(output, "");
  EXPECT_TRUE(ReportedOnce(host_->reports(), 79));
  EXPECT_TRUE(fs::is_empty(odd_home / "Desktop"));
  ExpectEverythingGivenBack();
}

// The file is made for everyone to read and write, less what the process's
// umask takes away.
TEST_F(PosixCaptureTest, TheFileModeIs0666LessTheUmask) {
  ActivateComposition(u"mode", GradientFrame(4, 4, 0, true));
  const struct {
    mode_t mask;
    int mode;
  } cases[] = {{0000, 0666}, {0027, 0640}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    const mode_t earlier = umask(c.mask);
    Capture();
    umask(earlier);
    EXPECT_EQ(static_cast<int>(fs::status(OnlyPng()).permissions()), c.mode);
    fs::remove(OnlyPng());
  }
}

#ifdef GLIMSTER_LONG_STREAM_PLUGIN_FILE  // built only with Glimster.so
// The plug-in built with an encoder whose stream is 2^31 bytes long.
class LongStreamTest : public PosixCaptureTest {
 protected:
  fs::path PluginFile() const override { return GLIMSTER_LONG_STREAM_PLUGIN_FILE; }
};

TEST_F(LongStreamTest, AStreamLongerThanOneChunkHolds) {
  std::ofstream(OnDesktop(FileNameAt("long")), std::ios::binary) << "earlier";
  ActivateComposition(u"long", GradientFrame(4, 4, 0, true));
  ExpectRefusedWithoutTrace("error 1001: compressed image too large for a PNG file\n", 1001);
}
#endif

}  // namespace
}  // namespace glimster::capture_tests
