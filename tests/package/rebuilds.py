"""What the package checkers share: their arguments, a failure's exit, and a
package made once, or twice as two builds of one commit years apart would
make it."""

import argparse
import os
import subprocess
import sys

# The date the builds are given as SOURCE_DATE_EPOCH, which every date in
# the package must be: 2023-11-14 22:13:20 UTC.
SOURCE_DATE = 1700000000
# The builds' clocks (faketime), and so the times of the files they read.
WALL_CLOCKS = ("2001-09-09 01:46:40", "2033-05-18 03:33:20")


def arguments(doc, *names):
    """The checker's arguments: each of `names` a required --name, then the
    -D arguments of the packaging script (after --)."""
    parser = argparse.ArgumentParser(description=doc.splitlines()[0])
    for name in names:
        parser.add_argument("--" + name, required=True)
    parser.add_argument("definitions", nargs="*", help="-D arguments for the script")
    return parser.parse_args()


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def made_once(command):
    """Runs `command` once, with SOURCE_DATE_EPOCH set."""
    subprocess.run(command, check=True, env=dict(os.environ, SOURCE_DATE_EPOCH=str(SOURCE_DATE)))


def made_twice(faketime, command, output, dated):
    """Runs `command` once at each wall clock, with SOURCE_DATE_EPOCH set and
    the files `dated` dated by that clock; `{run}` in its arguments and in
    `output` becomes "first" or "second". Returns the path of the first
    output, failing unless both runs wrote the same bytes."""
    outputs = []
    for run, clock in zip(("first", "second"), WALL_CLOCKS):
        if dated:
            subprocess.run(["touch", "-d", clock + "Z", *dated], check=True)
        subprocess.run([faketime, "-f", "@" + clock, *(part.replace("{run}", run) for part in command)],
                       check=True, env=dict(os.environ, SOURCE_DATE_EPOCH=str(SOURCE_DATE), TZ="UTC"))
        with open(output.replace("{run}", run), "rb") as f:
            outputs.append(f.read())
    if outputs[0] != outputs[1]:
        fail(f"two builds of one commit at different times gave different bytes ({output})")
    print(f"{len(outputs[0])} bytes, the same from both builds")
    return output.replace("{run}", "first")
