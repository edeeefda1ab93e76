#include "bench/PluginCapture.h"

#include <cstring>
#include <stdexcept>

#include "bench/HeapCounter.h"
#include "bench/Stopwatch.h"

namespace glimster::bench {

PluginCapture::PluginCapture(const std::filesystem::path& plugin_file) : plugin_(plugin_file) {
  const A_Err err = host_.RunEntry(plugin_);
  if (err != A_Err_NONE)
    throw std::runtime_error("the plug-in's entry point gave " + std::to_string(err));
  host_.log().clear();
}

void PluginCapture::Show(const std::u16string& name, const HostFrame& frame) {
  substitute_host::Frame rendered(frame.width, frame.height, frame.rowbytes);
  std::memcpy(rendered.data(), frame.bytes.data(), frame.bytes.size());
  substitute_host::Item& item =
      host_.project().AddComposition(name, std::move(rendered), A_Time{0, 1});
  host_.project().SetActive(&item);
  shown_ = &item;
}

double PluginCapture::Take() {
  substitute_host::CommandOutcome outcome{};
  const double milliseconds =
      MillisecondsOf([&] { outcome = host_.IssueMenuCommand("Take Glimster"); });
  host_.log().clear();
  if (outcome.result != A_Err_NONE || !outcome.handled) {
    throw std::runtime_error("the capture command gave " + std::to_string(outcome.result));
  }
  if (!host_.problems().empty() || !host_.failures().empty() || !host_.outstanding().none()) {
    throw std::runtime_error("the capture command misused the host or kept a handle");
  }
  return milliseconds;
}

double PluginCapture::TimeHostFrameCopy() const {
  volatile std::uint8_t sink = 0;
  const double milliseconds = MillisecondsOf([&] {
    const substitute_host::Frame copy = *shown_->frame;
    sink = copy.bytes().front();
  });
  static_cast<void>(sink);
  return milliseconds;
}

std::size_t PluginCapture::HostFrameCopyHeapBytes() const {
  const std::size_t before = HeapBytesNow();
  const substitute_host::Frame copy = *shown_->frame;
  return HeapBytesNow() - before;
}

}  // namespace glimster::bench
