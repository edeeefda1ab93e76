#include "CodeSignature.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "BigEndian.h"
#include "Failure.h"
#include "Sha256.h"

namespace macos_runner {
namespace {

// <kern/cs_blobs.h>, as Apple's open-source xnu defines it.
constexpr std::uint32_t kEmbeddedSignature = 0xfade0cc0;
constexpr std::uint32_t kCodeDirectory = 0xfade0c02;
// The slot types of the code directory and of its alternates.
constexpr std::uint32_t kDirectorySlots[] = {0, 0x1000, 0x1001, 0x1002, 0x1003, 0x1004};
constexpr std::uint32_t kSupportsCodeLimit64 = 0x20300;  // the version with codeLimit64
constexpr std::size_t kDirectoryHeader = 44;             // up to and including spare2
constexpr std::uint8_t kSha256 = 2, kSha256Truncated = 3;
// A directory hashes pages from 4 KiB up to the kernel's own page (xnu's
// PAGE_SHIFT): 16 KiB on Apple silicon, 4 KiB on Intel.
constexpr unsigned kSmallestPageShift = 12;
#if defined(__aarch64__)
constexpr bool kSignatureRequired = true;
constexpr unsigned kLargestPageShift = 14;
#else
constexpr bool kSignatureRequired = false;
constexpr unsigned kLargestPageShift = 12;
#endif

// What each special slot seals; Info.plist and the resource seal are files
// beside the executable (Contents/MacOS/<name>), the others blobs of the signature.
struct SpecialSlot {
  const char* name;
  const char* file;  // relative to the executable's folder, or null
};
constexpr SpecialSlot kSpecialSlots[] = {
    {"Info.plist", "/../Info.plist"},
    {"requirements", nullptr},
    {"resource directory", "/../_CodeSignature/CodeResources"},
    {"application-specific", nullptr},
    {"entitlements", nullptr},
    {"rep-specific", nullptr},
    {"DER entitlements", nullptr},
};

struct Blob {
  const std::uint8_t* bytes;
  std::size_t size;
};

// The embedded signature: a superblob indexing its blobs by slot type.
class Signature {
 public:
  explicit Signature(const LinkEditData& data) : bytes_(data.bytes) {
    if (data.size < 12 || BigEndian32(bytes_) != kEmbeddedSignature ||
        BigEndian32(bytes_ + 4) > data.size)
      FailLoad("the code signature is not an embedded signature");
    size_ = BigEndian32(bytes_ + 4);
    count_ = BigEndian32(bytes_ + 8);
    if (size_ < 12 || count_ > (size_ - 12) / 8)
      FailLoad("the code signature's index is cut short");
  }

  // The blob of slot type `type`, or null bytes.
  Blob Find(std::uint32_t type) const {
    for (std::uint32_t i = 0; i < count_; ++i) {
      const std::uint8_t* entry = bytes_ + 12 + 8 * i;
      if (BigEndian32(entry) != type) continue;
      const std::uint32_t offset = BigEndian32(entry + 4);
      if (offset > size_ - 8 || BigEndian32(bytes_ + offset + 4) > size_ - offset)
        FailLoad("blob 0x%x of the code signature lies outside it", type);
      return {bytes_ + offset, BigEndian32(bytes_ + offset + 4)};
    }
    return {nullptr, 0};
  }

