#include "substitute_host/Host.h"

#include <stdexcept>

namespace glimster::substitute_host {
namespace {

Host* gCurrentHost = nullptr;
AEGP_PluginID gNextPluginId = 0x100;

constexpr AEGP_Command kFirstCommand = 1000;

// A 16-bit project at time 0, full resolution: the plug-in must set depth and time itself.
constexpr RenderSettings kProjectRenderDefaults{kWorldType16, A_Time{0, 1}, 1, 1};

}  // namespace

Host::Host()
    : menus_(kFirstCommand), pluginId_(gNextPluginId++), renderDefaults_(kProjectRenderDefaults) {
  if (gCurrentHost != nullptr) {
    throw std::logic_error("only one substitute host may be alive at a time");
  }
  gCurrentHost = this;
}

Host::~Host() { gCurrentHost = nullptr; }

Host* Host::current() { return gCurrentHost; }

Outstanding Host::outstanding() const {
  Outstanding left;
  left.renderOptions = handles_.renderOptions.outstanding();
  left.frameReceipts = handles_.receipts.outstanding();
  left.memHandles = handles_.memory.outstanding();
  left.suites = suites_.outstanding();
  return left;
}

std::string Outstanding::describe() const {
  return "render options " + std::to_string(renderOptions) + ", frame receipts " +
         std::to_string(frameReceipts) + ", memory handles " + std::to_string(memHandles) +
         ", suites " + std::to_string(suites);
}

}  // namespace glimster::substitute_host
