#include "MachOImage.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "BigEndian.h"
#include "Failure.h"
#include "Leb128.h"

namespace macos_runner {
namespace {

// <mach-o/loader.h> and <mach-o/fat.h>, as Apple documents them.
constexpr std::uint32_t kMachMagic64 = 0xfeedfacf;
constexpr std::uint32_t kFatMagic = 0xcafebabe;    // read big-endian
constexpr std::uint32_t kFatMagic64 = 0xcafebabf;  // the same, with 64-bit offsets
constexpr std::uint32_t kBundle = 8, kDylib = 6;   // MH_BUNDLE, MH_DYLIB
constexpr std::uint32_t kLcSegment64 = 0x19;
constexpr std::uint32_t kSegmentReadOnly = 0x10;  // SG_READ_ONLY
constexpr std::uint32_t kLcLoadDylib = 0xc, kLcLoadWeakDylib = 0x80000018,
                        kLcReexportDylib = 0x8000001f;
constexpr std::uint32_t kLcDyldInfo = 0x22, kLcDyldInfoOnly = 0x80000022;
constexpr std::uint32_t kLcDyldExportsTrie = 0x80000033, kLcDyldChainedFixups = 0x80000034;
constexpr std::uint32_t kLcDysymtab = 0xb, kLcCodeSignature = 0x1d;
// The load commands the two slices carry that change nothing in how the
// slice is loaded: symbols for tools, the UUID, the platform and version,
// function starts and data-in-code notes for tools. dyld ignores an unknown
// command unless it has the LC_REQ_DYLD bit; the runner, which implements
// only what these slices need, refuses every command it does not know.
constexpr std::uint32_t kHarmlessCommands[] = {
    0x2,   // LC_SYMTAB
    0x1b,  // LC_UUID
    0x32,  // LC_BUILD_VERSION
    0x26,  // LC_FUNCTION_STARTS
    0x29,  // LC_DATA_IN_CODE
};
constexpr std::uint8_t kExportReexport = 0x08, kExportStubAndResolver = 0x10,
                       kExportKindMask = 0x03;

#if defined(__x86_64__)
constexpr std::int32_t kCpuType = 0x01000007;  // CPU_TYPE_X86_64
constexpr const char* kArchitecture = "x86_64";
#elif defined(__aarch64__)
constexpr std::int32_t kCpuType = 0x0100000c;  // CPU_TYPE_ARM64
constexpr const char* kArchitecture = "arm64";
#else
#error "The runner runs x86_64 or arm64 Mac code on the same architecture"
#endif

struct MachHeader64 {
  std::uint32_t magic;
  std::int32_t cputype, cpusubtype;
  std::uint32_t filetype, ncmds, sizeofcmds, flags, reserved;
};
struct LoadCommand {
  std::uint32_t cmd, cmdsize;
};
struct SegmentCommand64 {
  std::uint32_t cmd, cmdsize;
  char segname[16];
  std::uint64_t vmaddr, vmsize, fileoff, filesize;
  std::int32_t maxprot, initprot;
  std::uint32_t nsects, flags;
};
struct Section64 {
  char sectname[16], segname[16];
  std::uint64_t addr, size;
  std::uint32_t offset, align, reloff, nreloc, flags, reserved1, reserved2, reserved3;
};
struct DyldInfoCommand {
  std::uint32_t cmd, cmdsize;
  std::uint32_t rebase_off, rebase_size, bind_off, bind_size, weak_bind_off, weak_bind_size;
  std::uint32_t lazy_bind_off, lazy_bind_size, export_off, export_size;
};
struct DylibCommand {
  std::uint32_t cmd, cmdsize, name_offset, timestamp, current_version, compatibility_version;
};
struct LinkEditDataCommand {
  std::uint32_t cmd, cmdsize, dataoff, datasize;
};
struct DysymtabCommand {
  std::uint32_t cmd, cmdsize, ilocalsym, nlocalsym, iextdefsym, nextdefsym, iundefsym, nundefsym;
  std::uint32_t tocoff, ntoc, modtaboff, nmodtab, extrefsymoff, nextrefsyms, indirectsymoff;
  std::uint32_t nindirectsyms, extreloff, nextrel, locreloff, nlocrel;
};

std::string Fixed16(const char (&name)[16]) { return std::string(name, strnlen(name, 16)); }

// "/usr/lib/libSystem.B.dylib" -> "libSystem"; a framework's path -> its name.
std::string ShortLibraryName(const char* path) {
  std::string name = path;
  name = name.substr(name.rfind('/') + 1);
  return name.substr(0, name.find('.'));
}

// The offset and size of this architecture's slice in a file of `size` bytes.
void FindSlice(const std::uint8_t* file, std::size_t size, std::size_t& offset,
               std::size_t& slice_size) {
  if (size < 8) FailLoad("the file is not a Mach-O file");
  const std::uint32_t magic = BigEndian32(file);
  if (magic != kFatMagic && magic != kFatMagic64) {
    offset = 0;
    slice_size = size;
    return;
  }
  const std::uint32_t count = BigEndian32(file + 4);
  const std::size_t entry_size = magic == kFatMagic ? 20 : 32;  // fat_arch, fat_arch_64
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = file + 8 + i * entry_size;
    if (entry + entry_size > file + size) break;
    if (static_cast<std::int32_t>(BigEndian32(entry)) != kCpuType) continue;
    if (magic == kFatMagic) {
      offset = BigEndian32(entry + 8);
      slice_size = BigEndian32(entry + 12);
    } else {
      offset = BigEndian64(entry + 8);
      slice_size = BigEndian64(entry + 16);
    }
    if (offset > size || slice_size > size - offset)
      FailLoad("the %s slice is cut short", kArchitecture);
    return;
  }
  FailLoad("the universal file has no %s slice", kArchitecture);
}

// The load command at `command` as a T, which its size must hold.
template <typename T>
T Command(const std::uint8_t* command, LoadCommand lc, std::uint32_t index) {
  if (lc.cmdsize < sizeof(T)) FailLoad("load command %u is cut short", index);
  T value;
  std::memcpy(&value, command, sizeof value);
  return value;
}

LinkEditData Range(const std::uint8_t* slice, std::size_t slice_size, std::uint32_t offset,
                   std::uint32_t size) {
  if (offset > slice_size || size > slice_size - offset)
    FailLoad("a __LINKEDIT range lies outside the file");
  return {slice + offset, size};
}

// The load command `lc`, number `index`, at `command`: what the image
// takes from it, or the load's end when the runner cannot honour it.
void ReadCommand(MachOImage& image, const std::uint8_t* command, LoadCommand lc,
                 std::uint32_t index) {
  const std::uint8_t* const slice = image.file;
  const std::size_t slice_size = image.file_size;
  if (lc.cmd == kLcSegment64) {
    const auto segment = Command<SegmentCommand64>(command, lc, index);
    if (segment.fileoff > slice_size || segment.filesize > slice_size - segment.fileoff ||
        segment.filesize > segment.vmsize)
      FailLoad("segment %s lies outside the file", Fixed16(segment.segname).c_str());
    if (segment.nsects > (lc.cmdsize - sizeof segment) / sizeof(Section64))
      FailLoad("load command %u is cut short", index);
    image.segments.push_back({Fixed16(segment.segname), segment.vmaddr, segment.vmsize,
                              static_cast<std::uint32_t>(segment.initprot), segment.flags});
    for (std::uint32_t s = 0; s < segment.nsects; ++s) {
      Section64 section;
      std::memcpy(&section, command + sizeof segment + s * sizeof section, sizeof section);
      image.sections.push_back({Fixed16(section.segname), Fixed16(section.sectname), section.addr,
                                section.size, section.flags & 0xff});
    }
  } else if (lc.cmd == kLcLoadDylib || lc.cmd == kLcLoadWeakDylib || lc.cmd == kLcReexportDylib) {
    const auto dylib = Command<DylibCommand>(command, lc, index);
    if (dylib.name_offset >= lc.cmdsize || command[lc.cmdsize - 1] != '\0')
      FailLoad("load command %u names no library", index);
    image.libraries.push_back(
        ShortLibraryName(reinterpret_cast<const char*>(command) + dylib.name_offset));
  } else if (lc.cmd == kLcDyldInfo || lc.cmd == kLcDyldInfoOnly) {
    const auto dyld = Command<DyldInfoCommand>(command, lc, index);
    image.rebase = Range(slice, slice_size, dyld.rebase_off, dyld.rebase_size);
    image.bind = Range(slice, slice_size, dyld.bind_off, dyld.bind_size);
    image.weak_bind = Range(slice, slice_size, dyld.weak_bind_off, dyld.weak_bind_size);
    image.lazy_bind = Range(slice, slice_size, dyld.lazy_bind_off, dyld.lazy_bind_size);
    image.exports = Range(slice, slice_size, dyld.export_off, dyld.export_size);
  } else if (lc.cmd == kLcDyldExportsTrie || lc.cmd == kLcDyldChainedFixups ||
             lc.cmd == kLcCodeSignature) {
    const auto data = Command<LinkEditDataCommand>(command, lc, index);
    (lc.cmd == kLcDyldExportsTrie     ? image.exports
     : lc.cmd == kLcDyldChainedFixups ? image.chained_fixups
                                      : image.code_signature) =
        Range(slice, slice_size, data.dataoff, data.datasize);
  } else if (lc.cmd == kLcDysymtab) {
    const auto symbols = Command<DysymtabCommand>(command, lc, index);
    // Relocation entries are for loaders older than dyld's opcodes; dyld
    // still applies them, the runner does not.
    if (symbols.nextrel != 0 || symbols.nlocrel != 0)
      FailLoad(
          "LC_DYSYMTAB has %u external and %u local relocations, which the runner does not "
          "apply",
          symbols.nextrel, symbols.nlocrel);
  } else if (std::find(std::begin(kHarmlessCommands), std::end(kHarmlessCommands), lc.cmd) ==
             std::end(kHarmlessCommands)) {
    FailLoad("load command %u is 0x%x, which the runner does not know", index, lc.cmd);
  }
}

}  // namespace

