#include "ToolRun.h"

#include "tests/support/FileContents.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace glimster::cli_tests {
namespace {

// "NAME=value" strings: this process's environment with `overrides` set over it.
std::vector<std::string> EnvironmentWith(const std::map<std::string, std::string>& overrides) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (overrides.count(text.substr(0, text.find('='))) == 0) entries.push_back(text);
  }
  for (const auto& [name, value] : overrides) entries.push_back(name + "=" + value);
  return entries;
}

// Pointers to the strings, ending with a null pointer, as exec functions take them.
std::vector<char*> PointersTo(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& text : strings) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;

  // Sends descriptor `fd` to `file`, created or emptied.
  void WriteTo(int fd, const std::filesystem::path& file) {
    posix_spawn_file_actions_addopen(&actions_, fd, file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
  }
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

ToolRun RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::map<std::string, std::string>& environment,
                   const std::filesystem::path& scratch) {
  const std::filesystem::path out_file = scratch / "tool-stdout.txt";
  const std::filesystem::path err_file = scratch / "tool-stderr.txt";
  SpawnActions actions;
  actions.WriteTo(1, out_file);
  actions.WriteTo(2, err_file);

  std::vector<std::string> argv{program.string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> envp = EnvironmentWith(environment);
  std::vector<char*> argv_pointers = PointersTo(argv);
  std::vector<char*> envp_pointers = PointersTo(envp);

  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), actions.get(), nullptr,
                                  argv_pointers.data(), envp_pointers.data());
  if (spawned != 0) {
    throw std::runtime_error("cannot start " + program.string() + ": " + std::strerror(spawned));
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) {
    throw std::runtime_error("cannot wait for " + program.string());
  }
  ToolRun run;
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = test_support::ContentsOf(out_file);
  run.err = test_support::ContentsOf(err_file);
  std::filesystem::remove(out_file);
  std::filesystem::remove(err_file);
  return run;
}

}  // namespace glimster::cli_tests
