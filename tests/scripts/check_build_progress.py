"""What the build prints: scripts/build-progress.sh fed the interleaved output
of the Linux build and its cross builds, each case's lines and what a person is
shown, as literals; and cmake/cross/label-lines.sh, which names a cross build's
lines, run on a command that writes to both streams and fails."""

import argparse
import subprocess
import sys

WHAT = "Glimster (a first build usually takes 3-5 minutes on 2 cores)"

CASES = [
    ("all built already: nothing shown", [
        "[  5%] Built target lodepng",
        "[ 87%] Performing build step for 'glimster_windows'",
        "[Windows] [ 76%] Built target glimster_capture",
        "[100%] Built target Glimster",
    ], ""),
    ("each build named, whatever its name; a step back within one build left out", [
        "[  3%] Built target lodepng",
        "[ 10%] Building CXX object capture/CMakeFiles/glimster_capture.dir/FileReplace.cpp.o",
        "[Windows] [ 12%] Building CXX object capture/CMakeFiles/glimster_capture.dir/FileReplace.cpp.obj",
        "[ 25%] Linking CXX static library libglimster_capture.a",
        "[ 40%] Built target glimster_capture",
        "[Windows] [ 30%] Linking CXX static library libglimster_capture.a",
        "[Windows] [ 76%] Built target glimster_capture",
        "[macOS arm64] [ 70%] Building CXX object plugin/CMakeFiles/Glimster.dir/Entry.cpp.o",
        "[ 87%] Performing build step for 'glimster_windows'",
        "[macOS arm64] [100%] Built target Glimster",
        "[Windows] [ 51%] Building CXX object substitute_host/CMakeFiles/glimster_substitute_host.dir/Host.cpp.obj",
        "[Windows] [ 60%] Built target glimster_substitute_host",
        "[Windows] [ 86%] Generating descriptor.rsrc",
        "[Windows] [ 86%] Built target Glimster",
        "[aarch64 tests] [ 20%] Building CXX object tests/CMakeFiles/glimster_tests.dir/NamingTest.cpp.o",
        "[aarch64 tests] [ 25%] Built target glimster_tests",
        "[100%] Building CXX object plugin/CMakeFiles/Glimster.dir/Entry.cpp.o",
        "[100%] Built target Glimster",
    ], f"""Building {WHAT}...
  Linux           40%  built glimster_capture
  Windows         76%  built glimster_capture
  macOS arm64    100%  built Glimster
  Windows         86%  built Glimster
  aarch64 tests   25%  built glimster_tests
  Linux          100%  built Glimster
"""),
]


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--progress", required=True, help="scripts/build-progress.sh")
    parser.add_argument("--label-lines", required=True, help="cmake/cross/label-lines.sh")
    args = parser.parse_args()

    for name, lines, expected in CASES:
        shown = subprocess.run([args.progress, WHAT], input="\n".join(lines) + "\n", capture_output=True,
                               text=True, check=True).stdout
        print(f"{name}:\n{shown}")
        if shown != expected:
            fail(f"{name}: shown\n{shown}expected\n{expected}")

    command = "echo one; echo two >&2; printf three; exit 3"
    labelled = subprocess.run([args.label_lines, "macOS arm64", "sh", "-c", command], capture_output=True, text=True)
    print(f"label-lines.sh: exit {labelled.returncode}\n{labelled.stdout}")
    if (labelled.returncode, labelled.stdout) != (3, "[macOS arm64] one\n[macOS arm64] two\n[macOS arm64] three\n"):
        fail("label-lines.sh does not name every line, or loses the exit status")
    print("OK: every build named, no step back; label-lines.sh names every line and keeps the status")


if __name__ == "__main__":
    main()
