#include "substitute_host/Project.h"

#include <algorithm>
#include <stdexcept>

namespace glimster::substitute_host {

Item& Project::add(Item item) {
  items_.push_back(std::make_unique<Item>(std::move(item)));
  return *items_.back();
}

Item& Project::AddComposition(std::u16string name, Frame frame, A_Time current_time) {
  const A_long width = frame.width();
  const A_long height = frame.height();
  return add(
      Item{ItemKind::kComposition, std::move(name), width, height, current_time, std::move(frame)});
}

Item& Project::AddFootage(std::u16string name, A_long width, A_long height) {
  return add(Item{ItemKind::kFootage, std::move(name), width, height, A_Time{0, 1}, std::nullopt});
}

Item& Project::AddFolder(std::u16string name) {
  return add(Item{ItemKind::kFolder, std::move(name), 0, 0, A_Time{0, 1}, std::nullopt});
}

void Project::SetActive(Item* item) {
  const bool ours = item == nullptr || std::any_of(items_.begin(), items_.end(),
                                                   [item](const std::unique_ptr<Item>& own) {
                                                     return own.get() == item;
                                                   });
  if (!ours) {
    throw std::invalid_argument("the active item must belong to the project");
  }
  active_ = item;
}

}  // namespace glimster::substitute_host
