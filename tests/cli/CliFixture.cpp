#include "CliFixture.h"

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <sstream>

#include "substitute_host/PluginBinary.h"
#include "substitute_host/platform/HomeFolder.h"

namespace glimster::cli_tests {

using substitute_host::PluginBinary;

void CliTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "glimster-cli-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  root_ = pattern;
  home_ = root_ / "home";
  tmp_ = root_ / "tmp";
  scratch_ = root_ / "scratch";
  for (const fs::path& folder : {home_, tmp_, scratch_}) fs::create_directory(folder);
}

void CliTest::TearDown() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::vector<std::string> CliTest::HostCommand() {
  return {GLIMSTER_HOST_LAUNCHER GLIMSTER_HOST_PROGRAM};
}

std::map<std::string, std::string> CliTest::Environment() const {
  const char* home = substitute_host::platform::HomeVariableOf(PluginBinary(PluginFile()));
  return {{home, home_.string()}, {"TMPDIR", tmp_.string()}};
}

ToolRun CliTest::RunHostAsGiven(const std::vector<std::string>& arguments) const {
  std::vector<std::string> command = HostCommand();
  command.insert(command.end(), arguments.begin(), arguments.end());
  return RunProgram(command.front(), {command.begin() + 1, command.end()}, Environment(), scratch_);
}

ToolRun CliTest::RunHost(const std::vector<std::string>& arguments) const {
  std::vector<std::string> named{PluginFile().string()};
  named.insert(named.end(), arguments.begin(), arguments.end());
  return RunHostAsGiven(named);
}

std::vector<fs::path> EntriesOf(const fs::path& folder) {
  std::vector<fs::path> entries;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    entries.push_back(it->path());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> ValuesOf(const std::string& output, const std::string& label) {
  const std::string prefix = label + ": ";
  std::vector<std::string> values;
  for (const std::string& line : LinesOf(output)) {
    if (line.rfind(prefix, 0) == 0) values.push_back(line.substr(prefix.size()));
  }
  return values;
}

std::string ValueOf(const std::string& output, const std::string& label) {
  const std::vector<std::string> values = ValuesOf(output, label);
  return values.empty() ? "" : values.front();
}

bool IsDefaultCompositionFileName(const std::string& name) {
  return std::regex_match(name,
                          std::regex(R"(Comp 1 \d{4}-\d\d-\d\d \d\d\.\d\d\.\d\d [AP]M\.png)"));
}

}  // namespace glimster::cli_tests
