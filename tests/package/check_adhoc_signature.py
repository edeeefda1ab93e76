"""Checks that a thin Mach-O file carries an ad-hoc code signature: at the
offset its LC_CODE_SIGNATURE gives, an embedded-signature blob whose code
directory has the ad-hoc flag and no certificate (CMS) blob beside it.

  check_adhoc_signature.py <thin Mach-O> <dataoff>
"""

import struct
import sys

EMBEDDED_SIGNATURE = 0xFADE0CC0
CODE_DIRECTORY = 0xFADE0C02
CMS_SIGNATURE = 0xFADE0B01
ADHOC = 0x2


def main():
    path, offset = sys.argv[1], int(sys.argv[2])
    with open(path, "rb") as f:
        data = f.read()
    magic, _, count = struct.unpack_from(">III", data, offset)
    if magic != EMBEDDED_SIGNATURE:
        sys.exit("FAIL: no embedded signature at offset %d" % offset)
    blobs = {}
    for i in range(count):
        _, blob_offset = struct.unpack_from(">II", data, offset + 12 + 8 * i)
        (blob_magic,) = struct.unpack_from(">I", data, offset + blob_offset)
        blobs[blob_magic] = offset + blob_offset
    if CODE_DIRECTORY not in blobs:
        sys.exit("FAIL: the signature has no code directory")
    (flags,) = struct.unpack_from(">I", data, blobs[CODE_DIRECTORY] + 12)
    if not flags & ADHOC:
        sys.exit("FAIL: the code directory is not ad hoc (flags 0x%x)" % flags)
    if CMS_SIGNATURE in blobs:
        (length,) = struct.unpack_from(">I", data, blobs[CMS_SIGNATURE] + 4)
        if length > 8:
            sys.exit("FAIL: signed with a certificate, not ad hoc")
    print("arm64: ad-hoc signature (code directory flags 0x%x)" % flags)


if __name__ == "__main__":
    main()
