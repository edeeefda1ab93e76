#include "CaptureFixture.h"

#include <chrono>
#include <fstream>
#include <map>
#include <regex>

#include "substitute_host/PluginBinary.h"

namespace glimster::capture_tests {

Frame GradientFrame(A_long width, A_long height, A_long row_padding, bool opaque) {
  Frame frame(width, height, width * 4 + row_padding, 0xEE);
  for (A_long y = 0; y < height; ++y) {
    for (A_long x = 0; x < width; ++x) {
      const auto alpha =
          opaque ? std::uint8_t{255} : static_cast<std::uint8_t>((x * 7 + y * 3) & 0xFF);
      frame.SetPixel(x, y,
                     {alpha, static_cast<std::uint8_t>(x * 255 / width),
                      static_cast<std::uint8_t>(y * 255 / height),
                      static_cast<std::uint8_t>((x * 31 + y * 17) & 0xFF)});
    }
  }
  return frame;
}

fs::path MakeTemporaryFolder(const std::string& prefix) {
  const auto seed = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0;; ++attempt) {
    const fs::path folder = fs::temp_directory_path() / (prefix + std::to_string(seed + attempt));
    if (fs::create_directory(folder)) return folder;
  }
}

void CaptureFixture::SetUp() {
  home_ = MakeTemporaryFolder("glimster-capture-");

  // Each binary is loaded once, and stays loaded while the tests run.
  static std::map<fs::path, substitute_host::PluginBinary> loaded;
  plugin_ = &loaded.try_emplace(PluginFile(), PluginFile()).first->second;
  probe::Attach();
  fs::create_directory(home_ / "Desktop");
  UseDesktop(home_ / "Desktop");
  host_.emplace();
  ASSERT_EQ(host_->RunEntry(*plugin_), 0);
  host_->log().clear();
}

void CaptureFixture::TearDown() {
  host_.reset();
  redirect_.reset();
  std::error_code ignored;
  fs::remove_all(home_, ignored);
}

Item& CaptureFixture::ActivateComposition(const std::u16string& name, Frame frame, A_Time time) {
  Item& comp = host_->project().AddComposition(name, std::move(frame), time);
  host_->project().SetActive(&comp);
  return comp;
}

substitute_host::CommandOutcome CaptureFixture::Capture(std::string* output) {
  substitute_host::CommandOptions options;
  options.handled_flag = kHandledUntouched;
  if (output == nullptr) return host_->IssueMenuCommand("Take Glimster", options);
  ::testing::internal::CaptureStdout();
  const substitute_host::CommandOutcome outcome = host_->IssueMenuCommand("Take Glimster", options);
  *output = ::testing::internal::GetCapturedStdout();
  return outcome;
}

void CaptureFixture::ExpectRefusedWithoutTrace(const std::string& line, unsigned code) {
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

void CaptureFixture::UseDesktop(const fs::path& desktop) {
  redirect_.reset();
  redirect_.emplace(*plugin_, desktop);
  desktop_ = desktop;
}

fs::path CaptureFixture::OnlyPng() const {
  const std::vector<std::string> files = DesktopFiles();
  EXPECT_EQ(files.size(), 1u) << "desktop holds " << files.size() << " files";
  return files.empty() ? fs::path() : OnDesktop(files.front());
}

std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  if (!fs::exists(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(Utf8NameOf(entry.path()));
  std::sort(names.begin(), names.end());
  return names;
}

void ExpectEverythingGivenBack(const Host& host) {
  const substitute_host::Outstanding outstanding = host.outstanding();
  EXPECT_TRUE(outstanding.none()) << outstanding.describe();
  EXPECT_TRUE(host.problems().empty()) << ::testing::PrintToString(host.problems());
  EXPECT_TRUE(host.failures().empty()) << ::testing::PrintToString(host.failures());
}

Tree TreeOf(const fs::path& root) {
  Tree tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string relative = fs::relative(entry.path(), root).u8string();
    if (entry.is_directory()) {
      tree[relative] = "<folder>";
    } else {
      tree[relative] = ContentsOf(entry.path());
    }
  }
  return tree;
}

std::string FileNameAt(const std::string& utf8_name) {
  return utf8_name + " " + kFixedStamp + ".png";
}

bool IsCaptureFileName(const std::string& file_name, const std::string& utf8_name) {
  static const std::regex kStamp(
      R"( \d{4}-\d{2}-\d{2} (0[1-9]|1[0-2])\.[0-5]\d\.[0-5]\d (AM|PM)\.png)");
  return file_name.size() > utf8_name.size() &&
         file_name.compare(0, utf8_name.size(), utf8_name) == 0 &&
         std::regex_match(file_name.substr(utf8_name.size()), kStamp);
}

}  // namespace glimster::capture_tests
