#include "Fixups.h"

#include <cstring>
#include <string>

#include "Failure.h"
#include "Imports.h"
#include "Leb128.h"

namespace macos_runner {
namespace {

// <mach-o/loader.h>: the rebase and bind opcodes of LC_DYLD_INFO(_ONLY).
enum : std::uint8_t {
  kOpcodeMask = 0xf0,
  kImmediateMask = 0x0f,
  kRebaseDone = 0x00,
  kRebaseSetType = 0x10,
  kRebaseSetSegmentAndOffset = 0x20,
  kRebaseAddAddrUleb = 0x30,
  kRebaseAddAddrImmScaled = 0x40,
  kRebaseImmTimes = 0x50,
  kRebaseUlebTimes = 0x60,
  kRebaseAddAddrUlebAfter = 0x70,
  kRebaseUlebTimesSkipping = 0x80,
  kBindDone = 0x00,
  kBindSetDylibOrdinalImm = 0x10,
  kBindSetDylibOrdinalUleb = 0x20,
  kBindSetDylibSpecialImm = 0x30,
  kBindSetSymbol = 0x40,
  kBindSetType = 0x50,
  kBindSetAddend = 0x60,
  kBindSetSegmentAndOffset = 0x70,
  kBindAddAddrUleb = 0x80,
  kBindDo = 0x90,
  kBindDoAddAddrUleb = 0xa0,
  kBindDoAddAddrImmScaled = 0xb0,
  kBindDoUlebTimesSkipping = 0xc0,
};
constexpr std::uint8_t kPointerType = 1;       // REBASE_TYPE_POINTER, BIND_TYPE_POINTER
constexpr std::uint8_t kWeakImportFlag = 0x1;  // BIND_SYMBOL_FLAGS_WEAK_IMPORT
constexpr std::int64_t kFlatLookup = -2;       // BIND_SPECIAL_DYLIB_FLAT_LOOKUP

// The place an opcode stream points at: a segment and an offset in it.
class Cursor {
 public:
  explicit Cursor(const MachOImage& image) : image_(image) {}
  void Set(std::uint64_t segment, std::uint64_t offset) {
    if (segment >= image_.segments.size())
      FailLoad("a fixup names segment %llu", (unsigned long long)segment);
    segment_ = &image_.segments[segment];
    offset_ = offset;
  }
  void Advance(std::uint64_t bytes) { offset_ += bytes; }
  // The pointer-sized slot at the cursor.
  std::uint64_t* Slot() const {
    if (segment_ == nullptr || offset_ + 8 > segment_->size || (segment_->protection & 2) == 0)
      FailLoad("a fixup lies outside the writable segments");
    return reinterpret_cast<std::uint64_t*>(image_.At(segment_->address + offset_));
  }

