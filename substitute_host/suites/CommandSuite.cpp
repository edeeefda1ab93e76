// "AEGP Command Suite" 1: command identifiers and the menu items they stand for.
#include "substitute_host/Operations.h"
#include "substitute_host/Text.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

namespace glimster::substitute_host {
namespace {

A_Err GetUniqueCommand(AEGP_Command* command) {
  return ServeCall(op::kGetUniqueCommand, [&](Host& host) {
    OperationCall call(host, op::kGetUniqueCommand);
    if (command == nullptr) {
      return call.misuse("", kNullOutParameter);
    }
    *command = call.performs() ? host.menus().IssueCommand() : 0;
    return call.finish("-> " + std::to_string(*command));
  });
}

A_Err InsertMenuCommand(AEGP_Command command, const A_char* name, AEGP_MenuID menu,
                        A_long after_item) {
  return ServeCall(op::kInsertMenuCommand, [&](Host& host) {
    OperationCall call(host, op::kInsertMenuCommand);
    const std::string args = std::to_string(command) + ", " +
                             (name != nullptr ? quoted(name) : "null name") + ", menu " +
                             std::to_string(static_cast<A_long>(menu)) + ", after " +
                             std::to_string(after_item);
    if (name == nullptr) {
      return call.misuse(args, "null menu text");
    }
    if (call.performs()) {
      host.menus().insert(static_cast<A_long>(menu), MenuItem{command, name}, after_item);
    }
    return call.finish(args);
  });
}

// Sets the state of the command's menu items; a command without one is an error.
A_Err SetCommandState(const char* op, AEGP_Command command, CommandState state) {
  return ServeCall(op, [&](Host& host) {
    OperationCall call(host, op);
    const std::string args = std::to_string(command);
    if (call.performs() && !host.menus().SetState(command, state)) {
      host.NoteProblem(std::string(op) + "(" + args + "): no menu item carries this command");
      return call.finish(args, kHostGenericError);
    }
    return call.finish(args);
  });
}

A_Err EnableCommand(AEGP_Command command) {
  return SetCommandState(op::kEnableCommand, command, CommandState::kEnabled);
}

A_Err DisableCommand(AEGP_Command command) {
  return SetCommandState(op::kDisableCommand, command, CommandState::kDisabled);
}

}  // namespace

const AEGP_CommandSuite1& CommandSuite1() {
  static const AEGP_CommandSuite1 kSuite = [] {
    auto suite = TableOfUnexpectedSlots<OfferedSuiteIndex::kCommand1, AEGP_CommandSuite1>();
    suite.AEGP_GetUniqueCommand = &GetUniqueCommand;
    suite.AEGP_InsertMenuCommand = &InsertMenuCommand;
    suite.AEGP_EnableCommand = &EnableCommand;
    suite.AEGP_DisableCommand = &DisableCommand;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