const Section* MachOImage::FindSection(const char* segment, const char* name) const {
  for (const Section& section : sections)
    if (section.segment == segment && section.name == name) return &section;
  return nullptr;
}

std::string MachOImage::LibraryName(std::int64_t ordinal) const {
  if (ordinal >= 1 && static_cast<std::size_t>(ordinal) <= libraries.size())
    return libraries[ordinal - 1];
  switch (ordinal) {
    case 0:
      return "the bundle itself";
    case -1:
      return "the main executable";
    case -2:
      return "any image (flat lookup)";
    case -3:
      return "any image (weak lookup)";
  }
  return "library #" + std::to_string(ordinal);
}

// Walks the export trie (<mach-o/loader.h>, "dyld export info"), one edge
// of the name at a time.
void* MachOImage::FindExport(const char* name) const {
  const std::uint8_t* const start = exports.bytes;
  const std::uint8_t* const end = start + exports.size;
  const std::uint8_t* node = start;
  while (node != nullptr && node < end) {
    const std::uint8_t* p = node;
    const std::uint64_t terminal_size = ReadUleb(p, end);
    if (*name == '\0') {
      if (terminal_size == 0) return nullptr;
      const std::uint64_t flags = ReadUleb(p, end);
      if ((flags & (kExportReexport | kExportStubAndResolver | kExportKindMask)) != 0)
        return nullptr;
      return base + ReadUleb(p, end);
    }
    p += terminal_size;
    if (p >= end) return nullptr;
    std::uint8_t children = *p++;
    node = nullptr;
    for (; children > 0 && p < end; --children) {
      const char* edge = reinterpret_cast<const char*>(p);
      const std::size_t length = strnlen(edge, end - p);
      p += length + 1;
      const std::uint64_t child = ReadUleb(p, end);
      if (std::strncmp(edge, name, length) == 0) {
        name += length;
        node = start + child;
        break;
      }
    }
  }
  return nullptr;
}

