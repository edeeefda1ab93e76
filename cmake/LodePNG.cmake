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

add_library(lodepng STATIC "${GLIMSTER_LODEPNG_DIR}/lodepng.cpp")
target_include_directories(lodepng SYSTEM PUBLIC "${GLIMSTER_LODEPNG_DIR}")
set_target_properties(lodepng PROPERTIES CXX_VISIBILITY_PRESET hidden)
