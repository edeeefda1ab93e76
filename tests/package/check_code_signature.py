"""Checks a thin Mach-O file's code signature as a Mac checks it: at the
offset its LC_CODE_SIGNATURE gives, an embedded-signature blob; in each of
its code directories, the ad-hoc flag and no certificate (CMS) blob beside
it, every code slot's hash recomputed over its page of the file and every
special slot's over the data it names (a blob of the signature, or the
bundle's Info.plist or resource seal), with the hash type, page size and
code limit the directory itself gives. Fails naming the first page or slot
that differs.

  check_code_signature.py <thin Mach-O> <arch> <bundle's Contents folder> [--required]

Without --required a file with no signature passes (x86_64 code needs none
on a Mac), but one that is there must hold.
"""

import os
import struct
import sys

from mach_o import (HASH_TYPES, LC_CODE_SIGNATURE, digest, find_command, page_span, read_code_directory,
                    slot_span)

EMBEDDED_SIGNATURE = 0xFADE0CC0
CODE_DIRECTORY = 0xFADE0C02
# The superblob's slot types: the code directory, its alternates, the CMS signature.
DIRECTORY_SLOTS = (0,) + tuple(range(0x1000, 0x1005))
CMS_SLOT = 0x10000
ADHOC = 0x2
# The special slots that name files of the bundle rather than blobs of the signature.
BUNDLE_FILES = {1: "Info.plist", 3: "_CodeSignature/CodeResources"}
SPECIAL_SLOTS = {1: "Info.plist", 2: "requirements", 3: "resource directory",
                 4: "application-specific", 5: "entitlements", 6: "rep-specific",
                 7: "DER entitlements"}


def fail(message):
    sys.exit("FAIL: " + message)


def check_directory(arch, data, signature_offset, at, blobs, contents):
    """Every slot of the code directory at `at` against what it hashes."""
    directory = read_code_directory(data, at)
    if directory.magic != CODE_DIRECTORY:
        fail("%s signature has a malformed code directory" % arch)
    if not directory.flags & ADHOC:
        fail("%s code directory is not ad hoc (flags 0x%x)" % (arch, directory.flags))
    if HASH_TYPES.get(directory.hash_type, (None, None))[1] != directory.hash_size:
        fail("%s code directory has hash type %d of %d bytes" % (arch, directory.hash_type, directory.hash_size))
    if directory.code_limit != signature_offset:
        fail("%s code directory signs %d bytes; the signature starts at %d"
             % (arch, directory.code_limit, signature_offset))
    pages = -(-directory.code_limit // (1 << directory.page_shift))
    if directory.code_count != pages:
        fail("%s code directory has %d code slots for %d pages" % (arch, directory.code_count, pages))
    if (directory.hash_offset < directory.special_count * directory.hash_size
            or directory.hash_offset + directory.code_count * directory.hash_size > directory.length):
        fail("%s code directory's slots lie outside it" % arch)

    for number in range(directory.code_count):
        page = page_span(directory, number)
        if digest(directory, data[page]) != data[slot_span(at, directory, number)]:
            fail("%s code page %d (bytes 0x%x-0x%x) does not match its hash in the code "
                 "directory" % (arch, number, page.start, page.stop))
    for number in range(1, directory.special_count + 1):
        held = data[slot_span(at, directory, -number)]
        if held == bytes(directory.hash_size):
            continue  # an empty slot: nothing of that kind is sealed
        name = SPECIAL_SLOTS.get(number, "special")
        if number in blobs:
            blob_length = struct.unpack_from(">I", data, blobs[number] + 4)[0]
            payload = data[blobs[number]:blobs[number] + blob_length]
        elif number in BUNDLE_FILES and os.path.isfile(os.path.join(contents, BUNDLE_FILES[number])):
            with open(os.path.join(contents, BUNDLE_FILES[number]), "rb") as f:
                payload = f.read()
        else:
            fail("%s special slot %d (%s) seals data the bundle does not have" % (arch, number, name))
        if digest(directory, payload) != held:
            fail("%s special slot %d (%s) does not match its hash in the code directory"
                 % (arch, number, name))
    print("%s: ad-hoc signature, %d pages of %d bytes, each matching its %s hash"
          % (arch, pages, 1 << directory.page_shift, HASH_TYPES[directory.hash_type][0].upper()))


def main():
    path, arch, contents = sys.argv[1:4]
    required = "--required" in sys.argv[4:]
    with open(path, "rb") as f:
        data = f.read()
    command = find_command(data, LC_CODE_SIGNATURE)
    if command is None:
        if required:
            fail("%s code is not signed (no LC_CODE_SIGNATURE)" % arch)
        print("%s: not signed" % arch)
        return
    offset, size = struct.unpack_from("<II", data, command + 8)
    magic, length, count = struct.unpack_from(">III", data, offset)
    if magic != EMBEDDED_SIGNATURE or length > size:
        fail("%s: no embedded signature at offset %d" % (arch, offset))
    blobs = {}
    for i in range(count):
        slot_type, blob_offset = struct.unpack_from(">II", data, offset + 12 + 8 * i)
        blobs[slot_type] = offset + blob_offset
    directories = [blobs[t] for t in DIRECTORY_SLOTS if t in blobs]
    if not directories:
        fail("%s signature has no code directory" % arch)
    if CMS_SLOT in blobs and struct.unpack_from(">I", data, blobs[CMS_SLOT] + 4)[0] > 8:
        fail("%s code is signed with a certificate, not ad hoc" % arch)
    for directory in directories:
        check_directory(arch, data, offset, directory, blobs, contents)


if __name__ == "__main__":
    main()
