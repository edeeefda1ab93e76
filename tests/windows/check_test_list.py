"""Fails unless the Windows test program holds exactly the test suites that the
build registered one by one with ctest (read from the sources), so that none
of its tests goes unrun."""

import argparse
import subprocess
import sys


def listed_suites(runner, program):
    """The program's suites, an instantiation's (<Prefix>/<Suite>.) by the suite's name."""
    output = subprocess.run([runner, program, "--plugin=unused", "--gtest_list_tests"],
                            check=True, capture_output=True, text=True).stdout
    return [line.split("#")[0].strip().rstrip(".").split("/")[-1]
            for line in output.splitlines() if line.strip() and not line.startswith(" ")]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runner", required=True, help="the Wine runner script")
    parser.add_argument("--program", required=True, help="the Windows test program")
    parser.add_argument("--expected", required=True, help="comma-separated suite names")
    args = parser.parse_args()

    expected = set(filter(None, args.expected.split(",")))
    actual = set(listed_suites(args.runner, args.program))
    print(f"{len(actual)} suites in the program, {len(expected)} registered with ctest")
    if not actual:
        print("FAIL: the program lists no suites")
        return 1
    if actual - expected:
        print("FAIL: not registered with ctest: " + ", ".join(sorted(actual - expected)))
    if expected - actual:
        print("FAIL: registered but not in the program: " + ", ".join(sorted(expected - actual)))
    return 0 if actual == expected else 1


if __name__ == "__main__":
    sys.exit(main())
