#include "Unwind.h"

#include <unwind.h>  // LLVM libunwind's, its names renamed (UnwindNames.h)

#include <cstddef>
#include <cstdint>

#include "Imports.h"

namespace macos_runner {
namespace {

struct UnwindImage {
  std::uintptr_t start = 0, end = 0;  // the mapped image; start is its Mach-O header
  std::uintptr_t eh_frame = 0, unwind_info = 0;
  std::size_t eh_frame_size = 0, unwind_info_size = 0;
} g_image;

}  // namespace

void SetUnwindImage(const MachOImage& image) {
  UnwindImage found;
  found.start = reinterpret_cast<std::uintptr_t>(image.base);
  found.end = found.start + image.mapped_size;
  if (const Section* section = image.FindSection("__TEXT", "__eh_frame")) {
    found.eh_frame = reinterpret_cast<std::uintptr_t>(image.At(section->address));
    found.eh_frame_size = section->size;
  }
  if (const Section* section = image.FindSection("__TEXT", "__unwind_info")) {
    found.unwind_info = reinterpret_cast<std::uintptr_t>(image.At(section->address));
    found.unwind_info_size = section->size;
  }
  g_image = found;
}

ImportList UnwindImports() {
  static const Import kImports[] = {
      {"__Unwind_RaiseException", Address(&_Unwind_RaiseException)},
      {"__Unwind_Resume", Address(&_Unwind_Resume)},
      {"__Unwind_DeleteException", Address(&_Unwind_DeleteException)},
      {"__Unwind_SetGR", Address(&_Unwind_SetGR)},
      {"__Unwind_GetIP", Address(&_Unwind_GetIP)},
      {"__Unwind_SetIP", Address(&_Unwind_SetIP)},
      {"__Unwind_GetRegionStart", Address(&_Unwind_GetRegionStart)},
      {"__Unwind_GetLanguageSpecificData", Address(&_Unwind_GetLanguageSpecificData)},
  };
  return {"libSystem", kImports, sizeof kImports / sizeof kImports[0]};
}

}  // namespace macos_runner

// The hook the runner's libunwind calls first in findUnwindSections (the
// build's patch of AddressSpace.hpp): true, with the image's header and
// tables, when `pc` lies in the Mac image; false for every other pc.
extern "C" __attribute__((visibility("hidden"))) bool glimster_macos_unwind_sections(
    std::uintptr_t pc, std::uintptr_t* image_header, std::uintptr_t* eh_frame,
    std::size_t* eh_frame_size, std::uintptr_t* unwind_info, std::size_t* unwind_info_size) {
  const macos_runner::UnwindImage& image = macos_runner::g_image;
  if (pc < image.start || pc >= image.end) return false;
  *image_header = image.start;
  *eh_frame = image.eh_frame;
  *eh_frame_size = image.eh_frame_size;
  *unwind_info = image.unwind_info;
  *unwind_info_size = image.unwind_info_size;
  return true;
}
