#include "substitute_host/Host.h"

#include <stdexcept>

namespace glimster::substitute_host {
namespace {

Host* g_current_host = nullptr;
AEGP_PluginID g_next_plugin_id = 0x100;

constexpr AEGP_Command kFirstCommand = 1000;

// A 16-bit project at time 0, full resolution: the plug-in must set depth and time itself.
constexpr RenderSettings kProjectRenderDefaults{kWorldType16, A_Time{0, 1}, 1, 1};

}  // namespace

Host::Host()
    : menus_(kFirstCommand),
      pluginId_(g_next_plugin_id++),
      renderDefaults_(kProjectRenderDefaults) {
  if (g_current_host != nullptr) {
    throw std::logic_error("only one substitute host may be alive at a time");
  }
  g_current_host = this;
}

Host::~Host() { g_current_host = nullptr; }

Host* Host::current() { return g_current_host; }

Outstanding Host::outstanding() const {
  Outstanding left;
  left.render_options = handles_.render_options.outstanding();
  left.frame_receipts = handles_.receipts.outstanding();
  left.mem_handles = handles_.memory.outstanding();
  left.suites = suites_.outstanding();
  return left;
}

std::string Outstanding::describe() const {
  return "render options " + std::to_string(render_options) + ", frame receipts " +
         std::to_string(frame_receipts) + ", memory handles " + std::to_string(mem_handles) +
         ", suites " + std::to_string(suites);
}

}  // namespace glimster::substitute_host
