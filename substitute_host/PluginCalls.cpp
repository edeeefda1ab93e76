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
char g_unwritten_refcon;

std::string flag(A_Boolean value) { return std::to_string(static_cast<int>(value)); }

// Keeps the first non-zero result.
void KeepFirstFailure(A_Err& kept, A_Err result) {
  if (kept == A_Err_NONE) {
    kept = result;
  }
}

}  // namespace

template <typename Call>
A_Err Host::CallPlugin(const char* op, std::string args, Call&& call) {
  const std::size_t position = log_.record(op, std::move(args), A_Err_NONE);
  A_Err result = kPluginThrew;
  try {
    result = call();
  } catch (const std::exception& error) {
    NoteProblem(std::string(op) + " let an exception escape: " + error.what());
  } catch (...) {
    NoteProblem(std::string(op) + " let an exception escape");
  }
  log_.SetResult(position, result);
  return result;
}

A_Err Host::RunEntry(const PluginBinary& plugin, const EntryOptions& options) {
  AEGP_GlobalRefcon unwritten = reinterpret_cast<AEGP_GlobalRefcon>(&g_unwritten_refcon);
  AEGP_GlobalRefcon refcon = unwritten;
  SPBasicSuite* basic =
      options.null_basic_suite ? nullptr : const_cast<SPBasicSuite*>(&BasicSuite());
  const std::string args = std::string(basic != nullptr ? "basic suite" : "null basic suite") +
                           ", " + std::to_string(options.major_version) + "." +
                           std::to_string(options.minor_version) + ", plugin " +
                           std::to_string(pluginId_);
  const A_Err result = CallPlugin(op::kEntryPointFunc, args, [&] {
    return plugin.EntryPoint()(basic, options.major_version, options.minor_version, pluginId_,
                               &refcon);
  });
  entryWroteGlobalRefcon_ = refcon != unwritten;
  globalRefcon_ = entryWroteGlobalRefcon_ ? refcon : nullptr;
  return result;
}

CommandOutcome Host::IssueCommand(AEGP_Command command, const CommandOptions& options) {
  CommandOutcome outcome{A_Err_NONE, options.handled_flag};
  A_Boolean already_handled = options.already_handled;
  // A copy: a hook may register further hooks while the list is walked.
  const std::vector<CommandHookRegistration> registrations = hooks_.command;
  for (const CommandHookRegistration& registration : registrations) {
    if (registration.command != 0 && registration.command != command) {
      continue;
    }
    const std::string args = "command " + std::to_string(command) + ", priority " +
                             std::to_string(registration.priority) + ", already handled " +
                             flag(already_handled);
    const A_Err result = CallPlugin(op::kCommandHook, args, [&] {
      return registration.hook(globalRefcon_, registration.refcon, command, registration.priority,
                               already_handled, &outcome.handled);
    });
    KeepFirstFailure(outcome.result, result);
    already_handled = already_handled || outcome.handled;
  }
  return outcome;
}

CommandOutcome Host::IssueMenuCommand(const std::string& text, const CommandOptions& options) {
  const MenuItem* item = menus_.find(AEGP_Menu_COMPOSITION, text);
  if (item == nullptr) {
    throw std::invalid_argument("the Composition menu has no item \"" + text + "\"");
  }
  return IssueCommand(item->command, options);
}

A_Err Host::UpdateMenus(AEGP_WindowType active_window) {
  A_Err kept = A_Err_NONE;
  const auto registrations = hooks_.update_menu;
  for (const auto& registration : registrations) {
    KeepFirstFailure(
        kept,
        CallPlugin(
            op::kUpdateMenuHook, "window " + std::to_string(static_cast<int>(active_window)),
            [&] { return registration.hook(globalRefcon_, registration.refcon, active_window); }));
  }
  return kept;
}

A_Err Host::idle(A_long& max_sleep) {
  A_Err kept = A_Err_NONE;
  const auto registrations = hooks_.idle;
  for (const auto& registration : registrations) {
    KeepFirstFailure(kept, CallPlugin(op::kIdleHook, "max sleep " + std::to_string(max_sleep), [&] {
                       return registration.hook(globalRefcon_, registration.refcon, &max_sleep);
                     }));
  }
  return kept;
}

A_Err Host::quit() {
  A_Err kept = A_Err_NONE;
  const auto registrations = hooks_.death;
  for (const auto& registration : registrations) {
    KeepFirstFailure(kept, CallPlugin(op::kDeathHook, "", [&] {
                       return registration.hook(globalRefcon_, registration.refcon);
                     }));
  }
  return kept;
}

}  // namespace glimster::substitute_host
