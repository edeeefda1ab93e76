// Desktops that cannot take the capture: no folder, a file where the folder
// should be, a folder where the file should go, a disk that fills mid-write.
// Each time the writer's error line is printed, and the home folder is left
// exactly as it was: earlier files byte for byte, nothing added.
#include "CaptureFixture.h"

#include <signal.h>
#include <sys/resource.h>

#include <ctime>
#include <fstream>
#include <map>

namespace glimster::capture_tests {
namespace {

constexpr char kOpenFailedLine[] = "error 79: failed to open file for writing\n";
constexpr char kWriteFailedLine[] = "error 1000: failed to write file\n";

// How far ahead the paths a capture may take are taken: the capture has to
// land within these seconds, which the tests check.
constexpr std::time_t kSecondsCovered = 5;

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

// The file name a capture of `name` at `when` gets.
std::string FileNameAt(const std::string& name, std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %I.%M.%S %p", &local);
  return name + " " + stamp + ".png";
}

// Noise does not compress: its PNG is far larger than a small file-size limit.
Frame NoiseFrame(A_long side) {
  Frame noise(side, side, side * 4);
  std::uint32_t seed = 12345;
  for (A_long y = 0; y < side; ++y) {
    for (A_long x = 0; x < side; ++x) {
      seed = seed * 1103515245u + 12345u;
      noise.setPixel(x, y, {static_cast<std::uint8_t>(seed >> 24), static_cast<std::uint8_t>(seed >> 16),
                            static_cast<std::uint8_t>(seed >> 8), static_cast<std::uint8_t>(seed)});
    }
  }
  return noise;
}

class HostileDesktopTest : public CaptureFixture {
 protected:
  // Takes every path a capture of `name` may land on from now on with `make`(path).
  template <class Make>
  void TakeCapturePaths(const std::string& name, Make&& make) {
    first_second_ = std::time(nullptr);
    for (std::time_t t = first_second_; t <= first_second_ + kSecondsCovered; ++t) {
      make(desktop_ / FileNameAt(name, t));
    }
  }

  // Captures with the home folder as it is now; the capture must print `line`,
  // succeed as far as the host knows, give everything back and change nothing.
  void ExpectRefusedWithoutTrace(const std::string& line) {
    const Tree before = TreeOf(home_);
    std::string output;
    const subhost::CommandOutcome outcome = Capture(&output);
    EXPECT_LE(std::time(nullptr), first_second_ + kSecondsCovered) << "the capture outran the paths taken";
    EXPECT_EQ(output, line);
    EXPECT_EQ(outcome.result, 0);  // the writer's outcome is not the host's business
    EXPECT_TRUE(outcome.handled);
    EXPECT_EQ(TreeOf(home_), before);
    ExpectEverythingGivenBack();
  }

  std::time_t first_second_ = std::time(nullptr);
};

TEST_F(HostileDesktopTest, NoDesktopFolder) {
  fs::remove(desktop_);
  ActivateComposition(u"nowhere", GradientFrame(4, 4, 0, true));
  ExpectRefusedWithoutTrace(kOpenFailedLine);
  EXPECT_FALSE(fs::exists(desktop_));
}

TEST_F(HostileDesktopTest, AFileWhereTheDesktopFolderShouldBe) {
  fs::remove(desktop_);
  std::ofstream(desktop_, std::ios::binary) << "a file called Desktop\n";
  ActivateComposition(u"on a file", GradientFrame(4, 4, 0, true));
  ExpectRefusedWithoutTrace(kOpenFailedLine);
  EXPECT_TRUE(fs::is_regular_file(desktop_));
}

TEST_F(HostileDesktopTest, AFolderAtTheFilesPath) {
  TakeCapturePaths("taken", [](const fs::path& path) {
    fs::create_directory(path);
    std::ofstream(path / "inside.txt", std::ios::binary) << "kept\n";
  });
  ActivateComposition(u"taken", GradientFrame(4, 4, 0, true));
  ExpectRefusedWithoutTrace(kOpenFailedLine);
}

TEST_F(HostileDesktopTest, AWriteCutShortByTheFileSizeLimit) {
  TakeCapturePaths("cut short", [](const fs::path& path) {
    std::ofstream(path, std::ios::binary) << "earlier";
  });
  ActivateComposition(u"cut short", NoiseFrame(64));
  const Tree before = TreeOf(home_);

  // The limit holds only in a child, so that the rest of the test can write.
  const ChildRun run = InChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 100;
    const subhost::CommandOutcome outcome = host_->issueMenuCommand("Take Glimster");
    const bool clean = host_->outstanding().none() && host_->problems().empty();
    return outcome.result == 0 && outcome.handled && clean ? 0 : 101;
  });
  EXPECT_LE(std::time(nullptr), first_second_ + kSecondsCovered) << "the capture outran the paths taken";
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, kWriteFailedLine);
  EXPECT_EQ(TreeOf(home_), before);
}

}  // namespace
}  // namespace glimster::capture_tests
