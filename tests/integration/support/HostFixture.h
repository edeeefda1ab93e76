// A fresh substitute host per test, driving the real plug-in binary.
#pragma once

#include "substitute_host/CallLog.h"
#include "substitute_host/Host.h"
#include "substitute_host/Operations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace glimster::substitute_host {
// Prints a menu item's state by name in test output.
void PrintTo(CommandState state, std::ostream* out);
}  // namespace glimster::substitute_host

namespace glimster::integration {

namespace op = substitute_host::op;
using substitute_host::CallFault;
using substitute_host::CommandState;
using substitute_host::Host;
using substitute_host::Outputs;

// The suites the plug-in is expected to use, as the call log writes them.
inline const std::string kCommandSuite1 = substitute_host::SuiteArgs("AEGP Command Suite", 1);
inline const std::string kRegisterSuite6 = substitute_host::SuiteArgs("AEGP Register Suite", 6);
inline const std::string kUtilitySuite7 = substitute_host::SuiteArgs("AEGP Utility Suite", 7);
inline const std::string kItemSuite10 = substitute_host::SuiteArgs("AEGP Item Suite", 10);

inline constexpr char kCommandText[] = "Take Glimster";
inline constexpr char kRegistrationFailedReport[] = "Error enabling Glimster.";

class HostFixture : public ::testing::Test {
 protected:
  // Every test ends without misuse seen by the host.
  void TearDown() override;

  // Runs the plug-in's entry point in this test's host.
  A_Err RunEntry(const substitute_host::EntryOptions& options = {});
  // Runs the entry point, which must succeed, then forgets the calls it made.
  void StartPlugin();
  // Adds a small composition to the project and makes it the active item.
  substitute_host::Item& ActivateComposition();
  // The command of the plug-in's menu item; fails the test when there is none.
  AEGP_Command CaptureCommand() const;
  // The state of the plug-in's menu item.
  CommandState CaptureCommandState() const;
  // The suites acquired and released so far, as the log writes them.
  std::vector<std::string> acquired() const { return host_.log().ArgsOf(op::kAcquireSuite); }
  std::vector<std::string> released() const { return host_.log().ArgsOf(op::kReleaseSuite); }
  // The suite operations called so far (acquires, releases and calls into the plug-in left out).
  std::vector<std::string> SuiteOperations() const;

  Host host_;
};

}  // namespace glimster::integration
