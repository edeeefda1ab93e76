"""Plants one fault at a time in a copy of the built universal Glimster.plugin
and expects scripts/check-macos-bundle.sh to reject it, naming the fault:

  a second exported symbol   the arm64 slice replaced by a bundle exporting two functions
  minos 13.0                 the x86_64 slice's LC_BUILD_VERSION raised to macOS 13.0
  a missing arm64 slice      the code reduced to its x86_64 slice
  an arm64 slice that throws without exception tables
                             the arm64 slice replaced by a bundle that raises an exception
                             and has no tables to catch it (what ld64.lld 14 made of ours)
  a changed code byte, a changed __cstring byte, a changed code slot, a special slot
                             one byte of the signed arm64 slice changed after the link: in
                             __TEXT,__text, in __TEXT,__cstring, in a code slot's hash, in
                             the code directory's count of special slots (which then seals
                             Info.plist with bytes that are no hash of it)

and, for each signature fault, expects glimster-host --macos arm64 to refuse
the copy with the runner's one line and exit status 3, as a Mac's kernel
refuses a page whose hash differs.

  check_macos_bundle_faults.py --check scripts/check-macos-bundle.sh --bundle Glimster.plugin
      --lipo llvm-lipo --zig zig --ld64 ld64.lld --libsystem libSystem.12.tbd --host glimster-host
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

from mach_o import LC_SEGMENT_64, code_directory, find_command, read_code_directory, slice_range, slot_span

LC_BUILD_VERSION = 0x32
PAGE = 4096  # the pages ld64.lld hashes


def section_middle(data, start, segment, section):
    """The file offset, within the slice at `start`, of a section's middle byte."""
    at = find_command(data, LC_SEGMENT_64, start, segment)
    for s in range(struct.unpack_from("<I", data, at + 64)[0]):
        header = at + 72 + 80 * s
        if data[header:header + 16].rstrip(b"\0") == section:
            length = struct.unpack_from("<Q", data, header + 40)[0]
            return struct.unpack_from("<I", data, header + 48)[0] + length // 2
    raise SystemExit("no section %s,%s" % (segment, section))


def change_arm64_byte(code, where):
    """Flips the low bit of one byte of the arm64 slice, at the slice offset where(data,
    start) gives; returns that offset."""
    with open(code, "r+b") as f:
        data = bytearray(f.read())
        start = slice_range(data, "arm64")[0]
        offset = where(data, start)
        data[start + offset] ^= 1
        f.seek(0)
        f.write(data)
    return offset


def raise_minos(code, arch, version):
    """Rewrites the minos field of one slice's LC_BUILD_VERSION in a universal file."""
    with open(code, "r+b") as f:
        data = bytearray(f.read())
        build_version = find_command(data, LC_BUILD_VERSION, slice_range(data, arch)[0])
        struct.pack_into("<I", data, build_version + 12, version)
        f.seek(0)
        f.write(data)


def arm64_slice(args, work, name, source_text):
    """An arm64 bundle built from one C source with zig's clang and the linker under test."""
    source = os.path.join(work, name + ".c")
    with open(source, "w") as f:
        f.write(source_text)
    env = dict(os.environ, ZIG_GLOBAL_CACHE_DIR=os.path.join(work, "zig-cache"),
               ZIG_LOCAL_CACHE_DIR=os.path.join(work, "zig-cache"))
    subprocess.run([args.zig, "cc", "-target", "aarch64-macos.12.1", "-c", source, "-o",
                    source + ".o"], check=True, env=env)
    subprocess.run([args.ld64, "-arch", "arm64", "-bundle", "-platform_version", "macos", "12.1",
                    "12.1", source + ".o", args.libsystem, "-o", source + ".bundle"], check=True)
    return source + ".bundle"


def page_named(page):
    return ("code page %d (bytes 0x%x-0x%x) does not match its hash in the code directory"
            % (page, page * PAGE, (page + 1) * PAGE))


