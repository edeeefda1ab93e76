#include "substitute_host/cli/MenuReport.h"

#include "substitute_host/Operations.h"
#include "substitute_host/Text.h"

#include <algorithm>
#include <string>
#include <vector>

namespace glimster::substitute_host::cli {
namespace {

std::string MenuName(A_long menu) {
  return menu == AEGP_Menu_COMPOSITION ? "Composition" : "menu " + std::to_string(menu);
}

std::string StateName(CommandState state) {
  switch (state) {
    case CommandState::kEnabled:
      return "enabled";
    case CommandState::kDisabled:
      return "disabled";
    case CommandState::kNeverSet:
      break;
  }
  return "never enabled or disabled";
}

// '"Take Glimster" enabled', for every item of every menu.
std::string StatesOf(const MenuBar& menus) {
  std::string states;
  for (const A_long menu : menus.FilledMenus()) {
    for (const MenuItem& item : menus.items(menu)) {
      states += (states.empty() ? "" : ", ") + quoted(item.text) + ' ' + StateName(item.state);
    }
  }
  return states;
}

// How many times the plug-in enabled or disabled a command so far.
std::size_t StateChanges(const CallLog& log) {
  return log.count(op::kEnableCommand) + log.count(op::kDisableCommand);
}

// How many characters a UTF-8 text shows: its bytes less the continuation bytes.
std::size_t CharacterCount(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

struct Situation {
  std::string label;
  Item* active;
};

}  // namespace

bool ReportMenus(Host& host, Item& composition, std::ostream& out) {
  const MenuBar& menus = host.menus();
  if (menus.FilledMenus().empty()) {
    out << "menu: the plug-in added no menu item\n";
  }
  for (const A_long menu : menus.FilledMenus()) {
    for (const MenuItem& item : menus.items(menu)) {
      out << "menu: " << MenuName(menu) << " > " << quoted(item.text) << " (command "
          << item.command << ")\n";
    }
  }

  Item& footage = host.project().AddFootage(u"Footage 1", composition.width, composition.height);
  const std::vector<Situation> situations = {
      {"nothing active", nullptr},
      {"footage " + quoted(ToUtf8(footage.name)) + " active", &footage},
      {"composition " + quoted(ToUtf8(composition.name)) + " active", &composition},
  };
  std::size_t label_width = 0;
  for (const Situation& situation : situations) {
    label_width = std::max(label_width, CharacterCount(situation.label));
  }

  bool all_succeeded = true;
  out << "state after UpdateMenuHook:\n";
  for (const Situation& situation : situations) {
    host.project().SetActive(situation.active);
    const std::size_t changes_before = StateChanges(host.log());
    const A_Err result = host.UpdateMenus();
    out << "  " << situation.label << ':'
        << std::string(label_width - CharacterCount(situation.label) + 2, ' ') << StatesOf(menus);
    if (StateChanges(host.log()) == changes_before) {
      out << " (not changed by the hook)";
    }
    if (result != A_Err_NONE) {
      out << " (UpdateMenuHook returned " << result << ')';
      all_succeeded = false;
    }
    out << '\n';
  }
  return all_succeeded;
}

}  // namespace glimster::substitute_host::cli
