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
A_Err OnMemory(const char* op, AEGP_MemHandle handle, bool out_parameter_given, Act&& act) {
  return ServeCall(op, [&](Host& host) {
    OperationCall call(host, op);
    const auto found = host.handles().memory.find(TokenOf(handle));
    const std::string args = DescribeHandle(found, kMem);
    if (found.record == nullptr) {
      return call.misuse(args, HandleProblem(found.state, "memory handle"));
    }
    if (!out_parameter_given) {
      return call.misuse(args, kNullOutParameter);
    }
    return call.finish(args + act(host, *found.record, call.performs()));
  });
}

A_Err FreeMemHandle(AEGP_MemHandle handle) {
  return OnMemory(op::kFreeMemHandle, handle, true, [&](Host& host, MemBlock&, bool performs) {
    if (performs) {
      host.handles().memory.release(TokenOf(handle));
    }
    return std::string();
  });
}

A_Err LockMemHandle(AEGP_MemHandle handle, void** address) {
  return OnMemory(op::kLockMemHandle, handle, address != nullptr,
                  [&](Host&, MemBlock& block, bool performs) {
                    *address = performs ? block.bytes.data() : nullptr;
                    return std::string(performs ? " -> address" : " -> null");
                  });
}

A_Err GetMemHandleSize(AEGP_MemHandle handle, AEGP_MemSize* size) {
  return OnMemory(op::kGetMemHandleSize, handle, size != nullptr,
                  [&](Host&, MemBlock& block, bool performs) {
                    *size = performs ? static_cast<AEGP_MemSize>(block.bytes.size()) : 0;
                    return " -> " + std::to_string(*size);
                  });
}

}  // namespace

const AEGP_MemorySuite1& MemorySuite1() {
  static const AEGP_MemorySuite1 kSuite = [] {
    auto suite = TableOfUnexpectedSlots<OfferedSuiteIndex::kMemory1, AEGP_MemorySuite1>();
    suite.AEGP_FreeMemHandle = &FreeMemHandle;
    suite.AEGP_LockMemHandle = &LockMemHandle;
    suite.AEGP_GetMemHandleSize = &GetMemHandleSize;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
