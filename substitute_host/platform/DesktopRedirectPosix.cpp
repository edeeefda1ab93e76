#include "substitute_host/platform/DesktopRedirect.h"

#include "substitute_host/platform/HomeFolder.h"

#include <cstdlib>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace glimster::substitute_host::platform {
namespace {

// A new, empty folder in the system's temporary folder, removed with what it
// holds when destroyed (links inside are removed, never what they point at).
class TemporaryFolder {
 public:
  TemporaryFolder() : path_(MakeFolder()) {}
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  static std::filesystem::path MakeFolder() {
    std::random_device entropy;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::filesystem::path folder =
          base / ("glimster-host-home-" + std::to_string(entropy()));
      if (std::filesystem::create_directory(folder)) {
        return folder;
      }
    }
    throw std::runtime_error("cannot make a temporary folder in " + base.string());
  }

  std::filesystem::path path_;
};

// An environment variable set to a value, and given back its earlier value
// (or unset) when destroyed.
class HomeVariable {
 public:
  HomeVariable(const char* name, const std::filesystem::path& home) : name_(name) {
    if (const char* earlier = std::getenv(name_)) {
      earlier_ = earlier;
    }
    setenv(name_, home.c_str(), 1);
  }
  ~HomeVariable() {
    if (earlier_) {
      setenv(name_, earlier_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  HomeVariable(const HomeVariable&) = delete;
  HomeVariable& operator=(const HomeVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> earlier_;
};

// The folder as an absolute path without a trailing separator.
std::filesystem::path AbsoluteFolder(const std::filesystem::path& folder) {
  std::filesystem::path path = std::filesystem::absolute(folder);
  while (!path.has_filename() && path.has_relative_path()) {
    path = path.parent_path();
  }
  return path;
}

}  // namespace

struct DesktopRedirect::Undo {
  std::optional<TemporaryFolder> home;   // only when the folder is given through a link
  std::optional<HomeVariable> variable;  // destroyed before the folder goes
};

// The plug-in reads its home variable (HomeFolder.h) each time it looks for
// the desktop, and appends "/Desktop".
DesktopRedirect::DesktopRedirect(const PluginBinary& plugin, const std::filesystem::path& folder)
    : undo_(std::make_unique<Undo>()) {
  const char* variable = HomeVariableOf(plugin);
  const std::filesystem::path target = AbsoluteFolder(folder);
  if (target.filename() == "Desktop") {
    given_ = target;
    undo_->variable.emplace(variable, target.parent_path());
    return;
  }
  undo_->home.emplace();
  given_ = undo_->home->path() / "Desktop";
  throughLink_ = true;
  std::filesystem::create_directory_symlink(target, given_);
  undo_->variable.emplace(variable, undo_->home->path());
}

DesktopRedirect::~DesktopRedirect() = default;

}  // namespace glimster::substitute_host::platform
