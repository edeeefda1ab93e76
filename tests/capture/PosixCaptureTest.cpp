// What only a POSIX binary (Glimster.so, the Mac code through macos_runner)
// meets: the file's mode under the umask, a path's 1023-byte limit, a
// desktop path that is no UTF-8 (a Windows path is UTF-16: its limits are in
// tests/windows), the process's address-space limit (the Windows sweep of
// the same property: tests/windows/CaptureTest), and Glimster.so relinked
// with a stand-in encoder.
#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "CaptureFixture.h"
#include "substitute_host/FrameSources.h"

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

  // Runs `body` in a forked child with its standard output caught; gives
  // what `body` answered (-1 for a child that did not exit) and the output.
  std::pair<int, std::string> InChild(const std::function<int()>& body) {
    const fs::path output_file = home_ / "child-output.txt";
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
      if (!std::freopen(output_file.c_str(), "w", stdout)) _exit(125);
      const int code = body();
      std::fflush(stdout);
      _exit(code);
    }
    int status = 0;
    const bool exited = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status);
    std::ifstream in(output_file);
    std::ostringstream text;
    text << in.rdbuf();
    fs::remove(output_file);
    return {exited ? WEXITSTATUS(status) : -1, text.str()};
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

// The bytes of the heap's blocks that are mapped on their own.
std::size_t MappedBlockBytes() { return mallinfo2().hblkhd; }

// Address-space limits, a real shortage of memory (in a child), from too
// little to render the frame, through the repack and the encoder, to enough:
// each capture writes the frame, prints the out-of-memory line and reports it
// once, or answers the host with an error; every time it gives everything
// back and holds no more of the heap after it than before, whatever the
// encoder held when memory ran out.
TEST_F(PosixCaptureTest, UnderEveryAddressSpaceLimitACaptureWritesOrSaysWhyAndLeaksNothing) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space: no limit can apply";
#endif
  const Item& comp = ActivateComposition(u"limited", substitute_host::noiseFrame(256, 256, 9));
  const Rgba8 expected = ExpectedImage(*comp.frame);
  Capture();  // what a first capture sets up for good is not counted below
  fs::remove(OnlyPng());
  const auto [exit_code, output] = InChild([&] {
    // Each block of 64 KiB or more (the encoder's rows, tables and stream)
    // is mapped on its own and unmapped when freed: it takes address space
    // of its own, and a block left behind shows in the count.
    mallopt(M_MMAP_THRESHOLD, 64 << 10);
    mallopt(M_TRIM_THRESHOLD, 64 << 10);
    const std::size_t held = MappedBlockBytes();
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    const rlim_t in_use = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
    int wrote = 0, out_of_memory = 0;
    for (rlim_t extra = 0; extra <= (2u << 20); extra += 64u << 10) {
      rlimit limit{in_use + extra, RLIM_INFINITY};
      if (setrlimit(RLIMIT_AS, &limit) != 0) return 100;
      const std::size_t reports = host_->reports().size();
      const substitute_host::CommandOutcome outcome = host_->issueMenuCommand("Take Glimster");
      limit.rlim_cur = RLIM_INFINITY;
      if (setrlimit(RLIMIT_AS, &limit) != 0) return 100;
      host_->log().clear();
      const std::size_t left = MappedBlockBytes() - held;
      std::printf("%zu KiB: result %d, %zu bytes left\n", std::size_t{extra >> 10},
                  static_cast<int>(outcome.result), left);
      if (left != 0) return 101;
      if (!host_->outstanding().none() || outcome.handled != kHandled) return 102;
      const std::vector<std::string> files = DesktopFiles();
      if (!files.empty()) {
        const std::optional<Rgba8> decoded = DecodePng(desktop_ / files.front());
        if (files.size() != 1 || !decoded || decoded->pixels != expected.pixels) return 103;
        fs::remove(desktop_ / files.front());
        ++wrote;
      } else if (host_->reports().size() > reports) {
        const std::vector<std::string> added(host_->reports().begin() + reports,
                                             host_->reports().end());
        if (!ReportedOnce(added, 83) || outcome.result != 0) return 104;
        ++out_of_memory;
      } else if (outcome.result == 0) {
        return 106;  // nothing written, and nobody told
      }
    }
    std::printf("%d wrote, %d printed error 83\n", wrote, out_of_memory);
    return wrote > 0 && out_of_memory > 0 ? 0 : 105;
  });
  EXPECT_EQ(exit_code, 0) << output;
  EXPECT_NE(output.find("error 83: memory allocation failed\n"), std::string::npos);
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
