// "AEGP Comp Suite" 14: the composition behind an item.
#include "substitute_host/Operations.h"
#include "substitute_host/suites/ItemLookup.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

namespace glimster::substitute_host {
namespace {

A_Err getCompFromItem(AEGP_ItemH handle, AEGP_CompH* comp) {
  return serveCall(op::GetCompFromItem, [&](Host& host) {
    OperationCall call(host, op::GetCompFromItem);
    Item* item = itemOf(host, handle);
    const std::string args = describeItem(item);
    if (item == nullptr || comp == nullptr) {
      return call.misuse(args, item == nullptr ? kUnknownItemHandle : kNullOutParameter);
    }
    const bool isComposition = item->kind == ItemKind::Composition;
    *comp = call.performs() && isComposition ? host.handles().compHandle(*item) : nullptr;
    return call.finish(args, isComposition ? A_Err_NONE : kHostParameterError);
  });
}

}  // namespace

const AEGP_CompSuite14& compSuite14() {
  static const AEGP_CompSuite14 kSuite = [] {
    auto suite = tableOfUnexpectedSlots<OfferedSuiteIndex::Comp14, AEGP_CompSuite14>();
    suite.AEGP_GetCompFromItem = &getCompFromItem;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
