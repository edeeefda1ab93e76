#include "GeneratorRun.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace glimster::descriptor_tests {
namespace {

std::string quoted(const std::string& argument) {
#ifdef _WIN32
  return '"' + argument + '"';
#else
  std::string result = "'";
  for (const char c : argument) {
    result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return result + "'";
#endif
}

int ExitCode(int system_result) {
#ifdef _WIN32
  return systemResult;
#else
  return WIFEXITED(system_result) ? WEXITSTATUS(system_result) : -1;
#endif
}

}  // namespace

ScratchFolder::ScratchFolder() {
  std::random_device entropy;
  std::mt19937_64 random(static_cast<std::uint64_t>(entropy()) << 32 | entropy());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::ostringstream name;
    name << "glimster-descriptor-" << std::hex << random();
    const std::filesystem::path candidate = std::filesystem::temp_directory_path() / name.str();
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a scratch folder");
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

int RunGenerator(const std::vector<std::string>& arguments) {
  std::string command = quoted(GLIMSTER_PIPL_GEN_PATH);
  for (const std::string& argument : arguments) {
    command += ' ' + quoted(argument);
  }
  return ExitCode(std::system(command.c_str()));
}

Bytes ReadFile(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  if (!stream) {
    throw std::runtime_error("cannot read " + file.string());
  }
  return Bytes(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

}  // namespace glimster::descriptor_tests
