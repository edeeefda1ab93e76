"""Plants one fault at a time in a copy of the built universal Glimster.plugin
and expects scripts/check-macos-bundle.sh to reject it, naming the fault:

  a second exported symbol   the arm64 slice replaced by a bundle exporting two functions
  minos 13.0                 the x86_64 slice's LC_BUILD_VERSION raised to macOS 13.0
  a missing arm64 slice      the code reduced to its x86_64 slice
  an arm64 slice that throws without exception tables
                             the arm64 slice replaced by a bundle that raises an exception
                             and has no tables to catch it (what ld64.lld 14 made of ours)

  check_macos_bundle_faults.py --check scripts/check-macos-bundle.sh --bundle Glimster.plugin
      --lipo llvm-lipo --zig zig --ld64 ld64.lld --libsystem libSystem.12.tbd
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

FAT_MAGIC = 0xCAFEBABE
CPU_TYPE_X86_64 = 0x01000007
LC_BUILD_VERSION = 0x32


def raise_minos(code, cputype, version):
    """Rewrites the minos field of one slice's LC_BUILD_VERSION in a fat file."""
    with open(code, "r+b") as f:
        data = bytearray(f.read())
        magic, count = struct.unpack_from(">II", data, 0)
        assert magic == FAT_MAGIC
        for i in range(count):
            slice_type, _, offset, _, _ = struct.unpack_from(">iiIII", data, 8 + 20 * i)
            if slice_type != cputype:
                continue
            ncmds = struct.unpack_from("<I", data, offset + 16)[0]
            at = offset + 32
            for _ in range(ncmds):
                cmd, size = struct.unpack_from("<II", data, at)
                if cmd == LC_BUILD_VERSION:
                    struct.pack_into("<I", data, at + 12, version)
                    f.seek(0)
                    f.write(data)
                    return
                at += size
    raise SystemExit("no LC_BUILD_VERSION in the slice")


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


def main():
    parser = argparse.ArgumentParser()
    for option in ("--check", "--bundle", "--lipo", "--zig", "--ld64", "--libsystem"):
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

        def throws_without_tables(code):
            replace_arm64(code, "no_tables", "void _Unwind_RaiseException(void *);\n"
                          "int EntryPointFunc(void) { _Unwind_RaiseException(0); return 0; }\n")

        def minos_13(code):
            raise_minos(code, CPU_TYPE_X86_64, 0x000D0000)

        def no_arm64(code):
            subprocess.run([args.lipo, code, "-thin", "x86_64", "-output", code], check=True)

        faults = [
            ("a second export", second_export, "arm64 code exports _EntryPointFunc _SecondExport"),
            ("minos 13.0", minos_13, "x86_64 code needs macOS 13.0; expected minos 12.1"),
            ("a missing arm64 slice", no_arm64, "architectures x86_64; expected x86_64 arm64"),
            ("no exception tables", throws_without_tables,
             "arm64 code raises exceptions but has no exception tables (__gcc_except_tab)"),
        ]
        failures = 0
        for name, plant, expected in faults:
            bundle = os.path.join(work, name.replace(" ", "-"), "Glimster.plugin")
            shutil.copytree(args.bundle, bundle, symlinks=True)
            plant(os.path.join(bundle, "Contents", "MacOS", "Glimster"))
            run = subprocess.run([args.check, bundle, "x86_64 arm64"], capture_output=True, text=True)
            caught = run.returncode != 0 and ("FAIL: " + expected) in run.stderr
            print("%s: %s" % (name, run.stderr.strip().splitlines()[-1] if run.stderr else "passed"))
            if not caught:
                print("  not caught: expected exit status non-zero and 'FAIL: %s'" % expected)
                failures += 1
        sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
