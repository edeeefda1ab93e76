// One slice of a Mach-O bundle, mapped into this process as dyld maps it:
// each segment at its place relative to the others, at a base of our own.
// What follows (fixups, protections, initialisers) is the loader's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace macos_runner {

struct Segment {
  std::string name;
  std::uint64_t address;  // in the file's numbering (vmaddr)
  std::uint64_t size;
  std::uint32_t protection;  // VM_PROT_* bits: 1 read, 2 write, 4 execute
  std::uint32_t flags;       // SG_* bits: SG_READ_ONLY, read-only once the fixups are in
};

struct Section {
  std::string segment, name;
  std::uint64_t address;  // in the file's numbering (addr)
  std::uint64_t size;
  std::uint32_t type;  // the low byte of the section's flags (S_*)
};

// A byte range of the file's __LINKEDIT data, already in memory.
struct LinkEditData {
  const std::uint8_t* bytes = nullptr;
  std::size_t size = 0;
};

struct MachOImage {
  std::string executable;  // the file the slice was read from
  const char* architecture;
  const std::uint8_t* file = nullptr;  // the slice's bytes in the file, mapped for good
  std::size_t file_size = 0;
  std::uint8_t* base = nullptr;  // where the lowest segment starts
  std::size_t mapped_size = 0;
  std::uint64_t preferred_base = 0;  // the lowest segment's vmaddr
  std::vector<Segment> segments;
  std::vector<Section> sections;
  std::vector<std::string> libraries;  // the LC_LOAD_DYLIB names in ordinal order, short form
  LinkEditData rebase, bind, weak_bind, lazy_bind, exports, chained_fixups, code_signature;

  // The address in memory of `address` in the file's numbering.
  std::uint8_t* At(std::uint64_t address) const { return base + (address - preferred_base); }
  const Section* FindSection(const char* segment, const char* name) const;
  // The short name of the library a bind's ordinal names ("libSystem", "Foundation").
  std::string LibraryName(std::int64_t ordinal) const;
  // The address of the exported symbol `name`, or null.
  void* FindExport(const char* name) const;
};

// The slice of this process's architecture of `executable` (universal or
// thin), mapped, its segments' bytes copied in and the rest zero, all
// writable until the loader sets the protections. Fails the load on any
// problem, and on a slice the runner cannot load as dyld would: one without
// LC_DYLD_INFO(_ONLY), with chained fixups or classic relocations, or with a
// load command the runner neither reads nor knows to be harmless. The file
// stays mapped for the __LINKEDIT ranges and the code signature.
MachOImage MapSlice(const std::string& executable);

// The Mach-O executable of a `.plugin` folder (Contents/MacOS/ and the
// Info.plist's CFBundleExecutable), or `path` itself when it is a file.
std::string BundleExecutable(const std::string& path);

// Gives each segment its protection, as dyld does once the fixups are in: a
// segment flagged SG_READ_ONLY (__DATA_CONST) loses its write permission.
void ProtectSegments(const MachOImage& image);

}  // namespace macos_runner
