// "AEGP Comp Suite" 14: the composition behind an item.
#include "substitute_host/Operations.h"
#include "substitute_host/suites/ItemLookup.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

namespace glimster::substitute_host {
namespace {

A_Err GetCompFromItem(AEGP_ItemH handle, AEGP_CompH* comp) {
  return ServeCall(op::kGetCompFromItem, [&](Host& host) {
    OperationCall call(host, op::kGetCompFromItem);
    Item* item = ItemOf(host, handle);
    const std::string args = DescribeItem(item);
    if (item == nullptr || comp == nullptr) {
      return call.misuse(args, item == nullptr ? kUnknownItemHandle : kNullOutParameter);
    }
    const bool is_composition = item->kind == ItemKind::kComposition;
    *comp = call.performs() && is_composition ? host.handles().CompHandle(*item) : nullptr;
    return call.finish(args, is_composition ? A_Err_NONE : kHostParameterError);
  });
}

}  // namespace

const AEGP_CompSuite14& CompSuite14() {
  static const AEGP_CompSuite14 kSuite = [] {
    auto suite = TableOfUnexpectedSlots<OfferedSuiteIndex::kComp14, AEGP_CompSuite14>();
    suite.AEGP_GetCompFromItem = &GetCompFromItem;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
