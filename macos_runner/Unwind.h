// The Mac image's unwind tables, for the runner's build of LLVM libunwind:
// it asks glimster_macos_unwind_sections (Unwind.cpp) which image holds a
// pc before it looks through the ELF objects with dl_iterate_phdr.
#pragma once

#include "MachOImage.h"

namespace macos_runner {

// From now on a pc inside `image` is unwound with its __unwind_info (compact
// unwind) and __eh_frame, as Apple's unwinder reads them.
void SetUnwindImage(const MachOImage& image);

}  // namespace macos_runner
