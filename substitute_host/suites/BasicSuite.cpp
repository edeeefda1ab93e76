// SPBasicSuite: suites by name and version, and a harmless allocator.
#include "substitute_host/CallLog.h"
#include "substitute_host/Operations.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"

#include <cstdlib>
#include <cstring>

namespace glimster::substitute_host {
namespace {

// Records a misuse of the basic suite and gives kHostParameterError.
SPErr BasicMisuse(Host& host, const char* op, std::string args, const std::string& problem) {
  host.NoteProblem(std::string(op) + "(" + args + "): " + problem);
  host.log().record(op, std::move(args), kHostParameterError);
  return kHostParameterError;
}

SPErr AcquireSuite(const char* name, std::int32_t version, const void** suite) {
  return ServeCall(op::kAcquireSuite, [&](Host& host) -> SPErr {
    if (name == nullptr || suite == nullptr) {
      return BasicMisuse(host, op::kAcquireSuite, name != nullptr ? SuiteArgs(name, version) : "",
                         name == nullptr ? "null suite name" : kNullOutParameter);
    }
    const std::string args = SuiteArgs(name, version);
    const void* table = TableOf(name, version);
    SPErr result = A_Err_NONE;
    if (const auto refusal = host.faults().RefusalOf(name, version)) {
      table = refusal->table == Outputs::kWritten ? table : nullptr;
      result = refusal->code;
    } else if (table == nullptr) {
      host.NoteProblem("AcquireSuite(" + args + "): the host does not offer this suite");
      result = kSuiteNotOfferedError;
    }
    *suite = table;
    if (result == A_Err_NONE && table != nullptr) {
      host.suites().acquired(name, version);
    }
    host.log().record(op::kAcquireSuite, args, result);
    return result;
  });
}

SPErr ReleaseSuite(const char* name, std::int32_t version) {
  return ServeCall(op::kReleaseSuite, [&](Host& host) -> SPErr {
    if (name == nullptr) {
      return BasicMisuse(host, op::kReleaseSuite, "", "null suite name");
    }
    const std::string args = SuiteArgs(name, version);
    SPErr result = A_Err_NONE;
    if (!host.suites().holds(name, version)) {
      host.NoteProblem("ReleaseSuite(" + args + "): the plug-in does not hold this suite");
      result = kSuiteNotOfferedError;
    } else if (const auto failure = host.faults().ReleaseFailure()) {
      result = *failure;
    } else {
      host.suites().released(name, version);
    }
    host.log().record(op::kReleaseSuite, args, result);
    return result;
  });
}

SPBoolean IsEqual(const char* token1, const char* token2) {
  SPBoolean equal = 0;
  ServeCall(op::kIsEqual, [&](Host& host) {
    equal = token1 != nullptr && token2 != nullptr && std::strcmp(token1, token2) == 0;
    host.log().record(op::kIsEqual, "", equal);
    return A_Err_NONE;
  });
  return equal;
}

SPErr AllocateBlock(std::size_t size, void** block) {
  return ServeCall(op::kAllocateBlock, [&](Host& host) -> SPErr {
    if (block == nullptr) {
      return BasicMisuse(host, op::kAllocateBlock, std::to_string(size), kNullOutParameter);
    }
    *block = std::malloc(size);
    const SPErr result = *block != nullptr || size == 0 ? A_Err_NONE : A_Err_ALLOC;
    host.log().record(op::kAllocateBlock, std::to_string(size), result);
    return result;
  });
}

SPErr FreeBlock(void* block) {
  return ServeCall(op::kFreeBlock, [&](Host& host) {
    std::free(block);
    host.log().record(op::kFreeBlock, "", A_Err_NONE);
    return A_Err_NONE;
  });
}

SPErr ReallocateBlock(void* block, std::size_t new_size, void** new_block) {
  return ServeCall(op::kReallocateBlock, [&](Host& host) -> SPErr {
    if (new_block == nullptr) {
      return BasicMisuse(host, op::kReallocateBlock, std::to_string(new_size), kNullOutParameter);
    }
    void* moved = std::realloc(block, new_size);
    const SPErr result = moved != nullptr || new_size == 0 ? A_Err_NONE : A_Err_ALLOC;
    if (result == A_Err_NONE) {
      *new_block = moved;
    }
    host.log().record(op::kReallocateBlock, std::to_string(new_size), result);
    return result;
  });
}

SPErr undefined() {
  return ServeCall(op::kUndefined, [](Host& host) {
    host.log().record(op::kUndefined, "", A_Err_NONE);
    return A_Err_NONE;
  });
}

}  // namespace

const SPBasicSuite& BasicSuite() {
  static const SPBasicSuite kSuite = {&AcquireSuite, &ReleaseSuite,    &IsEqual,  &AllocateBlock,
                                      &FreeBlock,    &ReallocateBlock, &undefined};
  return kSuite;
}

}  // namespace glimster::substitute_host
