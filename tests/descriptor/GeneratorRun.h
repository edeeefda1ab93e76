// Running glimster_pipl_gen from a test, and the folder its output goes to.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace glimster::descriptor_tests {

// A fresh, uniquely named folder under the system's temporary folder, removed
// with everything in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs the generator with `arguments` and returns its exit code (-1 if it
// did not exit normally).
int RunGenerator(const std::vector<std::string>& arguments);

}  // namespace glimster::descriptor_tests
