// "AEGP Memory Suite" 1: the memory handles the host gives out (item names).
#include "substitute_host/Operations.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

namespace glimster::substitute_host {
namespace {

constexpr char kMem[] = "mem";

// Serves an operation on a live memory handle: `act`(host, block) runs
// whatever the fault plan says and gives the text of its outputs.
template <typename Act>
A_Err onMemory(const char* op, AEGP_MemHandle handle, bool outParameterGiven, Act&& act) {
  return serveCall(op, [&](Host& host) {
    OperationCall call(host, op);
    const auto found = host.handles().memory.find(tokenOf(handle));
    const std::string args = describeHandle(found, kMem);
    if (found.record == nullptr) {
      return call.misuse(args, handleProblem(found.state, "memory handle"));
    }
    if (!outParameterGiven) {
      return call.misuse(args, kNullOutParameter);
    }
    return call.finish(args + act(host, *found.record, call.performs()));
  });
}

A_Err freeMemHandle(AEGP_MemHandle handle) {
  return onMemory(op::FreeMemHandle, handle, true, [&](Host& host, MemBlock&, bool performs) {
    if (performs) {
      host.handles().memory.release(tokenOf(handle));
    }
    return std::string();
  });
}

A_Err lockMemHandle(AEGP_MemHandle handle, void** address) {
  return onMemory(op::LockMemHandle, handle, address != nullptr,
                  [&](Host&, MemBlock& block, bool performs) {
                    *address = performs ? block.bytes.data() : nullptr;
                    return std::string(performs ? " -> address" : " -> null");
                  });
}

A_Err getMemHandleSize(AEGP_MemHandle handle, AEGP_MemSize* size) {
  return onMemory(op::GetMemHandleSize, handle, size != nullptr,
                  [&](Host&, MemBlock& block, bool performs) {
                    *size = performs ? static_cast<AEGP_MemSize>(block.bytes.size()) : 0;
                    return " -> " + std::to_string(*size);
                  });
}

}  // namespace

const AEGP_MemorySuite1& memorySuite1() {
  static const AEGP_MemorySuite1 kSuite = [] {
    auto suite = tableOfUnexpectedSlots<OfferedSuiteIndex::Memory1, AEGP_MemorySuite1>();
    suite.AEGP_FreeMemHandle = &freeMemHandle;
    suite.AEGP_LockMemHandle = &lockMemHandle;
    suite.AEGP_GetMemHandleSize = &getMemHandleSize;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
