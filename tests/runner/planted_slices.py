"""Plants one fault at a time in a copy of this build's slice of Glimster.plugin
and expects glimster-host --macos ARCH COPY to end at the load with the
runner's one line naming it and exit status 3, never a crash: each a slice
the runner cannot load as dyld would. A changed arm64 slice is sealed again
(every code slot rehashed), so that the fault, not the signature, is what
the runner meets. Last, a slice whose __DATA is flagged SG_READ_ONLY: made
read-only once the fixups are in, as dyld makes __DATA_CONST, its first
write faults.

  planted_slices.py --arch x86_64 --bundle Glimster.plugin -- [EMULATOR] glimster-host
"""

import argparse
import os
import resource
import signal
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "package"))
from mach_o import (CPU_TYPES, LC_CODE_SIGNATURE, LC_SEGMENT_64, code_directory, digest,  # noqa: E402
                    find_command, load_commands, page_span, read_code_directory, slice_range, slot_span)

LC_DYSYMTAB, LC_UUID, LC_LOAD_DYLIB = 0xB, 0x1B, 0xC
LC_DYLD_INFO_ONLY, LC_RPATH = 0x80000022, 0x8000001C
SG_READ_ONLY = 0x10


def thin(path, arch):
    """The bytes of one slice of a universal Mach-O file."""
    with open(path, "rb") as f:
        data = f.read()
    offset, size = slice_range(data, arch)
    return bytearray(data[offset:offset + size])


def rewrite_commands(data, change):
    """The load commands, as a list of byte strings, passed through `change`
    and written back in place of the old ones, zeros after them."""
    blobs = [bytes(data[at:at + size]) for at, _, size in load_commands(data)]
    blobs = change(blobs)
    area = b"".join(blobs)
    old_size = struct.unpack_from("<I", data, 20)[0]
    struct.pack_into("<II", data, 16, len(blobs), len(area))
    data[32:32 + old_size] = area + bytes(old_size - len(area))


def reseal(data):
    """Every code slot of the code directory rehashed over the changed file, as
    the linker signs it."""
    at = code_directory(data)
    if at is None:
        return
    directory = read_code_directory(data, at)
    for number in range(directory.code_count):
        data[slot_span(at, directory, number)] = digest(directory, data[page_span(directory, number)])


def drop(wanted):
    return lambda data: rewrite_commands(
        data, lambda blobs: [b for b in blobs if struct.unpack_from("<I", b)[0] != wanted])


def classic_relocations(data):
    struct.pack_into("<I", data, find_command(data, LC_DYSYMTAB) + 68, 1)  # nextrel


def weak_binds(data):
    at = find_command(data, LC_DYLD_INFO_ONLY)
    bind = struct.unpack_from("<II", data, at + 16)  # bind_off, bind_size
    struct.pack_into("<II", data, at + 24, *bind)    # weak_bind_off, weak_bind_size


def unknown_command(data):
    struct.pack_into("<I", data, find_command(data, LC_UUID), LC_RPATH)


def libraries_swapped(data):
    """Foundation's and CoreFoundation's LC_LOAD_DYLIB swapped: each ordinal names the other."""
    def swap(blobs):
        dylibs = [i for i, b in enumerate(blobs) if struct.unpack_from("<I", b)[0] == LC_LOAD_DYLIB]
        first, second = dylibs[0], dylibs[1]
        blobs[first], blobs[second] = blobs[second], blobs[first]
        return blobs
    rewrite_commands(data, swap)


def data_read_only(data):
    struct.pack_into("<I", data, find_command(data, LC_SEGMENT_64, segment=b"__DATA") + 68, SG_READ_ONLY)


def uuid_index(data):
    return [cmd for _, cmd, _ in load_commands(data)].index(LC_UUID)


# (fault, slices it applies to, planting, the runner's words; None: the process faults)
FAULTS = [
    ("no LC_DYLD_INFO_ONLY", ("x86_64", "arm64"), drop(LC_DYLD_INFO_ONLY),
     "the slice has no LC_DYLD_INFO_ONLY: no rebase, bind or export information"),
    ("classic relocations", ("x86_64", "arm64"), classic_relocations,
     "LC_DYSYMTAB has 1 external and 0 local relocations, which the runner does not apply"),
    ("a weak-bind stream", ("x86_64", "arm64"), weak_binds,
     "the slice has a weak-bind stream, which the runner does not apply"),
    ("an unknown load command", ("x86_64", "arm64"), unknown_command,
     "load command {uuid} is 0x8000001c, which the runner does not know"),
    ("a bind to the wrong library", ("x86_64", "arm64"), libraries_swapped,
     "import ___CFConstantStringClassReference from Foundation: Foundation does not define it, "
     "CoreFoundation does"),
    ("no signature", ("arm64",), drop(LC_CODE_SIGNATURE),
     "the slice is not signed (no LC_CODE_SIGNATURE); Apple silicon runs no unsigned code"),
    ("__DATA read-only after the fixups", ("x86_64", "arm64"), data_read_only, None),
]


def no_core_file():
    resource.setrlimit(resource.RLIMIT_CORE, (0, 0))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--arch", required=True, choices=sorted(CPU_TYPES))
    parser.add_argument("--bundle", required=True)
    parser.add_argument("host", nargs="+")
    args = parser.parse_args()
    original = thin(os.path.join(args.bundle, "Contents", "MacOS", "Glimster"), args.arch)

    failures = 0
    with tempfile.TemporaryDirectory() as work:
        for name, arches, plant, words in FAULTS:
            if args.arch not in arches:
                continue
            data = bytearray(original)
            expected_words = words and words.format(uuid=uuid_index(data))
            plant(data)
            reseal(data)
            copy = os.path.join(work, name.replace(" ", "-"))
            with open(copy, "wb") as f:
                f.write(data)
            # In the work folder, with no core file left by the fault.
            run = subprocess.run(args.host + ["--macos", args.arch, copy, "--desktop", work],
                                 capture_output=True, text=True, cwd=work,
                                 env=dict(os.environ, TMPDIR=work), preexec_fn=no_core_file)
            print("%s: status %d, %s" % (name, run.returncode, run.stderr.strip()))
            if words is None:
                refused = run.returncode == -signal.SIGSEGV
                wanted = "killed by SIGSEGV"
            else:
                line = "GlimsterMacOS.so: cannot load %s (%s): %s\n" % (copy, args.arch, expected_words)
                refused = run.returncode == 3 and run.stderr == line
                wanted = "status 3 and only the line %r" % line
            if not refused:
                print("  expected %s" % wanted)
                failures += 1
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
