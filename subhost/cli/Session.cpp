#include "subhost/cli/Session.h"

#include "subhost/Host.h"
#include "subhost/cli/CaptureRun.h"
#include "subhost/cli/Composition.h"
#include "subhost/cli/MenuReport.h"
#include "subhost/cli/PluginLoading.h"
#include "subhost/cli/TracePrinter.h"
#include "subhost/platform/DesktopFolder.h"
#include "subhost/platform/DesktopRedirect.h"

#include <optional>
#include <string>

namespace glimster::subhost::cli {
namespace {

constexpr char kProgram[] = "glimster-host: ";

void planFaults(const Options& options, FaultPlan& plan) {
  for (const CallFailure& failure : options.failures) {
    const CallFault fault{failure.code, Outputs::Cleared};
    if (failure.nth) {
      plan.failCall(failure.op, fault, *failure.nth);
    } else {
      plan.failEveryCall(failure.op, fault);
    }
  }
  for (const SuiteRefusalOption& refusal : options.refusals) {
    plan.refuseSuite(refusal.suite, refusal.version, SuiteRefusal{refusal.code, Outputs::Cleared});
  }
}

// Calls the entry, reports the menus and captures; true when all went well.
bool startAndCapture(Host& host, const PluginBinary& plugin, const Options& options, Composition chosen,
                     std::ostream& out, std::ostream& err) {
  Item& composition =
      host.project().addComposition(std::move(chosen.name), std::move(chosen.frame), chosen.currentTime);
  out << "plug-in: " << plugin.file().u8string() << '\n';
  const A_Err entry = host.runEntry(plugin);
  out << "entry: EntryPointFunc returned " << entry << '\n';
  if (entry != A_Err_NONE) {
    err << kProgram << "the plug-in did not start: EntryPointFunc returned " << entry << '\n';
    return false;
  }
  bool succeeded = reportMenus(host, composition, out);
  if (!succeeded) {
    err << kProgram << "UpdateMenuHook returned an error\n";
  }
  if (options.capture) {
    // Looked up only now: the user's desktop folder is made when missing.
    const std::filesystem::path desktop = options.desktop ? *options.desktop : platform::desktopFolder();
    succeeded = captureComposition(host, composition, chosen.frameDescription, desktop, out, err) && succeeded;
  }
  const A_Err quit = host.quit();
  if (quit != A_Err_NONE) {
    err << kProgram << "DeathHook returned " << quit << '\n';
    succeeded = false;
  }
  return succeeded;
}

// Prints the reports shown and the misuse seen; true when there was no misuse.
bool reportAftermath(const Host& host, std::ostream& out, std::ostream& err) {
  for (const std::string& report : host.reports()) {
    out << "report: " << report << '\n';
  }
  for (const std::string& problem : host.problems()) {
    err << kProgram << "the plug-in misused the host: " << problem << '\n';
  }
  const Outstanding left = host.outstanding();
  if (!left.none()) {
    err << kProgram << "handles not given back: " << left.describe() << '\n';
  }
  return host.problems().empty() && left.none();
}

} // namespace

ExitStatus runSession(const Options& options, const std::filesystem::path& defaultPlugin,
                      std::ostream& out, std::ostream& err) {
  Composition chosen = chosenComposition(options);
  if (options.desktop && !std::filesystem::is_directory(*options.desktop)) {
    throw UsageError("--desktop: no folder " + options.desktop->u8string());
  }
  const PluginBinary plugin = loadPlugin(options.plugin.value_or(defaultPlugin));

  Host host;
  planFaults(options, host.faults());
  std::optional<platform::DesktopRedirect> redirect;
  if (options.desktop) {
    redirect.emplace(plugin, *options.desktop);
  }
  const bool succeeded = startAndCapture(host, plugin, options, std::move(chosen), out, err);
  const bool wellBehaved = reportAftermath(host, out, err);
  if (options.trace) {
    printTrace(host.log(), out);
  }
  return succeeded && wellBehaved ? kSucceeded : kPluginFailed;
}

} // namespace glimster::subhost::cli
