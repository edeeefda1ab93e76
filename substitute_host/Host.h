// The substitute host: an in-memory project, menus and the host's suites,
// offered to a real plug-in binary that it loads and calls as the host does.
//
// Only one Host is alive at a time: the suite tables handed to the plug-in are
// process-wide C tables, and every call through them is served by the live
// Host (Host::current()). Every call is recorded in log(); faults() injects
// failures; problems() collects what a correct plug-in never causes.
#pragma once

#include "host/AE_HostInterface.h"
#include "substitute_host/CallLog.h"
#include "substitute_host/FaultPlan.h"
#include "substitute_host/Hooks.h"
#include "substitute_host/IssuedHandles.h"
#include "substitute_host/MenuBar.h"
#include "substitute_host/PluginBinary.h"
#include "substitute_host/Project.h"
#include "substitute_host/SuiteLedger.h"

#include <string>
#include <vector>

namespace glimster::substitute_host {

inline constexpr AEGP_WorldType kWorldType16 = 2;

// How the entry point is called.
struct EntryOptions {
  bool null_basic_suite = false;  // pass a null basic suite pointer
  A_long major_version = 1;
  A_long minor_version = 0;
};

// How a command is issued.
struct CommandOptions {
  A_Boolean already_handled = false;  // what the first hook is told
  A_Boolean handled_flag = false;     // what the handled flag holds before the first hook runs
};

struct CommandOutcome {
  A_Err result;       // the first non-zero hook result, else 0
  A_Boolean handled;  // the handled flag after the last hook
};

// A render the plug-in asked for: of which item, with which settings.
struct RenderRequest {
  std::u16string item_name;
  RenderSettings settings;
  bool cancel_function_given;
  bool cancel_refcon_given;
};

// Host resources the plug-in obtained and has not given back.
struct Outstanding {
  std::size_t render_options = 0;
  std::size_t frame_receipts = 0;
  std::size_t mem_handles = 0;
  std::size_t suites = 0;

  // True when nothing at all is outstanding.
  bool none() const { return render_options + frame_receipts + mem_handles + suites == 0; }
  // "render options 1, frame receipts 0, memory handles 0, suites 0".
  std::string describe() const;
};

class Host {
 public:
  // Becomes the current host; throws std::logic_error while another is alive.
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // The live host, or null.
  static Host* current();

  // ---- What the host offers ----
  // The items and the active one.
  Project& project() { return project_; }
  // The menus, and the command identifiers the host issues.
  MenuBar& menus() { return menus_; }
  const MenuBar& menus() const { return menus_; }
  // The identifier this host gives the plug-in (each host a different one).
  AEGP_PluginID PluginId() const { return pluginId_; }
  // What render options hold when AEGP_NewFromItem makes them.
  RenderSettings& RenderDefaults() { return renderDefaults_; }
  // The failures to inject from now on.
  FaultPlan& faults() { return faults_; }
  const FaultPlan& faults() const { return faults_; }

  // ---- Calling the plug-in, as the host does ----
  // Calls the entry point; gives its result (kPluginThrew if it threw).
  A_Err RunEntry(const PluginBinary& plugin, const EntryOptions& options = {});
  // Calls every command hook registered for `command` (or for all
  // commands), in registration order, with the hook's own priority.
  CommandOutcome IssueCommand(AEGP_Command command, const CommandOptions& options = {});
  // Issues the command of the Composition menu item with this text;
  // throws std::invalid_argument when there is none.
  CommandOutcome IssueMenuCommand(const std::string& text, const CommandOptions& options = {});
  // Calls every update-menu hook; gives the first non-zero result, else 0.
  A_Err UpdateMenus(AEGP_WindowType active_window = 0);
  // Calls every idle hook with `maxSleep`; gives the first non-zero result, else 0.
  A_Err idle(A_long& max_sleep);
  // Calls every death hook, as before unloading; gives the first non-zero result, else 0.
  A_Err quit();

  // ---- What happened ----
  // Every call in both directions, in order.
  CallLog& log() { return log_; }
  const CallLog& log() const { return log_; }
  // The hooks the plug-in registered.
  const Hooks& hooks() const { return hooks_; }
  // The information reports shown, oldest first.
  const std::vector<std::string>& reports() const { return reports_; }
  // Every render, with the options it was made with.
  const std::vector<RenderRequest>& renders() const { return renders_; }
  // What the plug-in holds now: handles and suites not given back.
  Outstanding outstanding() const;
  // Misuse seen: unexpected slots, unknown or released handles, null
  // out-parameters, suites not offered or released without being held,
  // exceptions escaping the plug-in.
  const std::vector<std::string>& problems() const { return problems_; }
  // The substitute host's own failures while serving a call (it ran out of
  // memory, ...): not the plug-in's doing.
  const std::vector<std::string>& failures() const { return failures_; }
  // Whether the entry point wrote its global refcon out-parameter.
  bool EntryWroteGlobalRefcon() const { return entryWroteGlobalRefcon_; }

  // ---- Used by the suites that serve the plug-in ----
  // The handles given out and the records behind them.
  IssuedHandles& handles() { return handles_; }
  // The suites the plug-in holds.
  SuiteLedger& suites() { return suites_; }
  // The hook lists registrations add to.
  Hooks& RegisteredHooks() { return hooks_; }
  // Shows an information report.
  void ShowReport(std::string text) { reports_.push_back(std::move(text)); }
  // Remembers a render the plug-in asked for.
  void RecordRender(RenderRequest request) { renders_.push_back(std::move(request)); }
  // Remembers a misuse.
  void NoteProblem(std::string problem) { problems_.push_back(std::move(problem)); }
  // Remembers a failure of the host itself.
  void NoteFailure(std::string failure) { failures_.push_back(std::move(failure)); }

 private:
  // Logs a call into the plug-in, runs it and logs its result; an exception
  // escaping the plug-in becomes a problem and the result kPluginThrew.
  template <typename Call>
  A_Err CallPlugin(const char* op, std::string args, Call&& call);

  Project project_;
  MenuBar menus_;
  AEGP_PluginID pluginId_;
  RenderSettings renderDefaults_;
  FaultPlan faults_;
  CallLog log_;
  IssuedHandles handles_;
  SuiteLedger suites_;
  Hooks hooks_;
  std::vector<std::string> reports_;
  std::vector<RenderRequest> renders_;
  std::vector<std::string> problems_;
  std::vector<std::string> failures_;
  AEGP_GlobalRefcon globalRefcon_ = nullptr;
  bool entryWroteGlobalRefcon_ = false;
};

}  // namespace glimster::substitute_host
