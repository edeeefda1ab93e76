#include "ToolRun.h"

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

std::string contentsOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// "NAME=value" strings: this process's environment with `overrides` set over it.
std::vector<std::string> environmentWith(const std::map<std::string, std::string>& overrides) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (overrides.count(text.substr(0, text.find('='))) == 0) entries.push_back(text);
  }
  for (const auto& [name, value] : overrides) entries.push_back(name + "=" + value);
  return entries;
}

// Pointers to the strings, ending with a null pointer, as exec functions take them.
std::vector<char*> pointersTo(std::vector<std::string>& strings) {
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
  void writeTo(int fd, const std::filesystem::path& file) {
    posix_spawn_file_actions_addopen(&actions_, fd, file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
  }
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

ToolRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::map<std::string, std::string>& environment,
                   const std::filesystem::path& scratch) {
  const std::filesystem::path outFile = scratch / "tool-stdout.txt";
  const std::filesystem::path errFile = scratch / "tool-stderr.txt";
  SpawnActions actions;
  actions.writeTo(1, outFile);
  actions.writeTo(2, errFile);

  std::vector<std::string> argv{program.string()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> envp = environmentWith(environment);
  std::vector<char*> argvPointers = pointersTo(argv);
  std::vector<char*> envpPointers = pointersTo(envp);

  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), actions.get(), nullptr,
                                  argvPointers.data(), envpPointers.data());
  if (spawned != 0) {
    throw std::runtime_error("cannot start " + program.string() + ": " + std::strerror(spawned));
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) {
    throw std::runtime_error("cannot wait for " + program.string());
  }
  ToolRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = contentsOf(outFile);
  run.err = contentsOf(errFile);
  std::filesystem::remove(outFile);
  std::filesystem::remove(errFile);
  return run;
}

}  // namespace glimster::cli_tests