def changed_page(section):
    """The middle byte of an arm64 __TEXT section changed; its page must be named."""
    def plant(code):
        middle = lambda data, start: section_middle(data, start, b"__TEXT", section)
        return page_named(change_arm64_byte(code, middle) // PAGE)
    return plant


def changed_code_slot(code):
    """A byte of code slot 5's SHA-256 changed: page 5 must be named."""
    def slot_5(data, start):
        at = code_directory(data, start)
        return slot_span(at, read_code_directory(data, start + at), 5).start + 7
    change_arm64_byte(code, slot_5)
    return page_named(5)


def special_slot(code):
    """The code directory's special-slot count (big-endian, at +24) raised from 0 to 1."""
    change_arm64_byte(code, lambda data, start: code_directory(data, start) + 27)
    return "special slot 1 (Info.plist) does not match its hash in the code directory"


def main():
    parser = argparse.ArgumentParser()
    for option in ("--check", "--bundle", "--lipo", "--zig", "--ld64", "--libsystem", "--host"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as work:

        def replace_arm64(code, name, source_text):
            subprocess.run([args.lipo, code, "-replace", "arm64",
                            arm64_slice(args, work, name, source_text), "-output", code],
                           check=True)

        def second_export(code):
            replace_arm64(code, "two_exports", "int EntryPointFunc(void) { return 0; }\n"
                          "int SecondExport(void) { return 1; }\n")
            return "arm64 code exports _EntryPointFunc _SecondExport"

        def throws_without_tables(code):
            replace_arm64(code, "no_tables", "void _Unwind_RaiseException(void *);\n"
                          "int EntryPointFunc(void) { _Unwind_RaiseException(0); return 0; }\n")
            return "arm64 code raises exceptions but has no exception tables (__gcc_except_tab)"

        def minos_13(code):
            raise_minos(code, "x86_64", 0x000D0000)
            return "x86_64 code needs macOS 13.0; expected minos 12.1"

        def no_arm64(code):
            subprocess.run([args.lipo, code, "-thin", "x86_64", "-output", code], check=True)
            return "architectures x86_64; expected x86_64 arm64"

        # Each planting returns what the check must say; for a signature fault
        # (the runner's too) that is what follows "arm64 ".
        faults = [
            ("a second export", second_export, False),
            ("minos 13.0", minos_13, False),
            ("a missing arm64 slice", no_arm64, False),
            ("no exception tables", throws_without_tables, False),
            ("a changed code byte", changed_page(b"__text"), True),
            ("a changed __cstring byte", changed_page(b"__cstring"), True),
            ("a changed code slot", changed_code_slot, True),
            ("a special slot", special_slot, True),
        ]
        failures = 0
        for name, plant, signed in faults:
            bundle = os.path.join(work, name.replace(" ", "-"), "Glimster.plugin")
            shutil.copytree(args.bundle, bundle, symlinks=True)
            code = os.path.join(bundle, "Contents", "MacOS", "Glimster")
            named = plant(code)
            expected = "arm64 " + named if signed else named
            run = subprocess.run([args.check, bundle, "x86_64 arm64"], capture_output=True, text=True)
            caught = run.returncode != 0 and ("FAIL: " + expected) in run.stderr
            print("%s: %s" % (name, run.stderr.strip().splitlines()[-1] if run.stderr else "passed"))
            if not caught:
                print("  not caught: expected exit status non-zero and 'FAIL: %s'" % expected)
                failures += 1
            if signed:
                failures += not runner_refuses(args.host, work, bundle, code, named)
        sys.exit(1 if failures else 0)


def runner_refuses(host, work, bundle, code, named):
    """glimster-host --macos arm64 ends at the load with the runner's one line and status 3."""
    run = subprocess.run([host, "--macos", "arm64", bundle, "--desktop", work], capture_output=True,
                         text=True, env=dict(os.environ, TMPDIR=work))
    line = "GlimsterMacOS.so: cannot load %s (arm64): %s\n" % (code, named)
    print("  glimster-host --macos arm64: status %d, %s" % (run.returncode, run.stderr.strip()))
    if run.returncode == 3 and run.stderr == line:
        return True
    print("  not refused: expected status 3 and only the line %r" % line)
    return False


if __name__ == "__main__":
    main()
