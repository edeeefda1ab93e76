"""The capture demo's options (scripts/demo-settings.sh): for each case, the
glimster-host arguments of one capture, labelled " (L)", and whether the
demo's help was asked for, as literals. Both forms of an option, --opt VALUE
and --opt=VALUE, count the same; a value is never taken for an option."""

import argparse
import subprocess
import sys

NAME = "Glimster Démo – Ünïcødé (L)"
CARD = ["--time", "48/24", "--size", "1920x1080", "--test-card"]

CASES = [
    ("the demo's settings", [], False, CARD + ["--comp-name", NAME]),
    ("noise, spaced", ["--noise", "7"], False,
     ["--time", "48/24", "--size", "1920x1080", "--noise", "7", "--comp-name", NAME]),
    ("noise, with =", ["--noise=7"], False, ["--time", "48/24", "--size", "1920x1080", "--noise=7", "--comp-name", NAME]),
    ("a PNG, spaced: its size", ["--frame-png", "in.png"], False,
     ["--time", "48/24", "--frame-png", "in.png", "--comp-name", NAME]),
    ("a PNG, with =: its size", ["--frame-png=in.png"], False,
     ["--time", "48/24", "--frame-png=in.png", "--comp-name", NAME]),
    ("a name and a size, each form", ["--comp-name=Shot", "--size", "640x360"], False,
     CARD + ["--comp-name=Shot", "--size", "640x360", "--comp-name", "Shot (L)"]),
    ("a name that looks like an option", ["--comp-name", "--noise"], False,
     CARD + ["--comp-name", "--noise", "--comp-name", "--noise (L)"]),
    ("the built-in demo: everything its own", ["--demo"], False, ["--demo"]),
    ("help", ["--size=640x360", "--help"], True, CARD + ["--size=640x360", "--help", "--comp-name", NAME]),
    ("help, short", ["-h"], True, CARD + ["-h", "--comp-name", NAME]),
    ("a name, not help", ["--comp-name", "--help"], False,
     CARD + ["--comp-name", "--help", "--comp-name", "--help (L)"]),
]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--settings", required=True, help="scripts/demo-settings.sh")
    args = parser.parse_args()

    failed = False
    for name, options, help_asked, expected in CASES:
        run = subprocess.run(["bash", "-euc", 'source "$0"; demo_parse "$@"; demo_arguments " (L)"; '
                              'printf "%s\\0" "$demo_help" "${demo_host_arguments[@]}"', args.settings, *options],
                             capture_output=True)
        fields = run.stdout.decode("utf-8").split("\0")[:-1]
        got = (run.returncode, fields[:1], fields[1:])
        if got != (0, [str(help_asked).lower()], expected):
            print(f"FAIL: {name}: {options} gave {got}; expected help {help_asked}, {expected}\n"
                  f"{run.stderr.decode()}")
            failed = True
        else:
            print(f"{name}: {options} -> {expected}")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