 private:
  const std::uint8_t* bytes_;
  std::uint32_t size_, count_;
};

std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) return std::nullopt;
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

const char* SlotName(std::uint32_t slot) {
  return slot <= std::size(kSpecialSlots) ? kSpecialSlots[slot - 1].name : "unnamed";
}

// The bytes special slot `slot` seals.
std::vector<std::uint8_t> Sealed(const MachOImage& image, const Signature& signature,
                                 std::uint32_t slot) {
  const Blob blob = signature.Find(slot);
  if (blob.bytes != nullptr) return {blob.bytes, blob.bytes + blob.size};
  if (slot <= std::size(kSpecialSlots) && kSpecialSlots[slot - 1].file != nullptr) {
    const std::string folder = image.executable.substr(0, image.executable.rfind('/'));
    if (auto bytes = ReadFile(folder + kSpecialSlots[slot - 1].file)) return *bytes;
  }
  FailLoad("special slot %u (%s) of the code directory seals what the bundle does not have", slot,
           SlotName(slot));
}

void VerifyDirectory(const MachOImage& image, const Signature& signature, Blob directory) {
  const std::uint8_t* cd = directory.bytes;
  if (directory.size < kDirectoryHeader || BigEndian32(cd) != kCodeDirectory)
    FailLoad("the code signature's code directory is malformed");
  const std::uint32_t version = BigEndian32(cd + 8);
  const std::uint32_t hash_offset = BigEndian32(cd + 16);
  const std::uint32_t special_slots = BigEndian32(cd + 24);
  const std::uint32_t code_slots = BigEndian32(cd + 28);
  std::uint64_t code_limit = BigEndian32(cd + 32);
  const std::uint8_t hash_size = cd[36], hash_type = cd[37], page_shift = cd[39];
  if (version >= kSupportsCodeLimit64 && directory.size >= 64 && BigEndian64(cd + 56) != 0)
    code_limit = BigEndian64(cd + 56);
  if ((hash_type != kSha256 || hash_size != 32) &&
      (hash_type != kSha256Truncated || hash_size != 20))
    FailLoad("the code directory's hashes are of type %u, %u bytes; the runner checks SHA-256",
             hash_type, hash_size);
  if (page_shift < kSmallestPageShift || page_shift > kLargestPageShift)
    FailLoad("the code directory hashes pages of 2^%u bytes", page_shift);
  // The signature seals every byte of the file before it, as the linker and
  // codesign write it. How a Mac treats an unsealed stretch before the
  // signature is not documented; the runner refuses one.
  const std::size_t signature_offset = image.code_signature.bytes - image.file;
  const std::uint64_t page = std::uint64_t{1} << page_shift;
  const std::uint64_t pages = (code_limit + page - 1) / page;
  if (code_limit != signature_offset)
    FailLoad("the code directory seals %llu bytes; the signature starts at %zu",
             static_cast<unsigned long long>(code_limit), signature_offset);
  if (code_slots != pages)
    FailLoad("the code directory has %u code slots for %llu pages", code_slots,
             static_cast<unsigned long long>(pages));
  if (hash_offset < std::uint64_t{special_slots} * hash_size ||
      hash_offset + std::uint64_t{code_slots} * hash_size > directory.size)
    FailLoad("the code directory's slots lie outside it");

  // Slot `slot` (negative for the special ones) against the hash of `bytes`.
  const auto matches = [&](std::int64_t slot, const std::uint8_t* bytes, std::size_t size) {
    const Sha256Digest digest = Sha256(bytes, size);
    return std::equal(digest.begin(), digest.begin() + hash_size,
                      cd + hash_offset + slot * std::int64_t{hash_size});
  };
  for (std::uint32_t slot = 0; slot < code_slots; ++slot) {
    const std::uint64_t start = slot * page, end = std::min(start + page, code_limit);
    if (!matches(slot, image.file + start, end - start))
      FailLoad("code page %u (bytes 0x%llx-0x%llx) does not match its hash in the code directory",
               slot, static_cast<unsigned long long>(start), static_cast<unsigned long long>(end));
  }
  for (std::uint32_t slot = 1; slot <= special_slots; ++slot) {
    const std::uint8_t* held = cd + hash_offset - slot * std::size_t{hash_size};
    if (std::all_of(held, held + hash_size, [](std::uint8_t byte) { return byte == 0; }))
      continue;  // an empty slot: nothing of its kind is sealed
    const std::vector<std::uint8_t> sealed = Sealed(image, signature, slot);
    if (!matches(-std::int64_t{slot}, sealed.data(), sealed.size()))
      FailLoad("special slot %u (%s) does not match its hash in the code directory", slot,
               SlotName(slot));
  }
}

}  // namespace

void VerifyCodeSignature(const MachOImage& image) {
  if (image.code_signature.bytes == nullptr) {
    if (kSignatureRequired)
      FailLoad(
          "the slice is not signed (no LC_CODE_SIGNATURE); Apple silicon runs no unsigned code");
    return;
  }
  const Signature signature(image.code_signature);
  bool any = false;
  for (std::uint32_t type : kDirectorySlots) {
    const Blob directory = signature.Find(type);
    if (directory.bytes == nullptr) continue;
    VerifyDirectory(image, signature, directory);
    any = true;
  }
  if (!any) FailLoad("the code signature has no code directory");
}

}  // namespace macos_runner
