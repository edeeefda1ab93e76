// Host handles given to the plug-in: opaque tokens that stand for records the
// host keeps. A token is only ever compared, never dereferenced by the host,
// so a stale or foreign token is told apart from a live one without harm.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glimster::substitute_host {

enum class HandleState { kLive, kReleased, kUnknown };

template <typename Record>
class HandleTable {
 public:
  // A record found by token, with the state its token is in.
  struct Lookup {
    Record* record;  // null unless the state is Live
    HandleState state;
    std::size_t serial;  // 1 for the first handle issued, 0 for an unknown token
  };

  // Keeps `record` and gives a new token for it. Tokens are never reused, so
  // a released token stays recognisable for the table's life; its record
  // (a frame's pixels, a memory block) is freed when it is released.
  void* issue(Record record) {
    entries_.push_back(std::make_unique<Entry>(std::move(record)));
    Entry& entry = *entries_.back();
    entry.master = &*entry.record;
    return &entry.master;
  }

  // The record behind `token`.
  Lookup find(const void* token) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      Entry& entry = *entries_[i];
      if (&entry.master == token) {
        return Lookup{entry.record ? &*entry.record : nullptr,
                      entry.record ? HandleState::kLive : HandleState::kReleased, i + 1};
      }
    }
    return Lookup{nullptr, HandleState::kUnknown, 0};
  }

  // The token of the first live record satisfying `matches`, or null.
  template <typename Predicate>
  void* TokenWhere(Predicate matches) const {
    for (const auto& entry : entries_) {
      if (entry->record && matches(*entry->record)) {
        return &entry->master;
      }
    }
    return nullptr;
  }

  // Gives the record behind `token` back; returns the state the token was in
  // (only a Live token is released).
  HandleState release(const void* token) {
    const Lookup found = find(token);
    if (found.state == HandleState::kLive) {
      Entry& entry = *entries_[found.serial - 1];
      entry.record.reset();
      entry.master = nullptr;
    }
    return found.state;
  }

  // How many issued handles are not released.
  std::size_t outstanding() const {
    std::size_t live = 0;
    for (const auto& entry : entries_) {
      live += entry->record ? 1 : 0;
    }
    return live;
  }

 private:
  struct Entry {
    explicit Entry(Record r) : record(std::move(r)) {}
    void* master = nullptr;        // the token points here; it points at the record while live
    std::optional<Record> record;  // none once released
  };
  std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace glimster::substitute_host
