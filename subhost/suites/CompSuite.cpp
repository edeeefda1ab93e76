// "AEGP Comp Suite" 14: the composition behind an item.
#include "subhost/Operations.h"
#include "subhost/suites/ItemLookup.h"
#include "subhost/suites/SuiteCall.h"
#include "subhost/suites/SuiteTables.h"
#include "subhost/suites/UnexpectedSlots.h"

namespace glimster::subhost {
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

} // namespace

const AEGP_CompSuite14& compSuite14() {
  static const AEGP_CompSuite14 kSuite = [] {
    auto suite = tableOfUnexpectedSlots<SuiteRow::Comp14, AEGP_CompSuite14>();
    suite.AEGP_GetCompFromItem = &getCompFromItem;
    return suite;
  }();
  return kSuite;
}

} // namespace glimster::subhost
