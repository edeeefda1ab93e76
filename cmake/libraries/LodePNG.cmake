# LodePNG 20161127, installed by npm from the pinned lockfile into
# node_modules/ (never committed). Compiled as a static library of
# position-independent objects so it can go into the plug-in.
set(GLIMSTER_LODEPNG_DIR "${PROJECT_SOURCE_DIR}/node_modules/lodepng/vendor"
    CACHE PATH "Folder holding lodepng.cpp and lodepng.h of release 20161127")

if(NOT EXISTS "${GLIMSTER_LODEPNG_DIR}/lodepng.cpp")
  message(FATAL_ERROR "LodePNG not found in ${GLIMSTER_LODEPNG_DIR}: run `npm ci` in ${PROJECT_SOURCE_DIR}")
endif()
file(STRINGS "${GLIMSTER_LODEPNG_DIR}/lodepng.cpp" _lodepng_version REGEX "LODEPNG_VERSION_STRING = ")
if(NOT _lodepng_version MATCHES "\"20161127\"")
  message(FATAL_ERROR "LodePNG in ${GLIMSTER_LODEPNG_DIR} is not release 20161127")
endif()

# Its memory comes from our lodepng_malloc, lodepng_realloc and lodepng_free
# (capture/EncoderMemory.cpp, part of this library so that everything linking
# LodePNG gets them), which throw std::bad_alloc rather than return null.
# Unwinding through LodePNG's functions is defined on every toolchain we
# build with: lodepng.cpp is compiled as C++, with exceptions (the default of
# g++, clang and mingw-w64's g++, which unwinds with SEH tables on x86-64), and
# lodepng.h declares its functions with C++ linkage (no extern "C"), so
# MSVC's model /EHsc (set here, and also CMake's default), which assumes only
# extern "C" functions never throw, keeps the unwind information for them.
add_library(lodepng STATIC "${GLIMSTER_LODEPNG_DIR}/lodepng.cpp" "${PROJECT_SOURCE_DIR}/capture/EncoderMemory.cpp")
target_include_directories(lodepng SYSTEM PUBLIC "${GLIMSTER_LODEPNG_DIR}")
target_include_directories(lodepng PRIVATE "${PROJECT_SOURCE_DIR}")
target_compile_definitions(lodepng PUBLIC LODEPNG_NO_COMPILE_ALLOCATORS)
target_compile_options(lodepng PUBLIC $<$<CXX_COMPILER_ID:MSVC>:/EHsc>)
set_target_properties(lodepng PROPERTIES CXX_VISIBILITY_PRESET hidden)
