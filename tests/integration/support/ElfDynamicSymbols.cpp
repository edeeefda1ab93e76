#include "support/ElfDynamicSymbols.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace glimster::integration {
namespace {

// Field offsets of the 64-bit ELF layout.
constexpr std::size_t kSectionTableOffset = 0x28;  // e_shoff
constexpr std::size_t kSectionEntrySize = 0x3A;    // e_shentsize
constexpr std::size_t kSectionCount = 0x3C;        // e_shnum
constexpr std::size_t kSectionType = 0x04;         // sh_type
constexpr std::size_t kSectionOffset = 0x18;       // sh_offset
constexpr std::size_t kSectionSize = 0x20;         // sh_size
constexpr std::size_t kSectionLink = 0x28;         // sh_link
constexpr std::size_t kSymbolSize = 24;
constexpr std::uint32_t kDynamicSymbolTable = 11;  // SHT_DYNSYM
constexpr unsigned kLocalBinding = 0;              // STB_LOCAL
constexpr std::uint16_t kUndefinedSection = 0;     // SHN_UNDEF

class ElfImage {
 public:
  explicit ElfImage(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (bytes_.size() < 0x40 ||
        bytes_.compare(0, 4,
                       "\x7f"
                       "ELF") != 0 ||
        bytes_[4] != 2 || bytes_[5] != 1) {
      throw std::runtime_error(file.string() + " is no 64-bit little-endian ELF file");
    }
  }

  // The little-endian unsigned integer of `width` bytes at `offset`.
  std::uint64_t read(std::size_t offset, std::size_t width) const {
    if (offset > bytes_.size() || width > bytes_.size() - offset) {
      throw std::runtime_error("ELF field outside the file");
    }
    std::uint64_t value = 0;
    for (std::size_t i = width; i > 0; --i) {
      value = (value << 8) | static_cast<unsigned char>(bytes_[offset + i - 1]);
    }
    return value;
  }

  // The NUL-terminated text at `offset`.
  std::string text(std::size_t offset) const {
    const std::size_t end = bytes_.find('\0', offset);
    if (offset >= bytes_.size() || end == std::string::npos) {
      throw std::runtime_error("ELF string outside the file");
    }
    return bytes_.substr(offset, end - offset);
  }

  // The file offset of section header `index`.
  std::size_t section(std::uint64_t index) const {
    if (index >= read(kSectionCount, 2)) {
      throw std::runtime_error("ELF section index out of range");
    }
    return static_cast<std::size_t>(read(kSectionTableOffset, 8) +
                                    index * read(kSectionEntrySize, 2));
  }

  std::uint64_t SectionCount() const { return read(kSectionCount, 2); }

 private:
  std::string bytes_;
};

}  // namespace

std::vector<std::string> DefinedDynamicSymbols(const std::filesystem::path& file) {
  const ElfImage elf(file);
  for (std::uint64_t index = 0; index < elf.SectionCount(); ++index) {
    const std::size_t header = elf.section(index);
    if (elf.read(header + kSectionType, 4) != kDynamicSymbolTable) {
      continue;
    }
    const auto symbols = static_cast<std::size_t>(elf.read(header + kSectionOffset, 8));
    const auto size = static_cast<std::size_t>(elf.read(header + kSectionSize, 8));
    const std::size_t names = static_cast<std::size_t>(
        elf.read(elf.section(elf.read(header + kSectionLink, 4)) + kSectionOffset, 8));
    std::vector<std::string> defined;
    for (std::size_t symbol = symbols + kSymbolSize; symbol + kSymbolSize <= symbols + size;
         symbol += kSymbolSize) {  // entry 0 is the null symbol
      const auto binding = static_cast<unsigned>(elf.read(symbol + 4, 1) >> 4);
      const auto section_index = static_cast<std::uint16_t>(elf.read(symbol + 6, 2));
      if (binding != kLocalBinding && section_index != kUndefinedSection) {
        defined.push_back(elf.text(names + static_cast<std::size_t>(elf.read(symbol, 4))));
      }
    }
    return defined;
  }
  throw std::runtime_error(file.string() + " has no dynamic symbol table");
}

}  // namespace glimster::integration
