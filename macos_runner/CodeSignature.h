// The slice's code signature, checked as a Mac's kernel checks it before the
// code runs: each code directory of the embedded signature well formed, the
// hash of every page of the file up to the directory's code limit equal to
// its code slot, and every special slot the directory fills equal to the
// hash of what it seals (a blob of the signature, or the bundle's Info.plist
// or resource seal beside the executable). A Mac kills a process at its first
// page whose hash differs; the runner refuses the slice before any of it
// runs, naming the first page or slot that differs.
//
// Apple silicon runs no unsigned code, so an arm64 slice without a signature
// is refused; x86_64 code may go unsigned, but a signature it has must hold.
#pragma once

#include "MachOImage.h"

namespace macos_runner {

void VerifyCodeSignature(const MachOImage& image);

}  // namespace macos_runner
