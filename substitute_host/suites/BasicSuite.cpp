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
SPErr basicMisuse(Host& host, const char* op, std::string args, const std::string& problem) {
  host.noteProblem(std::string(op) + "(" + args + "): " + problem);
  host.log().record(op, std::move(args), kHostParameterError);
  return kHostParameterError;
}

SPErr acquireSuite(const char* name, std::int32_t version, const void** suite) {
  return serveCall(op::AcquireSuite, [&](Host& host) -> SPErr {
    if (name == nullptr || suite == nullptr) {
      return basicMisuse(host, op::AcquireSuite, name != nullptr ? suiteArgs(name, version) : "",
                         name == nullptr ? "null suite name" : kNullOutParameter);
    }
    const std::string args = suiteArgs(name, version);
    const void* table = offeredSuite(name, version);
    SPErr result = A_Err_NONE;
    if (const auto refusal = host.faults().refusalOf(name, version)) {
      table = refusal->table == Outputs::Written ? table : nullptr;
      result = refusal->code;
    } else if (table == nullptr) {
      host.noteProblem("AcquireSuite(" + args + "): the host does not offer this suite");
      result = kSuiteNotOfferedError;
    }
    *suite = table;
    if (result == A_Err_NONE && table != nullptr) {
      host.suites().acquired(name, version);
    }
    host.log().record(op::AcquireSuite, args, result);
    return result;
  });
}

SPErr releaseSuite(const char* name, std::int32_t version) {
  return serveCall(op::ReleaseSuite, [&](Host& host) -> SPErr {
    if (name == nullptr) {
      return basicMisuse(host, op::ReleaseSuite, "", "null suite name");
    }
    const std::string args = suiteArgs(name, version);
    SPErr result = A_Err_NONE;
    if (!host.suites().holds(name, version)) {
      host.noteProblem("ReleaseSuite(" + args + "): the plug-in does not hold this suite");
      result = kSuiteNotOfferedError;
    } else if (const auto failure = host.faults().releaseFailure()) {
      result = *failure;
    } else {
      host.suites().released(name, version);
    }
    host.log().record(op::ReleaseSuite, args, result);
    return result;
  });
}

SPBoolean isEqual(const char* token1, const char* token2) {
  SPBoolean equal = 0;
  serveCall(op::IsEqual, [&](Host& host) {
    equal = token1 != nullptr && token2 != nullptr && std::strcmp(token1, token2) == 0;
    host.log().record(op::IsEqual, "", equal);
    return A_Err_NONE;
  });
  return equal;
}

SPErr allocateBlock(std::size_t size, void** block) {
  return serveCall(op::AllocateBlock, [&](Host& host) -> SPErr {
    if (block == nullptr) {
      return basicMisuse(host, op::AllocateBlock, std::to_string(size), kNullOutParameter);
    }
    *block = std::malloc(size);
    const SPErr result = *block != nullptr || size == 0 ? A_Err_NONE : A_Err_ALLOC;
    host.log().record(op::AllocateBlock, std::to_string(size), result);
    return result;
  });
}

SPErr freeBlock(void* block) {
  return serveCall(op::FreeBlock, [&](Host& host) {
    std::free(block);
    host.log().record(op::FreeBlock, "", A_Err_NONE);
    return A_Err_NONE;
  });
}

SPErr reallocateBlock(void* block, std::size_t newSize, void** newBlock) {
  return serveCall(op::ReallocateBlock, [&](Host& host) -> SPErr {
    if (newBlock == nullptr) {
      return basicMisuse(host, op::ReallocateBlock, std::to_string(newSize), kNullOutParameter);
    }
    void* moved = std::realloc(block, newSize);
    const SPErr result = moved != nullptr || newSize == 0 ? A_Err_NONE : A_Err_ALLOC;
    if (result == A_Err_NONE) {
      *newBlock = moved;
    }
    host.log().record(op::ReallocateBlock, std::to_string(newSize), result);
    return result;
  });
}

SPErr undefined() {
  return serveCall(op::Undefined, [](Host& host) {
    host.log().record(op::Undefined, "", A_Err_NONE);
    return A_Err_NONE;
  });
}

}  // namespace

const SPBasicSuite& basicSuite() {
  static const SPBasicSuite kSuite = {&acquireSuite, &releaseSuite,    &isEqual,  &allocateBlock,
                                      &freeBlock,    &reallocateBlock, &undefined};
  return kSuite;
}

}  // namespace glimster::substitute_host