std::string BundleExecutable(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return path;
  std::ifstream plist(path + "/Contents/Info.plist");
  std::stringstream text;
  text << plist.rdbuf();
  const std::string xml = text.str();
  const std::string key = "<key>CFBundleExecutable</key>";
  std::size_t at = xml.find(key);
  const std::size_t open = at == std::string::npos ? at : xml.find("<string>", at + key.size());
  const std::size_t close = open == std::string::npos ? open : xml.find("</string>", open);
  if (close == std::string::npos) {
    SetFailureSubject(path.c_str(), kArchitecture);
    FailLoad("no CFBundleExecutable in Contents/Info.plist");
  }
  at = open + 8;
  return path + "/Contents/MacOS/" + xml.substr(at, close - at);
}

MachOImage MapSlice(const std::string& executable) {
  MachOImage image;
  image.executable = executable;
  image.architecture = kArchitecture;
  SetFailureSubject(image.executable.c_str(), kArchitecture);

  const int fd = open(executable.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd < 0 || fstat(fd, &info) != 0) FailLoad("the file cannot be opened");
  void* mapped = mmap(nullptr, info.st_size, PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (mapped == MAP_FAILED) FailLoad("the file cannot be mapped");
  const auto* file = static_cast<const std::uint8_t*>(mapped);
  std::size_t slice_offset = 0, slice_size = 0;
  FindSlice(file, info.st_size, slice_offset, slice_size);
  const std::uint8_t* slice = file + slice_offset;

  MachHeader64 header;
  if (slice_size < sizeof header) FailLoad("the slice has no Mach-O header");
  std::memcpy(&header, slice, sizeof header);
  if (header.magic != kMachMagic64 || header.cputype != kCpuType)
    FailLoad("the slice is not a 64-bit %s Mach-O file", kArchitecture);
  if (header.filetype != kBundle && header.filetype != kDylib)
    FailLoad("the file type is %u, not a bundle or a library", header.filetype);
  if (sizeof header + header.sizeofcmds > slice_size) FailLoad("the load commands are cut short");

  image.file = slice;
  image.file_size = slice_size;
  const std::uint8_t* command = slice + sizeof header;
  const std::uint8_t* const commands_end = command + header.sizeofcmds;
  for (std::uint32_t i = 0; i < header.ncmds; ++i) {
    LoadCommand lc;
    if (command + sizeof lc > commands_end) FailLoad("load command %u is cut short", i);
    std::memcpy(&lc, command, sizeof lc);
    if (lc.cmdsize < sizeof lc || command + lc.cmdsize > commands_end)
      FailLoad("load command %u is cut short", i);
    ReadCommand(image, command, lc, i);
    command += lc.cmdsize;
  }
  if (image.chained_fixups.size != 0)
    FailLoad("the slice has chained fixups, which the runner does not read");
  if (image.rebase.bytes == nullptr)  // LC_DYLD_INFO(_ONLY) sets every range, empty or not
    FailLoad("the slice has no LC_DYLD_INFO_ONLY: no rebase, bind or export information");

  std::uint64_t low = UINT64_MAX, high = 0;
  for (const Segment& segment : image.segments) {
    if (segment.protection == 0) continue;  // __PAGEZERO, __LINKEDIT's neighbours: nothing to map
    low = std::min(low, segment.address);
    high = std::max(high, segment.address + segment.size);
  }
  if (low >= high) FailLoad("the slice has no segments");
  image.preferred_base = low;
  image.mapped_size = high - low;
  void* region =
      mmap(nullptr, image.mapped_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (region == MAP_FAILED) FailLoad("no room for %zu bytes of segments", image.mapped_size);
  image.base = static_cast<std::uint8_t*>(region);

  command = slice + sizeof header;
  for (std::uint32_t i = 0; i < header.ncmds; ++i) {
    LoadCommand lc;
    std::memcpy(&lc, command, sizeof lc);
    if (lc.cmd == kLcSegment64) {
      SegmentCommand64 segment;
      std::memcpy(&segment, command, sizeof segment);
      if (segment.initprot != 0)
        std::memcpy(image.At(segment.vmaddr), slice + segment.fileoff, segment.filesize);
    }
    command += lc.cmdsize;
  }
  return image;
}

void ProtectSegments(const MachOImage& image) {
  const std::uint64_t page = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
  for (const Segment& segment : image.segments) {
    if (segment.protection == 0) continue;
    const std::uint64_t start = (segment.address - image.preferred_base) & ~(page - 1);
    const std::uint64_t end = segment.address - image.preferred_base + segment.size;
    int protection = PROT_NONE;
    if (segment.protection & 1) protection |= PROT_READ;
    if (segment.protection & 2) protection |= PROT_WRITE;
    if (segment.protection & 4) protection |= PROT_EXEC;
    if (segment.flags & kSegmentReadOnly) protection &= ~PROT_WRITE;
    if (mprotect(image.base + start, end - start, protection) != 0)
      FailLoad("segment %s cannot be given its protection", segment.name.c_str());
  }
}

}  // namespace macos_runner
