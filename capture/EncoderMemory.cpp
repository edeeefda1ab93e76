#include "capture/EncoderMemory.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace glimster {
namespace {

using Link = EncoderMemoryScope::Link;

// Each block starts with its link, padded so that what follows keeps
// malloc's alignment.
constexpr std::size_t kAlignment = alignof(std::max_align_t);
constexpr std::size_t kHeader = (sizeof(Link) + kAlignment - 1) / kAlignment * kAlignment;

// The head of the list of the scope living on this thread; null outside one.
thread_local Link* t_held = nullptr;

std::size_t WithHeader(std::size_t size) {
  if (size > SIZE_MAX - kHeader) throw std::bad_alloc();
  return size + kHeader;
}

Link* LinkOf(void* block) { return reinterpret_cast<Link*>(static_cast<char*>(block) - kHeader); }
void* BlockOf(Link* link) { return reinterpret_cast<char*>(link) + kHeader; }

// Puts `link` between `previous` and `next`.
void Join(Link* link, Link* previous, Link* next) {
  link->previous = previous;
  link->next = next;
  previous->next = link;
  next->previous = link;
}

// Takes `link` out of its list; a block outside any list links to itself.
void Unjoin(Link* link) {
  link->previous->next = link->next;
  link->next->previous = link->previous;
  link->previous = link;
  link->next = link;
}

}  // namespace
}  // namespace glimster

using glimster::BlockOf;
using glimster::Join;
using glimster::Link;
using glimster::LinkOf;
using glimster::t_held;
using glimster::Unjoin;
using glimster::WithHeader;

void* lodepng_malloc(std::size_t size) {
  auto* link = static_cast<Link*>(std::malloc(WithHeader(size)));
  if (link == nullptr) throw std::bad_alloc();
  if (t_held != nullptr) {
    Join(link, t_held, t_held->next);
  } else {
    link->previous = link->next = link;
  }
  return BlockOf(link);
}

void* lodepng_realloc(void* block, std::size_t new_size) {
  if (block == nullptr) return lodepng_malloc(new_size);
  const std::size_t total = WithHeader(new_size);
  Link* old_link = LinkOf(block);
  // The block keeps its place in the list, wherever it ends up in memory.
  Link* const previous = old_link->previous;
  Link* const next = old_link->next;
  const bool held = previous != old_link;
  auto* new_link = static_cast<Link*>(std::realloc(old_link, total));
  Link* link = new_link != nullptr ? new_link : old_link;
  if (held) {
    Join(link, previous, next);
  } else {
    link->previous = link->next = link;
  }
  if (new_link == nullptr) throw std::bad_alloc();
  return BlockOf(link);
}

void lodepng_free(void* block) {
  if (block == nullptr) return;
  Link* link = LinkOf(block);
  Unjoin(link);
  std::free(link);
}

namespace glimster {

EncoderMemoryScope::EncoderMemoryScope() : held_{&held_, &held_} { t_held = &held_; }

EncoderMemoryScope::~EncoderMemoryScope() {
  while (held_.next != &held_) {
    Link* link = held_.next;
    Unjoin(link);
    std::free(link);
  }
  t_held = nullptr;
}

void EncoderMemoryScope::PrepareThread() {
  Link* volatile held = t_held;  // volatile: the read is kept
  static_cast<void>(held);
}

void EncoderMemoryScope::Keep(void* block) {
  if (block != nullptr) Unjoin(LinkOf(block));
}

}  // namespace glimster
