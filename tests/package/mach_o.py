"""What the Mach-O checkers and planters share, read from the file layout
alone: a slice of a universal file, a thin file's load commands, and its
code directory with the pages and slots it hashes."""

import hashlib
import struct
from collections import namedtuple

FAT_MAGIC = 0xCAFEBABE
CPU_TYPES = {"x86_64": 0x01000007, "arm64": 0x0100000C}
LC_SEGMENT_64 = 0x19
LC_CODE_SIGNATURE = 0x1D
# <Security/CSCommonPriv.h> hash types: the hash, and how many of its bytes a slot keeps.
HASH_TYPES = {1: ("sha1", 20), 2: ("sha256", 32), 3: ("sha256", 20), 4: ("sha384", 48)}

# A code directory's fields up to the page size, big-endian.
CodeDirectory = namedtuple("CodeDirectory", "magic length version flags hash_offset ident_offset special_count "
                                            "code_count code_limit hash_size hash_type platform page_shift")


def slice_range(data, arch):
    """The offset and size of one architecture's slice in a universal file."""
    magic, count = struct.unpack_from(">II", data, 0)
    assert magic == FAT_MAGIC
    for i in range(count):
        cputype, _, offset, size, _ = struct.unpack_from(">iiIII", data, 8 + 20 * i)
        if cputype == CPU_TYPES[arch]:
            return offset, size
    raise SystemExit("no %s slice" % arch)


def load_commands(data, start=0):
    """The load commands of the thin Mach-O at `start`: (file offset, cmd, size) each."""
    found, at = [], start + 32
    for _ in range(struct.unpack_from("<I", data, start + 16)[0]):
        cmd, size = struct.unpack_from("<II", data, at)
        found.append((at, cmd, size))
        at += size
    return found


def find_command(data, wanted, start=0, segment=None):
    """The file offset of the first load command `wanted` (a segment: the one
    of that name) of the thin Mach-O at `start`, or None."""
    for at, cmd, _ in load_commands(data, start):
        if cmd == wanted and (segment is None or data[at + 8:at + 24].rstrip(b"\0") == segment):
            return at
    return None


def code_directory(data, start=0):
    """The offset, within the slice at `start`, of its signature's first blob
    (the code directory), or None if it is not signed."""
    at = find_command(data, LC_CODE_SIGNATURE, start)
    if at is None:
        return None
    signature = struct.unpack_from("<I", data, at + 8)[0]
    return signature + struct.unpack_from(">I", data, start + signature + 16)[0]


def read_code_directory(data, at):
    """The code directory at file offset `at`; its code limit the 64-bit one
    where its version has that field and it is set."""
    directory = CodeDirectory(*struct.unpack_from(">9I4B", data, at))
    if directory.version >= 0x20300:
        limit = struct.unpack_from(">Q", data, at + 56)[0]
        directory = directory._replace(code_limit=limit or directory.code_limit)
    return directory


def slot_span(at, directory, number):
    """Where slot `number` of the code directory at `at` lies in the file
    (a negative number: special slot -number)."""
    start = at + directory.hash_offset + number * directory.hash_size
    return slice(start, start + directory.hash_size)


def page_span(directory, number):
    """Where code page `number` lies in the thin file."""
    page = 1 << directory.page_shift
    return slice(number * page, min((number + 1) * page, directory.code_limit))


def digest(directory, payload):
    """The hash of `payload` as a slot of the code directory holds it."""
    algorithm, kept = HASH_TYPES[directory.hash_type]
    return hashlib.new(algorithm, payload).digest()[:kept]
