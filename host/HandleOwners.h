// Owners of the host handles a capture obtains. Each gives its handle back
// exactly once: through Release(), whose host code the caller chains, or,
// when an error unwinds the capture first, from its destructor.
#pragma once

#include "host/AEGP_SuiteHandler.h"

namespace glimster {

template <class Handle, A_Err (*kGiveBack)(AEGP_SuiteHandler&, Handle)>
class HandleOwner {
 public:
  explicit HandleOwner(AEGP_SuiteHandler& suites) : suites_(suites) {}
  // Unwinding already carries the call's error: a failure here adds nothing
  // (a suite missing even now leaves the handle with the host).
  ~HandleOwner() {
    try {
      Release();
    } catch (...) {
    }
  }
  HandleOwner(const HandleOwner&) = delete;
  HandleOwner& operator=(const HandleOwner&) = delete;

  Handle get() const { return handle_; }
  // Where the host writes the handle it gives.
  Handle* out() { return &handle_; }

  // Gives the handle back now, if there is one, and gives the host's code.
  A_Err Release() {
    if (handle_ == nullptr) return A_Err_NONE;
    const Handle handle = handle_;
    handle_ = nullptr;
    return kGiveBack(suites_, handle);
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

using RenderOptions = HandleOwner<AEGP_RenderOptionsH, DisposeRenderOptions>;
using FrameReceipt = HandleOwner<AEGP_FrameReceiptH, CheckinFrame>;
using NameMemory = HandleOwner<AEGP_MemHandle, FreeMemHandle>;

}  // namespace glimster
