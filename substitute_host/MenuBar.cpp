#include "substitute_host/MenuBar.h"

#include <algorithm>

namespace glimster::substitute_host {

void MenuBar::insert(A_long menu, MenuItem item, A_long position) {
  std::vector<MenuItem>& items = menus_[menu];
  auto where = items.end();
  if (position == AEGP_MENU_INSERT_AT_TOP) {
    where = items.begin();
  } else if (position == AEGP_MENU_INSERT_SORTED) {
    where = std::find_if(items.begin(), items.end(),
                         [&item](const MenuItem& other) { return item.text < other.text; });
  } else if (position > 0 && static_cast<std::size_t>(position) < items.size()) {
    where = items.begin() + position;
  }
  items.insert(where, std::move(item));
}

AEGP_Command MenuBar::append(A_long menu, std::string text) {
  const AEGP_Command command = IssueCommand();
  insert(menu, MenuItem{command, std::move(text)}, AEGP_MENU_INSERT_AT_BOTTOM);
  return command;
}

bool MenuBar::SetState(AEGP_Command command, CommandState state) {
  bool found = false;
  for (auto& [menu, items] : menus_) {
    for (MenuItem& item : items) {
      if (item.command == command) {
        item.state = state;
        found = true;
      }
    }
  }
  return found;
}

std::vector<A_long> MenuBar::FilledMenus() const {
  std::vector<A_long> filled;
  for (const auto& [menu, items] : menus_) {
    if (!items.empty()) {
      filled.push_back(menu);
    }
  }
  return filled;
}

const std::vector<MenuItem>& MenuBar::items(A_long menu) const {
  static const std::vector<MenuItem> kEmptyMenu;
  const auto found = menus_.find(menu);
  return found == menus_.end() ? kEmptyMenu : found->second;
}

const MenuItem* MenuBar::find(A_long menu, std::string_view text) const {
  const std::vector<MenuItem>& menu_items = items(menu);
  const auto found = std::find_if(menu_items.begin(), menu_items.end(),
                                  [text](const MenuItem& item) { return item.text == text; });
  return found == menu_items.end() ? nullptr : &*found;
}

}  // namespace glimster::substitute_host
