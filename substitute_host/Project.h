// The in-memory project the substitute host offers: items and the active one.
#pragma once

#include "host/AE_HostInterface.h"
#include "substitute_host/Frame.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glimster::substitute_host {

enum class ItemKind : AEGP_ItemType {
  kFolder = AEGP_ItemType_FOLDER,
  kComposition = AEGP_ItemType_COMP,
  kFootage = AEGP_ItemType_FOOTAGE,
};

// A project item. Compositions carry the frame the host renders for them.
struct Item {
  ItemKind kind;
  std::u16string name;
  A_long width;
  A_long height;
  A_Time current_time;
  std::optional<Frame> frame;  // compositions only
};

class Project {
 public:
  // Adds a composition as large as its frame, showing `currentTime`.
  Item& AddComposition(std::u16string name, Frame frame, A_Time current_time);
  // Adds a footage item of the given size.
  Item& AddFootage(std::u16string name, A_long width, A_long height);
  // Adds a folder.
  Item& AddFolder(std::u16string name);

  // Makes `item` (one of this project's, or null for none) the active item;
  // throws std::invalid_argument for an item of another project.
  void SetActive(Item* item);
  // The active item, or null when nothing is active.
  Item* active() const { return active_; }

 private:
  Item& add(Item item);

  std::vector<std::unique_ptr<Item>> items_;
  Item* active_ = nullptr;
};

}  // namespace glimster::substitute_host
