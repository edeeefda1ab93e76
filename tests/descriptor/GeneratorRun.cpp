#include "GeneratorRun.h"

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace glimster::descriptor_tests {
namespace {

// `argument` as one word of the shell's.
std::string Quoted(const std::string& argument) {
  std::string result = "'";
  for (const char c : argument) {
    result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return result + "'";
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
  std::string command = Quoted(GLIMSTER_PIPL_GEN_PATH);
  for (const std::string& argument : arguments) {
    command += ' ' + Quoted(argument);
  }
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace glimster::descriptor_tests
