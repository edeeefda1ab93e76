// The host's menus and the command identifiers it issues.
#pragma once

#include "host/AE_HostInterface.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glimster::substitute_host {

// A menu item's availability; NeverSet until someone enables or disables it.
enum class CommandState { kNeverSet, kEnabled, kDisabled };

struct MenuItem {
  AEGP_Command command;
  std::string text;
  CommandState state = CommandState::kNeverSet;
};

class MenuBar {
 public:
  // Issues command identifiers from `firstCommand` on.
  explicit MenuBar(AEGP_Command first_command) : nextCommand_(first_command) {}

  // A command identifier no one has had yet.
  AEGP_Command IssueCommand() { return nextCommand_++; }

  // Puts an item into menu `menu`: position -1 at the bottom, 0 at the top,
  // -2 sorted by text, n > 0 after the n-th item (or at the bottom).
  void insert(A_long menu, MenuItem item, A_long position);

  // Issues a command for `text` and adds it at the bottom of `menu`; gives the command.
  AEGP_Command append(A_long menu, std::string text);

  // Sets the state of every item carrying `command`; false when no item carries it.
  bool SetState(AEGP_Command command, CommandState state);

  // The menus holding at least one item, in increasing order.
  std::vector<A_long> FilledMenus() const;

  // The items of `menu` from the top; empty for a menu nobody filled.
  const std::vector<MenuItem>& items(A_long menu) const;

  // The item of `menu` with exactly this text, or null.
  const MenuItem* find(A_long menu, std::string_view text) const;

 private:
  AEGP_Command nextCommand_;
  std::map<A_long, std::vector<MenuItem>> menus_;
};

}  // namespace glimster::substitute_host
