#include "substitute_host/cli/Session.h"

#include "substitute_host/Host.h"
#include "substitute_host/cli/CaptureRun.h"
#include "substitute_host/cli/Composition.h"
#include "substitute_host/cli/MenuReport.h"
#include "substitute_host/cli/PluginLoading.h"
#include "substitute_host/cli/TracePrinter.h"
#include "substitute_host/platform/DesktopFolder.h"
#include "substitute_host/platform/DesktopRedirect.h"
#include "substitute_host/platform/PeakMemory.h"

#include <cstdint>
#include <optional>
#include <string>

namespace glimster::substitute_host::cli {
namespace {

constexpr char kProgram[] = "glimster-host: ";

void planFaults(const Options& options, FaultPlan& plan) {
  for (const CallFailure& failure : options.failures) {
    const CallFault fault{failure.code, failure.written ? Outputs::Written : Outputs::Cleared};
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

// Captures once, or --repeat times until one fails, then prints the peak
// memory; true when every capture succeeded. Each frame goes back at its
// check-in and, unless traced, the calls are forgotten after each capture,
// so that memory stays flat however many captures run.
bool captureRepeatedly(Host& host, const Item& composition, const std::string& frameDescription,
                       const std::filesystem::path& desktop, const Options& options,
                       std::ostream& out, std::ostream& err) {
  bool succeeded = true;
  const int captures = options.repeat.value_or(1);
  for (int capture = 1; capture <= captures && succeeded; ++capture) {
    succeeded = captureComposition(host, composition, frameDescription, desktop, out, err);
    if (!succeeded && options.repeat) {
      err << kProgram << "capture " << capture << " of " << captures << " failed\n";
    }
    if (!options.trace && capture < captures) {
      host.log().clear();
    }
  }
  if (options.repeat) {
    const std::optional<std::uint64_t> peak = platform::peakResidentBytes();
    out << "peak resident memory: " << (peak ? std::to_string(*peak / 1024) + " KiB" : "unknown")
        << '\n';
  }
  return succeeded;
}

// Calls the entry, reports the menus and captures; true when all went well.
bool startAndCapture(Host& host, const PluginBinary& plugin, const std::string& pluginShown,
                     const Options& options, Composition chosen, std::ostream& out,
                     std::ostream& err) {
  Item& composition = host.project().addComposition(std::move(chosen.name), std::move(chosen.frame),
                                                    chosen.currentTime);
  out << "plug-in: " << pluginShown << '\n';
  const A_Err entry = host.runEntry(plugin);
  out << "entry: EntryPointFunc returned " << entry << '\n';
  std::size_t reportsShown = 0;
  printReports(host, reportsShown, out);
  if (entry != A_Err_NONE) {
    err << kProgram << "the plug-in did not start: EntryPointFunc returned " << entry << '\n';
    return false;
  }
  bool succeeded = reportMenus(host, composition, out);
  printReports(host, reportsShown, out);
  if (!succeeded) {
    err << kProgram << "UpdateMenuHook returned an error\n";
  }
  if (options.capture) {
    // Looked up only now: the user's desktop folder is made when missing.
    const std::filesystem::path desktop =
        options.desktop ? *options.desktop : platform::desktopFolder(plugin);
    succeeded =
        captureRepeatedly(host, composition, chosen.frameDescription, desktop, options, out, err) &&
        succeeded;
    reportsShown = host.reports().size();  // each capture printed its own
  }
  const A_Err quit = host.quit();
  printReports(host, reportsShown, out);
  if (quit != A_Err_NONE) {
    err << kProgram << "DeathHook returned " << quit << '\n';
    succeeded = false;
  }
  return succeeded;
}

// Prints the host's own failures, the misuse seen and the faults that never
// fired; true when the host did not fail and there was no misuse.
bool reportAftermath(const Host& host, std::ostream& err) {
  for (const std::string& failure : host.failures()) {
    err << kProgram << "the substitute host itself failed, not the plug-in: " << failure << '\n';
  }
  for (const std::string& problem : host.problems()) {
    err << kProgram << "the plug-in misused the host: " << problem << '\n';
  }
  const Outstanding left = host.outstanding();
  if (!left.none()) {
    err << kProgram << "handles not given back: " << left.describe() << '\n';
  }
  for (const std::string& fault : host.faults().unfired()) {
    err << kProgram << "warning: --fail never fired: " << fault << '\n';
  }
  return host.failures().empty() && host.problems().empty() && left.none();
}

}  // namespace

ExitStatus runSession(const Options& options, const PluginChoice& chosenPlugin, std::ostream& out,
                      std::ostream& err) {
  Composition chosen = chosenComposition(options);
  if (options.desktop && !std::filesystem::is_directory(*options.desktop)) {
    throw UsageError("--desktop: no folder " + options.desktop->u8string());
  }
  const PluginBinary plugin = loadPlugin(chosenPlugin.file);

  Host host;
  planFaults(options, host.faults());
  std::optional<platform::DesktopRedirect> redirect;
  if (options.desktop) {
    redirect.emplace(plugin, *options.desktop);
    if (redirect->throughLink()) {
      out << "desktop: " << options.desktop->u8string() << ", given to the plug-in as "
          << redirect->given().u8string() << " (a link to it; name the folder Desktop to give it "
          << "the folder itself)\n";
    }
  }
  const bool succeeded =
      startAndCapture(host, plugin, chosenPlugin.shown, options, std::move(chosen), out, err);
  const bool wellBehaved = reportAftermath(host, err);
  if (options.trace) {
    printTrace(host.log(), out);
  }
  return succeeded && wellBehaved ? kSucceeded : kPluginFailed;
}

}  // namespace glimster::substitute_host::cli
