// The host calling into the plug-in: its entry point and registered hooks.
#include "substitute_host/Host.h"
#include "substitute_host/HostErrors.h"
#include "substitute_host/Operations.h"
#include "substitute_host/suites/SuiteTables.h"

#include <exception>
#include <stdexcept>

namespace glimster::substitute_host {
namespace {

// What the global refcon holds before the entry point runs, to see whether it wrote it.
char gUnwrittenRefcon;

std::string flag(A_Boolean value) { return std::to_string(static_cast<int>(value)); }

// Keeps the first non-zero result.
void keepFirstFailure(A_Err& kept, A_Err result) {
  if (kept == A_Err_NONE) {
    kept = result;
  }
}

}  // namespace

template <typename Call>
A_Err Host::callPlugin(const char* op, std::string args, Call&& call) {
  const std::size_t position = log_.record(op, std::move(args), A_Err_NONE);
  A_Err result = kPluginThrew;
  try {
    result = call();
  } catch (const std::exception& error) {
    noteProblem(std::string(op) + " let an exception escape: " + error.what());
  } catch (...) {
    noteProblem(std::string(op) + " let an exception escape");
  }
  log_.setResult(position, result);
  return result;
}

A_Err Host::runEntry(const PluginBinary& plugin, const EntryOptions& options) {
  AEGP_GlobalRefcon unwritten = reinterpret_cast<AEGP_GlobalRefcon>(&gUnwrittenRefcon);
  AEGP_GlobalRefcon refcon = unwritten;
  SPBasicSuite* basic = options.nullBasicSuite ? nullptr : const_cast<SPBasicSuite*>(&basicSuite());
  const std::string args = std::string(basic != nullptr ? "basic suite" : "null basic suite") +
                           ", " + std::to_string(options.majorVersion) + "." +
                           std::to_string(options.minorVersion) + ", plugin " +
                           std::to_string(pluginId_);
  const A_Err result = callPlugin(op::EntryPointFunc, args, [&] {
    return plugin.entryPoint()(basic, options.majorVersion, options.minorVersion, pluginId_,
                               &refcon);
  });
  entryWroteGlobalRefcon_ = refcon != unwritten;
  globalRefcon_ = entryWroteGlobalRefcon_ ? refcon : nullptr;
  return result;
}

CommandOutcome Host::issueCommand(AEGP_Command command, const CommandOptions& options) {
  CommandOutcome outcome{A_Err_NONE, options.handledFlag};
  A_Boolean alreadyHandled = options.alreadyHandled;
  // A copy: a hook may register further hooks while the list is walked.
  const std::vector<CommandHookRegistration> registrations = hooks_.command;
  for (const CommandHookRegistration& registration : registrations) {
    if (registration.command != 0 && registration.command != command) {
      continue;
    }
    const std::string args = "command " + std::to_string(command) + ", priority " +
                             std::to_string(registration.priority) + ", already handled " +
                             flag(alreadyHandled);
    const A_Err result = callPlugin(op::CommandHook, args, [&] {
      return registration.hook(globalRefcon_, registration.refcon, command, registration.priority,
                               alreadyHandled, &outcome.handled);
    });
    keepFirstFailure(outcome.result, result);
    alreadyHandled = alreadyHandled || outcome.handled;
  }
  return outcome;
}

CommandOutcome Host::issueMenuCommand(const std::string& text, const CommandOptions& options) {
  const MenuItem* item = menus_.find(AEGP_Menu_COMPOSITION, text);
  if (item == nullptr) {
    throw std::invalid_argument("the Composition menu has no item \"" + text + "\"");
  }
  return issueCommand(item->command, options);
}

A_Err Host::updateMenus(AEGP_WindowType activeWindow) {
  A_Err kept = A_Err_NONE;
  const auto registrations = hooks_.updateMenu;
  for (const auto& registration : registrations) {
    keepFirstFailure(
        kept,
        callPlugin(
            op::UpdateMenuHook, "window " + std::to_string(static_cast<int>(activeWindow)),
            [&] { return registration.hook(globalRefcon_, registration.refcon, activeWindow); }));
  }
  return kept;
}

A_Err Host::idle(A_long& maxSleep) {
  A_Err kept = A_Err_NONE;
  const auto registrations = hooks_.idle;
  for (const auto& registration : registrations) {
    keepFirstFailure(kept, callPlugin(op::IdleHook, "max sleep " + std::to_string(maxSleep), [&] {
                       return registration.hook(globalRefcon_, registration.refcon, &maxSleep);
                     }));
  }
  return kept;
}

A_Err Host::quit() {
  A_Err kept = A_Err_NONE;
  const auto registrations = hooks_.death;
  for (const auto& registration : registrations) {
    keepFirstFailure(kept, callPlugin(op::DeathHook, "", [&] {
                       return registration.hook(globalRefcon_, registration.refcon);
                     }));
  }
  return kept;
}

}  // namespace glimster::substitute_host
