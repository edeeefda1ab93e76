// The real plug-in binary in the substitute host, capturing the frames the
// benchmarks show it.
#pragma once

#include <filesystem>
#include <string>

#include "bench/BenchFrames.h"
#include "substitute_host/Host.h"
#include "substitute_host/PluginBinary.h"

namespace glimster::bench {

class PluginCapture {
 public:
  // Loads `plugin_file` into a new substitute host and starts it; throws
  // std::runtime_error when the entry point fails.
  explicit PluginCapture(const std::filesystem::path& plugin_file);

  // Adds a composition named `name` that renders `frame` and makes it the active item.
  void Show(const std::u16string& name, const HostFrame& frame);
  // Chooses "Take Glimster"; gives the command's wall time in milliseconds.
  // Throws std::runtime_error when the command failed, was not handled, or
  // left a handle or a misuse behind.
  double Take();
  // Copies the active composition's frame as the host does when it renders
  // it, and frees the copy as checking the frame in does; gives the time in
  // milliseconds.
  double TimeHostFrameCopy() const;
  // Heap bytes the host's copy of the active composition's frame holds, as counted.
  std::size_t HostFrameCopyHeapBytes() const;

 private:
  substitute_host::PluginBinary plugin_;
  substitute_host::Host host_;
  const substitute_host::Item* shown_ = nullptr;
};

}  // namespace glimster::bench
