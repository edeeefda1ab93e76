#include "substitute_host/cli/MenuReport.h"

#include "substitute_host/Operations.h"
#include "substitute_host/Text.h"

#include <algorithm>
#include <string>
#include <vector>

namespace glimster::substitute_host::cli {
namespace {

std::string menuName(A_long menu) {
  return menu == AEGP_Menu_COMPOSITION ? "Composition" : "menu " + std::to_string(menu);
}

std::string stateName(CommandState state) {
  switch (state) {
    case CommandState::Enabled:
      return "enabled";
    case CommandState::Disabled:
      return "disabled";
    case CommandState::NeverSet:
      break;
  }
  return "never enabled or disabled";
}

// '"Take Glimster" enabled', for every item of every menu.
std::string statesOf(const MenuBar& menus) {
  std::string states;
  for (const A_long menu : menus.filledMenus()) {
    for (const MenuItem& item : menus.items(menu)) {
      states += (states.empty() ? "" : ", ") + quoted(item.text) + ' ' + stateName(item.state);
    }
  }
  return states;
}

// How many times the plug-in enabled or disabled a command so far.
std::size_t stateChanges(const CallLog& log) {
  return log.count(op::EnableCommand) + log.count(op::DisableCommand);
}

// How many characters a UTF-8 text shows: its bytes less the continuation bytes.
std::size_t characterCount(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

struct Situation {
  std::string label;
  Item* active;
};

}  // namespace

bool reportMenus(Host& host, Item& composition, std::ostream& out) {
  const MenuBar& menus = host.menus();
  if (menus.filledMenus().empty()) {
    out << "menu: the plug-in added no menu item\n";
  }
  for (const A_long menu : menus.filledMenus()) {
    for (const MenuItem& item : menus.items(menu)) {
      out << "menu: " << menuName(menu) << " > " << quoted(item.text) << " (command "
          << item.command << ")\n";
    }
  }

  Item& footage = host.project().addFootage(u"Footage 1", composition.width, composition.height);
  const std::vector<Situation> situations = {
      {"nothing active", nullptr},
      {"footage " + quoted(toUtf8(footage.name)) + " active", &footage},
      {"composition " + quoted(toUtf8(composition.name)) + " active", &composition},
  };
  std::size_t labelWidth = 0;
  for (const Situation& situation : situations) {
    labelWidth = std::max(labelWidth, characterCount(situation.label));
  }

  bool allSucceeded = true;
  out << "state after UpdateMenuHook:\n";
  for (const Situation& situation : situations) {
    host.project().setActive(situation.active);
    const std::size_t changesBefore = stateChanges(host.log());
    const A_Err result = host.updateMenus();
    out << "  " << situation.label << ':'
        << std::string(labelWidth - characterCount(situation.label) + 2, ' ') << statesOf(menus);
    if (stateChanges(host.log()) == changesBefore) {
      out << " (not changed by the hook)";
    }
    if (result != A_Err_NONE) {
      out << " (UpdateMenuHook returned " << result << ')';
      allSucceeded = false;
    }
    out << '\n';
  }
  return allSucceeded;
}

}  // namespace glimster::substitute_host::cli
