// How the PNG reaches the desktop, watched at the C library: written to a
// hidden temporary file of its own, however the writes come back (interrupted,
// short), flushed, closed, renamed over the target and the folder flushed.
// (Each failing call, on every binary: FileCallFailureTest; the temporary's
// name: TemporaryFileTest; the policy: FileReplacePolicyTest.)
#include <errno.h>

#include <fstream>
#include <regex>

#include "CaptureFixture.h"
#include "substitute_host/FrameSources.h"
#include "tests/support/FileCalls.h"

namespace glimster::capture_tests {
namespace {

constexpr char kWriteFailedLine[] = "error 1000: failed to write file\n";

class FileReplaceTest : public CaptureFixture {
 protected:
  // Captures with the file calls on the desktop recorded; gives them.
  std::vector<std::string> RecordedCapture(std::string* output = nullptr) {
    StartRecordingFileCalls(desktop_);
    Capture(output);
    return StopRecordingFileCalls();
  }

  // The hidden temporary file that the first recorded call opened.
  static std::string TemporaryOf(const std::vector<std::string>& calls) {
    std::smatch match;
    static const std::regex kOpened(R"(open (\.[^ :/]+)(: exists)?)");
    return !calls.empty() && std::regex_match(calls[0], match, kOpened) ? match[1].str() : "";
  }

  std::string Plant(const std::string& name) {
    const std::string text = "left by a killed capture: " + name;
    std::ofstream(desktop_ / name, std::ios::binary) << text;
    return text;
  }
};

// Noise: a PNG of about 16 KiB, so that its writes come back short.
TEST_F(FileReplaceTest, WritesFlushesClosesRenamesThenFlushesTheFolder) {
  const Item& comp = ActivateComposition(u"durable", substitute_host::NoiseFrame(64, 64, 5));
  const std::vector<std::string> calls = RecordedCapture();
  const std::string temporary = TemporaryOf(calls);
  ASSERT_NE(temporary, "") << ::testing::PrintToString(calls);
  const std::string target = OnlyPng().filename();
  EXPECT_EQ(calls, (std::vector<std::string>{"open " + temporary, "write " + temporary,
                                             "fsync " + temporary, "close " + temporary,
                                             "rename " + temporary + " -> " + target, "open .",
                                             "fsync .", "close ."}));
  EXPECT_TRUE(IsCaptureFileName(target, "durable"));
  const std::optional<Rgba8> decoded = DecodePng(OnlyPng());
  ASSERT_TRUE(decoded.has_value());
  EXPECT_TRUE(decoded->pixels == ExpectedImage(*comp.frame).pixels);
  // No longer than the shortest name a capture can have (" 2026-12-08 21.30.00.png"):
  // wherever the capture's name fits, so does the temporary's.
  EXPECT_LE(temporary.size(), 24u);
}

// The Mac code's full flush (F_FULLFSYNC): refused as not supported, the
// capture falls back to fsync, whose answer decides; failing otherwise, the
// capture fails at once. A failed capture leaves the earlier file of its name
// byte for byte, and no temporary.
using MacFullFlushTest = FileReplaceTest;
TEST_F(MacFullFlushTest, FallsBackToFsyncOnlyWhereNotSupported) {
  const struct {
    const char* what;
    std::vector<std::pair<std::string, int>> failing;  // call, error
    bool saved;
  } cases[] = {
      {"full flush fails: EIO", {{"fullfsync", EIO}}, false},
      {"full flush not supported: ENOTSUP", {{"fullfsync", ENOTSUP}}, true},
      {"full flush not supported, fsync fails", {{"fullfsync", ENOTSUP}, {"fsync", EIO}}, false},
  };
  const Item& comp = ActivateComposition(u"flushed", GradientFrame(7, 5, 0, false));
  const std::string png = FileNameAt("flushed");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string earlier = Plant(png);
    for (const auto& [call, error] : c.failing) FailFileCalls(call, error);
    std::string output;
    RecordedCapture(&output);
    EXPECT_EQ(output, c.saved ? "" : kWriteFailedLine);
    EXPECT_EQ(DesktopFiles(), std::vector<std::string>{png});
    const std::optional<Rgba8> decoded = DecodePng(desktop_ / png);
    EXPECT_EQ(decoded && decoded->pixels == ExpectedImage(*comp.frame).pixels, c.saved);
    if (!c.saved) EXPECT_EQ(ContentsOf(desktop_ / png), earlier);
  }
}

#ifdef GLIMSTER_LONG_STREAM_PLUGIN_FILE  // built only with Glimster.so
// The plug-in built with an encoder whose stream, for a frame one pixel
// wide, is the longest one PNG chunk holds: a file of 2^31 + 56 bytes.
class LongFileTest : public FileReplaceTest {
 protected:
  fs::path PluginFile() const override { return GLIMSTER_LONG_STREAM_PLUGIN_FILE; }
};

// macOS refuses a write of more than INT_MAX bytes: the file goes out at
// most 1 GiB a call.
TEST_F(LongFileTest, IsWrittenAtMostOneGibibyteACall) {
  ActivateComposition(u"long", GradientFrame(1, 1, 0, true));
  StartRecordingFileCalls(desktop_);
  PretendWrites();
  std::string output;
  Capture(&output);
  StopRecordingFileCalls();
  EXPECT_EQ(output, "");
  EXPECT_EQ(WriteSizes(), (std::vector<std::size_t>{1u << 30, 1u << 30, 56}));
  EXPECT_EQ(DesktopFiles(), std::vector<std::string>{FileNameAt("long")});
}
#endif

}  // namespace
}  // namespace glimster::capture_tests
