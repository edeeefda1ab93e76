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

import hashlib
import os
import struct
import sys

LC_CODE_SIGNATURE = 0x1D
EMBEDDED_SIGNATURE = 0xFADE0CC0
CODE_DIRECTORY = 0xFADE0C02
# The superblob's slot types: the code directory, its alternates, the CMS signature.
DIRECTORY_SLOTS = (0,) + tuple(range(0x1000, 0x1005))
CMS_SLOT = 0x10000
ADHOC = 0x2
# <Security/CSCommonPriv.h> hash types: the hash, and how many of its bytes a slot keeps.
HASH_TYPES = {1: ("sha1", 20), 2: ("sha256", 32), 3: ("sha256", 20), 4: ("sha384", 48)}
# The special slots that name files of the bundle rather than blobs of the signature.
BUNDLE_FILES = {1: "Info.plist", 3: "_CodeSignature/CodeResources"}
SPECIAL_SLOTS = {1: "Info.plist", 2: "requirements", 3: "resource directory",
                 4: "application-specific", 5: "entitlements", 6: "rep-specific",
                 7: "DER entitlements"}


def fail(message):
    sys.exit("FAIL: " + message)


def load_commands(data, start=0):
    """The load commands of the thin Mach-O at `start`: (file offset, cmd) each."""
    at = start + 32
    for _ in range(struct.unpack_from("<I", data, start + 16)[0]):
        cmd, size = struct.unpack_from("<II", data, at)
        yield at, cmd
        at += size


def signature_range(data):
    """The offset and size LC_CODE_SIGNATURE gives, or None."""
    for at, cmd in load_commands(data):
        if cmd == LC_CODE_SIGNATURE:
            return struct.unpack_from("<II", data, at + 8)
    return None


def check_directory(arch, data, signature_offset, directory, blobs, contents):
    """Every slot of one code directory against what it hashes; the number of pages."""
    (magic, length, version, flags, hash_offset, _, special_count, code_count, code_limit,
     hash_size, hash_type, _, page_shift) = struct.unpack_from(">9I4B", data, directory)
    if magic != CODE_DIRECTORY:
        fail("%s signature has a malformed code directory" % arch)
    if version >= 0x20300:
        code_limit = struct.unpack_from(">Q", data, directory + 56)[0] or code_limit
    if not flags & ADHOC:
        fail("%s code directory is not ad hoc (flags 0x%x)" % (arch, flags))
    if hash_type not in HASH_TYPES or HASH_TYPES[hash_type][1] != hash_size:
        fail("%s code directory has hash type %d of %d bytes" % (arch, hash_type, hash_size))
    algorithm, kept = HASH_TYPES[hash_type]
    page = 1 << page_shift
    if code_limit != signature_offset:
        fail("%s code directory signs %d bytes; the signature starts at %d"
             % (arch, code_limit, signature_offset))
    if code_count != -(-code_limit // page):
        fail("%s code directory has %d code slots for %d pages" % (arch, code_count,
                                                                    -(-code_limit // page)))
    if hash_offset < special_count * hash_size or hash_offset + code_count * hash_size > length:
        fail("%s code directory's slots lie outside it" % arch)

    def slot(index):
        at = directory + hash_offset + index * hash_size
        return data[at:at + hash_size]

    def digest(payload):
        return hashlib.new(algorithm, payload).digest()[:kept]

    for number in range(code_count):
        start, end = number * page, min((number + 1) * page, code_limit)
        if digest(data[start:end]) != slot(number):
            fail("%s code page %d (bytes 0x%x-0x%x) does not match its hash in the code "
                 "directory" % (arch, number, start, end))
    for number in range(1, special_count + 1):
        held = slot(-number)
        if held == bytes(hash_size):
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
        if digest(payload) != held:
            fail("%s special slot %d (%s) does not match its hash in the code directory"
                 % (arch, number, name))
    return code_count, page, algorithm


def main():
    path, arch, contents = sys.argv[1:4]
    required = "--required" in sys.argv[4:]
    with open(path, "rb") as f:
        data = f.read()
    found = signature_range(data)
    if found is None:
        if required:
            fail("%s code is not signed (no LC_CODE_SIGNATURE)" % arch)
        print("%s: not signed" % arch)
        return
    offset, size = found
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
        pages, page, algorithm = check_directory(arch, data, offset, directory, blobs, contents)
        print("%s: ad-hoc signature, %d pages of %d bytes, each matching its %s hash"
              % (arch, pages, page, algorithm.upper()))


if __name__ == "__main__":
    main()
