# Link and archive rules of the macOS cross build
# (cmake/toolchains/zig-macos.cmake), read after CMake's own Darwin rules. A loadable bundle is linked by
# ld64.lld itself, with what the compiler driver would add on a Mac: the
# architecture, the platform and its oldest version (12.1, also the SDK's),
# unused code stripped, and libSystem. Neither debug notes (their object
# file times would change the bytes at every rebuild) nor local symbols go in. Linker options reach ld64.lld as they
# are written (no -Wl,).
set(CMAKE_CXX_CREATE_SHARED_MODULE
    "${GLIMSTER_LD64} -arch ${GLIMSTER_MACOS_LD_ARCH} -bundle -platform_version macos 12.1 12.1 -dead_strip -S -x <LINK_FLAGS> -o <TARGET> <OBJECTS> <LINK_LIBRARIES> ${GLIMSTER_LIBSYSTEM_STUB}")
set(CMAKE_CXX_LINKER_WRAPPER_FLAG "")
set(CMAKE_CXX_LINKER_WRAPPER_FLAG_SEP "")
foreach(lang C CXX OBJCXX)
  set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qc --format=darwin <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> q --format=darwin <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_FINISH "<CMAKE_RANLIB> <TARGET>")
endforeach()
