# The host-driven cases written once and run on every binary: Glimster.so
# and the Mac code's two slices (tests/capture, tests/integration and
# tests/reliability) and,
# built by the Windows build (tests/windows/CMakeLists.txt), Glimster.aex
# under Wine (tests/wine/CMakeLists.txt registers them from these sources).
set(GLIMSTER_SHARED_CAPTURE_CASES
  tests/capture/CaptureTest.cpp
  tests/capture/CaptureFailureTest.cpp
  tests/capture/CaptureFileTest.cpp
  tests/capture/HostileDesktopTest.cpp
  tests/capture/FileCallFailureTest.cpp
  tests/capture/MemoryCapTest.cpp
  tests/capture/TemporaryFileTest.cpp
  tests/capture/TimestampLocaleTest.cpp)
set(GLIMSTER_SHARED_HOST_CASES
  tests/integration/EntryPointTest.cpp
  tests/integration/SuiteCacheTest.cpp
  tests/integration/UpdateMenuHookTest.cpp)
# Every host fault at every point (tests/reliability), with what it needs.
set(GLIMSTER_SHARED_FAULT_CASES tests/reliability/FaultMatrixTest.cpp)
set(GLIMSTER_SHARED_FAULT_SUPPORT
  tests/reliability/ExpectedOutcome.cpp
  tests/reliability/FaultPoints.cpp
  tests/reliability/HookCalls.cpp)
set(GLIMSTER_SHARED_CASES
  ${GLIMSTER_SHARED_CAPTURE_CASES} ${GLIMSTER_SHARED_HOST_CASES} ${GLIMSTER_SHARED_FAULT_CASES})
