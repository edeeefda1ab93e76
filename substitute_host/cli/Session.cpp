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

void PlanFaults(const Options& options, FaultPlan& plan) {
  for (const CallFailure& failure : options.failures) {
    const CallFault fault{failure.code, failure.written ? Outputs::kWritten : Outputs::kCleared};
    if (failure.nth) {
      plan.FailCall(failure.op, fault, *failure.nth);
    } else {
      plan.FailEveryCall(failure.op, fault);
    }
  }
  for (const SuiteRefusalOption& refusal : options.refusals) {
    plan.RefuseSuite(refusal.suite, refusal.version, SuiteRefusal{refusal.code, Outputs::kCleared});
  }
}

// Captures once, or --repeat times until one fails, then prints the peak
// memory; true when every capture succeeded. Each frame goes back at its
// check-in and, unless traced, the calls are forgotten after each capture,
// so that memory stays flat however many captures run.
bool CaptureRepeatedly(Host& host, const Item& composition, const std::string& frame_description,
                       const std::filesystem::path& desktop, const Options& options,
                       std::ostream& out, std::ostream& err) {
  bool succeeded = true;
  const int captures = options.repeat.value_or(1);
  for (int capture = 1; capture <= captures && succeeded; ++capture) {
    succeeded = CaptureComposition(host, composition, frame_description, desktop, out, err);
    if (!succeeded && options.repeat) {
      err << kProgram << "capture " << capture << " of " << captures << " failed\n";
    }
    if (!options.trace && capture < captures) {
      host.log().clear();
    }
  }
  if (options.repeat) {
    const std::optional<std::uint64_t> peak = platform::PeakResidentBytes();
    out << "peak resident memory: " << (peak ? std::to_string(*peak / 1024) + " KiB" : "unknown")
        << '\n';
  }
  return succeeded;
}

// The plug-in's file; for macos_runner, the Mac code it loaded, as it says.
std::string PluginShown(const PluginBinary& plugin) {
  const std::optional<LoadedMacCode> mac = plugin.loaded_mac_code();
  if (!mac) {
    return plugin.file().u8string();
  }
  return mac->executable.u8string() + " (macOS " + mac->architecture +
         " slice, through macos_runner " + plugin.file().u8string() + ")";
}

// Calls the entry, reports the menus and captures; true when all went well.
bool StartAndCapture(Host& host, const PluginBinary& plugin, const Options& options,
                     Composition chosen, std::ostream& out, std::ostream& err) {
  Item& composition = host.project().AddComposition(std::move(chosen.name), std::move(chosen.frame),
                                                    chosen.current_time);
  out << "plug-in: " << PluginShown(plugin) << '\n';
  const A_Err entry = host.RunEntry(plugin);
  out << "entry: EntryPointFunc returned " << entry << '\n';
  std::size_t reports_shown = 0;
  PrintReports(host, reports_shown, out);
  if (entry != A_Err_NONE) {
    err << kProgram << "the plug-in did not start: EntryPointFunc returned " << entry << '\n';
    return false;
  }
  bool succeeded = ReportMenus(host, composition, out);
  PrintReports(host, reports_shown, out);
  if (!succeeded) {
    err << kProgram << "UpdateMenuHook returned an error\n";
  }
  if (options.capture) {
    // Looked up only now: the user's desktop folder is made when missing.
    const std::filesystem::path desktop =
        options.desktop ? *options.desktop : platform::DesktopFolder(plugin);
    succeeded = CaptureRepeatedly(host, composition, chosen.frame_description, desktop, options,
                                  out, err) &&
                succeeded;
    reports_shown = host.reports().size();  // each capture printed its own
  }
  const A_Err quit = host.quit();
  PrintReports(host, reports_shown, out);
  if (quit != A_Err_NONE) {
    err << kProgram << "DeathHook returned " << quit << '\n';
    succeeded = false;
  }
  return succeeded;
}

// Prints the host's own failures, the misuse seen and the faults that never
// fired; true when the host did not fail and there was no misuse.
bool ReportAftermath(const Host& host, std::ostream& err) {
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

ExitStatus RunSession(const Options& options, const std::filesystem::path& plugin_file,
                      std::ostream& out, std::ostream& err) {
  Composition chosen = ChosenComposition(options);
  if (options.desktop && !std::filesystem::is_directory(*options.desktop)) {
    throw UsageError("--desktop: no folder " + options.desktop->u8string());
  }
  const PluginBinary plugin = LoadPlugin(plugin_file);

  Host host;
  PlanFaults(options, host.faults());
  std::optional<platform::DesktopRedirect> redirect;
  if (options.desktop) {
    redirect.emplace(plugin, *options.desktop);
    if (redirect->ThroughLink()) {
      out << "desktop: " << options.desktop->u8string() << ", given to the plug-in as "
          << redirect->given().u8string() << " (a link to it; name the folder Desktop to give it "
          << "the folder itself)\n";
    }
  }
  const bool succeeded = StartAndCapture(host, plugin, options, std::move(chosen), out, err);
  const bool well_behaved = ReportAftermath(host, err);
  if (options.trace) {
    PrintTrace(host.log(), out);
  }
  return succeeded && well_behaved ? ExitStatus::kSucceeded : ExitStatus::kPluginFailed;
}

}  // namespace glimster::substitute_host::cli