 private:
  const MachOImage& image_;
  const Segment* segment_ = nullptr;
  std::uint64_t offset_ = 0;
};

void Rebase(const MachOImage& image) {
  const std::uint64_t slide = reinterpret_cast<std::uint64_t>(image.base) - image.preferred_base;
  Cursor cursor(image);
  const std::uint8_t* p = image.rebase.bytes;
  const std::uint8_t* const end = p + image.rebase.size;
  const auto rebase = [&](std::uint64_t times, std::uint64_t skip) {
    for (std::uint64_t i = 0; i < times; ++i) {
      *cursor.Slot() += slide;
      cursor.Advance(8 + skip);
    }
  };
  while (p < end) {
    const std::uint8_t opcode = *p & kOpcodeMask, immediate = *p & kImmediateMask;
    ++p;
    switch (opcode) {
      case kRebaseDone:
        return;
      case kRebaseSetType:
        if (immediate != kPointerType) FailLoad("rebase type %u is not a pointer", immediate);
        break;
      case kRebaseSetSegmentAndOffset:
        cursor.Set(immediate, ReadUleb(p, end));
        break;
      case kRebaseAddAddrUleb:
        cursor.Advance(ReadUleb(p, end));
        break;
      case kRebaseAddAddrImmScaled:
        cursor.Advance(immediate * 8);
        break;
      case kRebaseImmTimes:
        rebase(immediate, 0);
        break;
      case kRebaseUlebTimes:
        rebase(ReadUleb(p, end), 0);
        break;
      case kRebaseAddAddrUlebAfter:
        rebase(1, ReadUleb(p, end));
        break;
      case kRebaseUlebTimesSkipping: {
        const std::uint64_t times = ReadUleb(p, end);
        rebase(times, ReadUleb(p, end));
        break;
      }
      default:
        FailLoad("rebase opcode 0x%02x is unknown", opcode);
    }
  }
}

// Runs one bind opcode stream; a lazy stream is many entries, each ended by
// a DONE, all bound now rather than at the first call.
void Bind(const MachOImage& image, const LinkEditData& stream, bool lazy) {
  Cursor cursor(image);
  std::int64_t ordinal = 0, addend = 0;
  const char* symbol = nullptr;
  bool weak_import = false;
  const std::uint8_t* p = stream.bytes;
  const std::uint8_t* const end = p + stream.size;
  const auto bind = [&](std::uint64_t times, std::uint64_t skip) {
    if (symbol == nullptr) FailLoad("a bind names no symbol");
    const std::string library = image.LibraryName(ordinal);
    const StandIn found = FindImport(symbol);
    if (found.address == nullptr && !weak_import)
      FailLoad("import %s from %s is not implemented", symbol, library.c_str());
    // Two-level namespace: dyld looks for the symbol in the library the
    // ordinal names, and only a flat lookup in every image.
    if (found.address != nullptr && ordinal != kFlatLookup && library != found.library)
      FailLoad("import %s from %s: %s does not define it, %s does", symbol, library.c_str(),
               library.c_str(), found.library);
    // A weak import nothing defines is bound to 0, as dyld binds it.
    const std::uint64_t value =
        found.address == nullptr ? 0 : reinterpret_cast<std::uint64_t>(found.address) + addend;
    for (std::uint64_t i = 0; i < times; ++i) {
      *cursor.Slot() = value;
      cursor.Advance(8 + skip);
    }
  };
  while (p < end) {
    const std::uint8_t opcode = *p & kOpcodeMask, immediate = *p & kImmediateMask;
    ++p;
    switch (opcode) {
      case kBindDone:
        if (!lazy) return;
        break;
      case kBindSetDylibOrdinalImm:
        ordinal = immediate;
        break;
      case kBindSetDylibOrdinalUleb:
        ordinal = static_cast<std::int64_t>(ReadUleb(p, end));
        break;
      case kBindSetDylibSpecialImm:
        ordinal = immediate == 0 ? 0 : static_cast<std::int8_t>(0xf0 | immediate);
        break;
      case kBindSetSymbol:
        symbol = reinterpret_cast<const char*>(p);
        weak_import = (immediate & kWeakImportFlag) != 0;
        p += strnlen(symbol, end - p) + 1;
        break;
      case kBindSetType:
        if (immediate != kPointerType) FailLoad("bind type %u is not a pointer", immediate);
        break;
      case kBindSetAddend:
        addend = ReadSleb(p, end);
        break;
      case kBindSetSegmentAndOffset:
        cursor.Set(immediate, ReadUleb(p, end));
        break;
      case kBindAddAddrUleb:
        cursor.Advance(ReadUleb(p, end));
        break;
      case kBindDo:
        bind(1, 0);
        break;
      case kBindDoAddAddrUleb:
        bind(1, ReadUleb(p, end));
        break;
      case kBindDoAddAddrImmScaled:
        bind(1, immediate * 8);
        break;
      case kBindDoUlebTimesSkipping: {
        const std::uint64_t times = ReadUleb(p, end);
        bind(times, ReadUleb(p, end));
        break;
      }
      default:
        FailLoad("bind opcode 0x%02x is unknown", opcode);
    }
  }
}

}  // namespace

void ApplyFixups(const MachOImage& image) {
  // The weak-bind stream merges the bundle's weak definitions with other
  // images' of the same name, which dyld does and the runner does not.
  if (image.weak_bind.size != 0)
    FailLoad("the slice has a weak-bind stream, which the runner does not apply");
  Rebase(image);
  Bind(image, image.bind, false);
  Bind(image, image.lazy_bind, true);
}

}  // namespace macos_runner
