"""Writes the licence notices of the compiler runtimes linked statically into
Glimster.aex, from the texts Debian installs with the mingw-w64 cross
compiler, into a folder:

  LICENSE-mingw-w64.txt  the parts of the mingw-w64 runtime in the DLL, each
                         with the copyright and licence that Debian's
                         copyright file of mingw-w64 gives for it
  LICENSE-GCC.txt        GCC's runtime (libstdc++, libgcc): the GCC Runtime
                         Library Exception and the GPL it adds to

  write_runtime_notices.py FOLDER --mingw-copyright FILE --gcc-copyright FILE --gpl3 FILE

Fails when a text is not where these files had it, rather than write a notice
that misses a part.
"""

import argparse
import os
import sys

# The parts of the mingw-w64 runtime that the linker takes into Glimster.aex
# (its map lists them), by the "Files:" entries of Debian's copyright file
# that cover them.
MINGW_PARTS = [
    ("*", "everything not named below, e.g. the secure C library functions (mingw-w64-crt/secapi)"),
    ("mingw-w64-crt/crt/*", "the DLL's start-up code and its runtime failure messages"),
    ("mingw-w64-crt/misc/*", "small C library functions (strnlen, wcsnlen, mbrtowc, ...)"),
    ("mingw-w64-crt/stdio/mingw_pformat.*", "printf"),
    ("mingw-w64-crt/gdtoa/*", "printf's conversion of numbers"),
]

MINGW_HEADING = """\
Glimster.aex holds parts of the mingw-w64 runtime, linked in by the mingw-w64
cross compiler that builds it:
{parts}
Their copyright and licence notices follow, as Debian's mingw-w64 package
(its copyright file) states them for these files.
"""

GCC_HEADING = """\
Glimster.aex holds parts of GCC's runtime libraries, linked in by the
mingw-w64 cross compiler (GCC) that builds it: libstdc++, the C++ standard
library, and libgcc (stack probes, exception unwinding, thread-local
storage). They are licensed under the GNU General Public License, version 3,
with the GCC Runtime Library Exception, version 3.1, which lets a program
that GCC compiled with them be conveyed under terms of its own choice. Both
texts follow: the exception as Debian's GCC package for mingw-w64 gives it,
then the licence.

"""
EXCEPTION_START = "GCC RUNTIME LIBRARY EXCEPTION"
EXCEPTION_END = "requirements of the license of GCC."


def fail(message):
    sys.exit(f"write_runtime_notices.py: {message}")


def paragraphs(path):
    """The paragraphs of a machine-readable Debian copyright file, each a list
    of (field, first line, continuation lines)."""
    with open(path, encoding="utf-8") as f:
        blocks = f.read().split("\n\n")
    result = []
    for block in blocks:
        fields = []
        for line in block.splitlines():
            if line[:1] in (" ", "\t") and fields:
                fields[-1][2].append(line)
            elif ":" in line:
                name, value = line.split(":", 1)
                fields.append((name, value.strip(), []))
        if fields:
            result.append(fields)
    return result


def field(paragraph, name):
    return next(((value, more) for field_name, value, more in paragraph if field_name == name), None)


def licence_text(lines):
    """A licence's continuation lines as plain text: one space of indent
    less, a lone "." an empty line."""
    return "\n".join("" if line.strip() == "." else line[1:] for line in lines)


def mingw_notice(copyright_path):
    parts = paragraphs(copyright_path)
    standalone = {}
    for paragraph in parts:
        licence = field(paragraph, "License")
        if field(paragraph, "Files") is None and licence and licence[1]:
            standalone[licence[0]] = licence_text(licence[1])
    wanted = {pattern for pattern, _ in MINGW_PARTS}
    found = set()
    sections = []
    for paragraph in parts:
        files = field(paragraph, "Files")
        if files is None:
            continue
        patterns = [files[0]] + [line.strip() for line in files[1]]
        chosen = [pattern for pattern in patterns if pattern in wanted]
        if not chosen:
            continue
        found.update(chosen)
        holders, more_holders = field(paragraph, "Copyright")
        name, text = field(paragraph, "License")
        text = licence_text(text) if text else standalone.get(name)
        if text is None:
            fail(f"{copyright_path}: no text of the licence {name}")
        sections.append("Files: " + "\n       ".join(chosen) + "\n"
                        + "Copyright: " + "\n".join([holders] + [line.strip() for line in more_holders]) + "\n"
                        + f"License: {name}\n\n{text}\n")
    missing = wanted - found
    if missing:
        fail(f"{copyright_path} names no files {sorted(missing)}")
    listed = "\n".join(f"  - {what} ({pattern})" for pattern, what in MINGW_PARTS)
    return MINGW_HEADING.format(parts=listed) + "\n" + "\n".join(
        "-" * 72 + "\n" + section for section in sections)


def gcc_notice(copyright_path, gpl_path):
    with open(copyright_path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    try:
        start = lines.index(EXCEPTION_START)
        end = lines.index(EXCEPTION_END, start)
    except ValueError:
        fail(f"{copyright_path} holds no GCC Runtime Library Exception")
    exception = "\n".join(lines[start:end + 1])
    with open(gpl_path, encoding="utf-8") as f:
        gpl = f.read()
    if not gpl.lstrip().startswith("GNU GENERAL PUBLIC LICENSE\n                       Version 3"):
        fail(f"{gpl_path} is not the GNU General Public License, version 3")
    return GCC_HEADING + exception + "\n\n" + "-" * 72 + "\n\n" + gpl.strip("\n") + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("--mingw-copyright", required=True)
    parser.add_argument("--gcc-copyright", required=True)
    parser.add_argument("--gpl3", required=True)
    args = parser.parse_args()
    notices = {"LICENSE-mingw-w64.txt": mingw_notice(args.mingw_copyright),
               "LICENSE-GCC.txt": gcc_notice(args.gcc_copyright, args.gpl3)}
    for name, text in notices.items():
        with open(os.path.join(args.folder, name), "w", encoding="utf-8", newline="\r\n") as f:
            f.write(text)


if __name__ == "__main__":
    main()
