# glimster_libcxx: LLVM's C++ library (libc++ with libc++abi) for the cross
# build of Glimster.plugin, compiled from the sources zig 0.11 ships, with the
# flags zig itself builds them with, as one static library linked into the
# bundle. Built once per build tree (and cached by ccache like every object).
#
# Why static: the plug-in is compiled against zig's libc++ headers (LLVM 16),
# which are newer than the libc++ of macOS 12.1. Linked statically, the
# bundle carries exactly the library its code was compiled against and needs
# nothing from the system's libc++, whose contents depend on the macOS release;
# ld64's -dead_strip keeps only the parts the plug-in calls.

set(libcxx "${GLIMSTER_ZIG_LIB_DIR}/libcxx")
set(libcxxabi "${GLIMSTER_ZIG_LIB_DIR}/libcxxabi")

# Of libc++'s sources, those that define what the plug-in's code can be
# expected to call (strings, exceptions, the error and variant types, the
# number conversions, clocks); the streams, locales, file system, threads and
# regular expressions stay out, which saves most of the build. A link that
# names a missing libc++ symbol asks for its source here.
set(libcxx_sources
  charconv chrono exception memory optional stdexcept string system_error typeinfo variant
  vector verbose_abort)
set(libcxxabi_sources
  abort_message cxa_aux_runtime cxa_default_handlers cxa_demangle cxa_exception
  cxa_exception_storage cxa_guard cxa_handlers cxa_personality cxa_thread_atexit cxa_vector
  cxa_virtual fallback_malloc private_typeinfo stdlib_exception stdlib_new_delete
  stdlib_stdexcept stdlib_typeinfo)
list(TRANSFORM libcxx_sources REPLACE "(.+)" "${libcxx}/src/\\1.cpp")
list(TRANSFORM libcxxabi_sources REPLACE "(.+)" "${libcxxabi}/src/\\1.cpp")

add_library(glimster_libcxx STATIC ${libcxx_sources} ${libcxxabi_sources})
target_include_directories(glimster_libcxx PRIVATE "${libcxx}/include" "${libcxxabi}/include" "${libcxx}/src")
target_compile_definitions(glimster_libcxx PRIVATE
  _LIBCPP_DISABLE_VISIBILITY_ANNOTATIONS _LIBCXXABI_DISABLE_VISIBILITY_ANNOTATIONS
  _LIBCPP_HAS_NO_VENDOR_AVAILABILITY_ANNOTATIONS)
target_compile_options(glimster_libcxx PRIVATE -fvisibility=hidden -fvisibility-inlines-hidden
                       -faligned-allocation -funwind-tables -Wno-user-defined-literals)
set_target_properties(glimster_libcxx PROPERTIES CXX_STANDARD 20 CXX_EXTENSIONS OFF)
set_source_files_properties(${libcxx_sources} PROPERTIES COMPILE_DEFINITIONS
  "_LIBCPP_BUILDING_LIBRARY;_LIBCPP_HAS_NO_PRAGMA_SYSTEM_HEADER;LIBCXX_BUILDING_LIBCXXABI;_LIBCPP_DISABLE_NEW_DELETE_DEFINITIONS")
set_source_files_properties(${libcxxabi_sources} PROPERTIES COMPILE_DEFINITIONS
  "_LIBCXXABI_BUILDING_LIBRARY;_LIBCPP_DISABLE_EXTERN_TEMPLATE;_LIBCPP_ENABLE_CXX17_REMOVED_UNEXPECTED_FUNCTIONS")
