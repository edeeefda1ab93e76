#include "CaptureFixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "FixedClock.h"
#include "substitute_host/PluginBinary.h"

namespace glimster::capture_tests {

Frame GradientFrame(A_long width, A_long height, A_long row_padding, bool opaque) {
  Frame frame(width, height, width * 4 + row_padding, 0xEE);
  for (A_long y = 0; y < height; ++y) {
    for (A_long x = 0; x < width; ++x) {
      const auto alpha =
          opaque ? std::uint8_t{255} : static_cast<std::uint8_t>((x * 7 + y * 3) & 0xFF);
      frame.setPixel(x, y,
                     {alpha, static_cast<std::uint8_t>(x * 255 / width),
                      static_cast<std::uint8_t>(y * 255 / height),
                      static_cast<std::uint8_t>((x * 31 + y * 17) & 0xFF)});
    }
  }
  return frame;
}

void CaptureFixture::SetUp() {
  char pattern[] = "/tmp/glimster-capture-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  home_ = pattern;
  FixClock(kFixedNow);

  // Each binary is loaded once, and stays loaded while the tests run.
  static std::map<std::string, substitute_host::PluginBinary> loaded;
  plugin_ = &loaded.try_emplace(PluginFile(), PluginFile()).first->second;
  fs::create_directory(home_ / "Desktop");
  UseDesktop(home_ / "Desktop");
  host_.emplace();
  ASSERT_EQ(host_->runEntry(*plugin_), 0);
  host_->log().clear();
}

void CaptureFixture::TearDown() {
  host_.reset();
  redirect_.reset();
  std::error_code ignored;
  fs::remove_all(home_, ignored);
}

Item& CaptureFixture::ActivateComposition(const std::u16string& name, Frame frame, A_Time time) {
  Item& comp = host_->project().addComposition(name, std::move(frame), time);
  host_->project().setActive(&comp);
  return comp;
}

substitute_host::CommandOutcome CaptureFixture::Capture(std::string* output) {
  substitute_host::CommandOptions options;
  options.handledFlag = kHandledUntouched;
  if (output == nullptr) return host_->issueMenuCommand("Take Glimster", options);
  ::testing::internal::CaptureStdout();
  const substitute_host::CommandOutcome outcome = host_->issueMenuCommand("Take Glimster", options);
  *output = ::testing::internal::GetCapturedStdout();
  return outcome;
}

ChildRun CaptureFixture::InChild(const std::function<int()>& body) {
  const fs::path output_file = home_ / "child-output.txt";
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    if (!std::freopen(output_file.c_str(), "w", stdout)) _exit(125);
    const int code = body();
    std::fflush(stdout);
    _exit(code);
  }
  ChildRun run;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    run.exit_code = WEXITSTATUS(status);
  }
  std::ifstream in(output_file);
  std::ostringstream text;
  text << in.rdbuf();
  run.output = text.str();
  fs::remove(output_file);
  return run;
}

fs::path CaptureFixture::UseDesktopOfBytes(std::size_t bytes) {
  const std::size_t home_bytes = bytes - std::string("/Desktop").size();
  fs::path home = home_;
  while (home.native().size() + 1 + 200 < home_bytes) home /= std::string(200, 'h');
  home /= std::string(home_bytes - home.native().size() - 1, 'h');
  fs::create_directories(home / "Desktop");
  UseDesktop(home / "Desktop");
  return desktop_;
}

void CaptureFixture::UseDesktop(const fs::path& desktop) {
  redirect_.reset();
  redirect_.emplace(*plugin_, desktop);
  desktop_ = desktop;
}

std::vector<std::string> CaptureFixture::DesktopFiles() const {
  std::vector<std::string> names;
  if (!fs::exists(desktop_)) return names;
  for (const auto& entry : fs::directory_iterator(desktop_))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

fs::path CaptureFixture::OnlyPng() const {
  const std::vector<std::string> files = DesktopFiles();
  EXPECT_EQ(files.size(), 1u) << "desktop holds " << files.size() << " files";
  return files.empty() ? fs::path() : desktop_ / files.front();
}

void CaptureFixture::ExpectEverythingGivenBack() const {
  const substitute_host::Outstanding outstanding = host_->outstanding();
  EXPECT_TRUE(outstanding.none()) << outstanding.describe();
  EXPECT_TRUE(host_->problems().empty()) << ::testing::PrintToString(host_->problems());
  EXPECT_TRUE(host_->failures().empty()) << ::testing::PrintToString(host_->failures());
}

std::string FileNameAt(const std::string& utf8_name) {
  return utf8_name + " " + kFixedStamp + ".png";
}

bool IsCaptureFileName(const std::string& file_name, const std::string& utf8_name) {
  static const std::regex stamp(
      R"( \d{4}-\d{2}-\d{2} (0[1-9]|1[0-2])\.[0-5]\d\.[0-5]\d (AM|PM)\.png)");
  return file_name.size() > utf8_name.size() &&
         file_name.compare(0, utf8_name.size(), utf8_name) == 0 &&
         std::regex_match(file_name.substr(utf8_name.size()), stamp);
}

}  // namespace glimster::capture_tests
