// The file a capture leaves on the desktop: its name, its replacement, and
// a frame too big to repack. (Desktops that cannot take the file: HostileDesktopTest.)
#include "CaptureFixture.h"

#include <sys/resource.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <thread>

namespace glimster::capture_tests {
namespace {

class CaptureFileTest : public CaptureFixture {
 protected:
  // The file name a capture of `name` at `when` gets.
  static std::string FileNameAt(const std::string& name, std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %I.%M.%S %p", &local);
    return name + " " + stamp + ".png";
  }
  // Puts a file with `text` at every path a capture of `name` may take in the
  // next few seconds.
  std::vector<fs::path> PlantEarlierFiles(const std::string& name, const std::string& text) {
    std::vector<fs::path> planted;
    const std::time_t now = std::time(nullptr);
    for (std::time_t t = now; t <= now + 5; ++t) {
      planted.push_back(desktop_ / FileNameAt(name, t));
      std::ofstream(planted.back(), std::ios::binary) << text;
    }
    return planted;
  }
};

TEST_F(CaptureFileTest, AnEmptyNameStartsTheFileNameWithTheSpace) {
  ActivateComposition(u"", GradientFrame(4, 4, 0, true));
  Capture();
  const std::string file = OnlyPng().filename();
  EXPECT_EQ(file.front(), ' ');
  EXPECT_TRUE(IsCaptureFileName(file, ""));
}

TEST_F(CaptureFileTest, NonAsciiNamesAreWrittenInUtf8) {
  ActivateComposition(u"Ünïcødé – 日本 😀", GradientFrame(4, 4, 0, true));
  Capture();
  EXPECT_TRUE(IsCaptureFileName(OnlyPng().filename(),
                                "\xc3\x9cn\xc3\xaf" "c\xc3\xb8" "d\xc3\xa9 \xe2\x80\x93 "
                                "\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80"));
}

TEST_F(CaptureFileTest, ASlashInTheNameCannotLeaveTheDesktop) {
  fs::create_directory(desktop_ / "Shots");
  ActivateComposition(u"Shots/../../escape", GradientFrame(4, 4, 0, true));
  EXPECT_EQ(Capture().result, 0);
  const std::vector<std::string> files = DesktopFiles();
  ASSERT_EQ(files.size(), 2u);  // "Shots" and the capture beside it
  EXPECT_TRUE(IsCaptureFileName(files[1], "Shots_.._.._escape")) << files[1];
  EXPECT_TRUE(fs::is_empty(desktop_ / "Shots"));
  EXPECT_EQ(std::distance(fs::directory_iterator(home_), fs::directory_iterator()), 1);
}

TEST_F(CaptureFileTest, TwoCapturesInOneSecondLeaveTheSecond) {
  Item& comp = ActivateComposition(u"twice", GradientFrame(5, 5, 0, true));
  for (int attempt = 0; attempt < 5; ++attempt) {
    for (const auto& file : DesktopFiles()) fs::remove(desktop_ / file);
    const std::time_t before = std::time(nullptr);
    Capture();
    comp.frame->setPixel(0, 0, {255, 1, 2, 3});
    Capture();
    if (std::time(nullptr) != before) continue;  // straddled a second: try again

    const std::optional<Rgba8> decoded = DecodePng(OnlyPng());
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded->pixels == ExpectedImage(*comp.frame).pixels);
    return;
  }
  FAIL() << "no two captures fell within one second";
}

TEST_F(CaptureFileTest, AnExistingFileAtThePathIsReplaced) {
  const std::vector<fs::path> planted = PlantEarlierFiles("replaced", "earlier");
  Item& comp = ActivateComposition(u"replaced", GradientFrame(5, 5, 0, false));
  EXPECT_EQ(Capture().result, 0);
  int replaced = 0;
  for (const fs::path& file : planted) {
    const std::optional<Rgba8> decoded = DecodePng(file);
    if (!decoded) continue;
    ++replaced;
    EXPECT_TRUE(decoded->pixels == ExpectedImage(*comp.frame).pixels);
  }
  EXPECT_EQ(replaced, 1);
  EXPECT_EQ(DesktopFiles().size(), planted.size());
}

TEST_F(CaptureFileTest, AFrameThatCannotBeAllocatedPrintsTheMemoryFailure) {
  // 4096 x 4096 pixels: 64 MiB for the host's frame, as much again for the
  // plug-in's repacked copy, which the address-space limit below leaves no room for.
  ActivateComposition(u"too big", Frame(4096, 4096, 4096 * 4));
  const ChildRun run = InChild([&] {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    const rlim_t in_use = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
    const rlim_t room = in_use + (96u << 20);  // the host's frame copy fits, the repack does not
    const rlimit limit{room, room};
    if (setrlimit(RLIMIT_AS, &limit) != 0) return 100;
    const subhost::CommandOutcome outcome = host_->issueMenuCommand("Take Glimster");
    return outcome.result == 0 && outcome.handled && host_->outstanding().none() ? 0 : 101;
  });
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, "error 83: memory allocation failed\n");
  EXPECT_TRUE(DesktopFiles().empty());
}

}  // namespace
}  // namespace glimster::capture_tests
