// "AEGP Command Suite" 1: command identifiers and the menu items they stand for.
#include "substitute_host/Operations.h"
#include "substitute_host/Text.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

namespace glimster::substitute_host {
namespace {

A_Err getUniqueCommand(AEGP_Command* command) {
  return serveCall(op::GetUniqueCommand, [&](Host& host) {
    OperationCall call(host, op::GetUniqueCommand);
    if (command == nullptr) {
      return call.misuse("", kNullOutParameter);
    }
    *command = call.performs() ? host.menus().issueCommand() : 0;
    return call.finish("-> " + std::to_string(*command));
  });
}

A_Err insertMenuCommand(AEGP_Command command, const A_char* name, AEGP_MenuID menu,
                        A_long afterItem) {
  return serveCall(op::InsertMenuCommand, [&](Host& host) {
    OperationCall call(host, op::InsertMenuCommand);
    const std::string args = std::to_string(command) + ", " +
                             (name != nullptr ? quoted(name) : "null name") + ", menu " +
                             std::to_string(static_cast<A_long>(menu)) + ", after " +
                             std::to_string(afterItem);
    if (name == nullptr) {
      return call.misuse(args, "null menu text");
    }
    if (call.performs()) {
      host.menus().insert(static_cast<A_long>(menu), MenuItem{command, name}, afterItem);
    }
    return call.finish(args);
  });
}

// Sets the state of the command's menu items; a command without one is an error.
A_Err setCommandState(const char* op, AEGP_Command command, CommandState state) {
  return serveCall(op, [&](Host& host) {
    OperationCall call(host, op);
    const std::string args = std::to_string(command);
    if (call.performs() && !host.menus().setState(command, state)) {
      host.noteProblem(std::string(op) + "(" + args + "): no menu item carries this command");
      return call.finish(args, kHostGenericError);
    }
    return call.finish(args);
  });
}

A_Err enableCommand(AEGP_Command command) {
  return setCommandState(op::EnableCommand, command, CommandState::Enabled);
}

A_Err disableCommand(AEGP_Command command) {
  return setCommandState(op::DisableCommand, command, CommandState::Disabled);
}

}  // namespace

const AEGP_CommandSuite1& commandSuite1() {
  static const AEGP_CommandSuite1 kSuite = [] {
    auto suite = tableOfUnexpectedSlots<OfferedSuiteIndex::Command1, AEGP_CommandSuite1>();
    suite.AEGP_GetUniqueCommand = &getUniqueCommand;
    suite.AEGP_InsertMenuCommand = &insertMenuCommand;
    suite.AEGP_EnableCommand = &enableCommand;
    suite.AEGP_DisableCommand = &disableCommand;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
