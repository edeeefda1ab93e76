# Foundation::Foundation: Apple's framework on macOS, GNUstep's base library
# elsewhere (Debian: gobjc++ and libgnustep-base-dev). The Objective-C++
# sources use manual retain/release, valid with both.
if(NOT APPLE AND NOT CMAKE_OBJCXX_COMPILER)
  # GNUstep's runtime is GCC's: compile with the same g++ (gobjc++ installed).
  set(CMAKE_OBJCXX_COMPILER ${CMAKE_CXX_COMPILER})
endif()
enable_language(OBJCXX)
add_library(Foundation::Foundation INTERFACE IMPORTED)

if(APPLE AND GLIMSTER_MACOS_SDK_SUBSTITUTE)
  # No macOS SDK (the cross build, cmake/toolchains/zig-macos.cmake):
  # Foundation's declarations, and link stubs of Foundation, CoreFoundation and
  # libobjc under their real install names, from plugin/macos/cross.
  set(_cross "${PROJECT_SOURCE_DIR}/plugin/macos/cross")
  target_include_directories(Foundation::Foundation SYSTEM INTERFACE "${_cross}/include")
  target_link_libraries(Foundation::Foundation INTERFACE
    "${_cross}/stubs/Foundation.tbd" "${_cross}/stubs/CoreFoundation.tbd" "${_cross}/stubs/libobjc.tbd")
  target_compile_options(Foundation::Foundation INTERFACE $<$<COMPILE_LANGUAGE:OBJCXX>:-fno-objc-arc>)
elseif(APPLE)
  target_link_libraries(Foundation::Foundation INTERFACE "-framework Foundation")
  target_compile_options(Foundation::Foundation INTERFACE $<$<COMPILE_LANGUAGE:OBJCXX>:-fno-objc-arc>)
else()
  find_program(GNUSTEP_CONFIG gnustep-config REQUIRED)
  execute_process(COMMAND ${GNUSTEP_CONFIG} --variable=GNUSTEP_SYSTEM_HEADERS
                  OUTPUT_VARIABLE _gnustep_headers OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${GNUSTEP_CONFIG} --variable=GNUSTEP_SYSTEM_LIBRARIES
                  OUTPUT_VARIABLE _gnustep_libraries OUTPUT_STRIP_TRAILING_WHITESPACE)
  find_library(GNUSTEP_BASE_LIBRARY gnustep-base HINTS ${_gnustep_libraries} REQUIRED)
  target_include_directories(Foundation::Foundation SYSTEM INTERFACE ${_gnustep_headers})
  target_compile_definitions(Foundation::Foundation INTERFACE
    GNUSTEP GNUSTEP_BASE_LIBRARY=1 GNU_RUNTIME=1 _NATIVE_OBJC_EXCEPTIONS)
  # CMake knows no standard flags for GCC's Objective-C++ (it does for Apple
  # clang's): the project's standard is given here.
  target_compile_options(Foundation::Foundation INTERFACE
    $<$<COMPILE_LANGUAGE:OBJCXX>:-std=c++${CMAKE_OBJCXX_STANDARD} -fconstant-string-class=NSConstantString -fobjc-exceptions>)
  target_link_libraries(Foundation::Foundation INTERFACE ${GNUSTEP_BASE_LIBRARY} objc)
endif()
