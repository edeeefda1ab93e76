#include "ThreadLocals.h"

#include <stdlib.h>
#include <string.h>

#include "Failure.h"
#include "Imports.h"

namespace macos_runner {
namespace {

// <mach-o/loader.h>: struct tlv_descriptor.
struct TlvDescriptor {
  void* thunk;
  unsigned long key;
  unsigned long offset;  // from the start of the template
};

const std::uint8_t* g_template = nullptr;
std::size_t g_template_size = 0;

// This thread's copy of the template, made at its first access, as dyld
// makes it; freed when the thread ends.
struct ThreadBlock {
  std::uint8_t* bytes = nullptr;
  ~ThreadBlock() { free(bytes); }
};
thread_local ThreadBlock t_block;

}  // namespace

void SetThreadLocalTemplate(const std::uint8_t* start, std::size_t size) {
  g_template = start;
  g_template_size = size;
}

ImportList ThreadLocalImports() {
  static const Import kImports[] = {
      {"__tlv_bootstrap", Address(glimster_macos_tlv_thunk)},
  };
  return {"libSystem", kImports, sizeof kImports / sizeof kImports[0]};
}

}  // namespace macos_runner

// The thunk's slow part, called with every register it must keep saved.
extern "C" __attribute__((visibility("hidden"))) void* glimster_macos_tlv_address(
    const macos_runner::TlvDescriptor* descriptor) {
  using namespace macos_runner;
  if (t_block.bytes == nullptr) {
    std::uint8_t* bytes =
        static_cast<std::uint8_t*>(malloc(g_template_size == 0 ? 1 : g_template_size));
    if (bytes == nullptr) FailUnimplemented("a thread-local variable where memory for it ran out");
    memcpy(bytes, g_template, g_template_size);
    t_block.bytes = bytes;
  }
  return t_block.bytes + descriptor->offset;
}
