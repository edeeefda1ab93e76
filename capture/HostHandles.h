// Owners of the host handles a capture obtains. Each gives its handle back
// exactly once: through Release(), whose host code the caller chains, or,
// when an error unwinds the capture first, from its destructor.
#pragma once

#include "host/AEGP_SuiteHandler.h"

template <class Handle, A_Err (*GiveBack)(AEGP_SuiteHandler&, Handle)>
class HostHandle {
 public:
  explicit HostHandle(AEGP_SuiteHandler& suites) : suites_(suites) {}
  // Unwinding already carries the call's error: a failure here adds nothing
  // (a suite missing even now leaves the handle with the host).
  ~HostHandle() {
    try {
      Release();
    } catch (...) {
    }
  }
  HostHandle(const HostHandle&) = delete;
  HostHandle& operator=(const HostHandle&) = delete;

  Handle get() const { return handle_; }
  // Where the host writes the handle it gives.
  Handle* out() { return &handle_; }

  // Gives the handle back now, if there is one, and gives the host's code.
  A_Err Release() {
    if (handle_ == nullptr) return A_Err_NONE;
    const Handle handle = handle_;
    handle_ = nullptr;
    return GiveBack(suites_, handle);
  }

 private:
  AEGP_SuiteHandler& suites_;
  Handle handle_ = nullptr;
};

inline A_Err DisposeRenderOptions(AEGP_SuiteHandler& suites, AEGP_RenderOptionsH options) {
  return suites.RenderOptionsSuite2()->AEGP_Dispose(options);
}
inline A_Err CheckinFrame(AEGP_SuiteHandler& suites, AEGP_FrameReceiptH receipt) {
  return suites.RenderSuite2()->AEGP_CheckinFrame(receipt);
}
inline A_Err FreeMemHandle(AEGP_SuiteHandler& suites, AEGP_MemHandle memory) {
  return suites.MemorySuite1()->AEGP_FreeMemHandle(memory);
}

using RenderOptions = HostHandle<AEGP_RenderOptionsH, DisposeRenderOptions>;
using FrameReceipt = HostHandle<AEGP_FrameReceiptH, CheckinFrame>;
using NameMemory = HostHandle<AEGP_MemHandle, FreeMemHandle>;
