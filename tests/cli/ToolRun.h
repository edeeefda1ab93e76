// Runs a program as a child process with its own environment and gives back
// what it printed and how it ended.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace glimster::cli_tests {

struct ToolRun {
  int exit_code = -1;  // the exit status, or -1 when the program did not exit normally
  std::string out;     // what it wrote to standard output
  std::string err;     // what it wrote to standard error
};

// Runs `program` with `arguments`, the environment of this process with
// `environment`'s variables set over it, and standard output and error sent
// to files in `scratch` (an existing folder); waits for it to end.
ToolRun RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::map<std::string, std::string>& environment,
                   const std::filesystem::path& scratch);

}  // namespace glimster::cli_tests
