// The bundle's thread-local variables, as dyld provides them: each variable
// has a descriptor (thunk, key, offset) in a __thread_vars section; the Mac
// code calls the thunk with the descriptor's address and gets the variable's
// address on the calling thread. The thunk keeps every register Darwin's
// convention says it keeps (x86-64: all but rax; arm64: x1-x28, q0-q31).
#pragma once

#include <cstddef>
#include <cstdint>

namespace macos_runner {

// The initial bytes of every thread's variables: the bundle's
// __thread_data and __thread_bss sections, `size` bytes from `start`.
void SetThreadLocalTemplate(const std::uint8_t* start, std::size_t size);

}  // namespace macos_runner

// The thunk, the stand-in for __tlv_bootstrap (TlvThunk.S).
extern "C" void glimster_macos_tlv_thunk();
