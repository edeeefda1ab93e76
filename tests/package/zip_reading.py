"""What the zip checkers share: an archive read back whole, its entries'
dates, and SHA256SUMS checked against the files it names."""

import hashlib
import struct
import time
import zipfile

from rebuilds import fail


def read_archive(path):
    """The archive's members (zipfile.ZipInfo, in order) and the bytes of each file."""
    with zipfile.ZipFile(path) as opened:
        if opened.testzip() is not None:
            fail("a member's CRC does not match")
        members = opened.infolist()
        contents = {m.filename: opened.read(m) for m in members if not m.filename.endswith("/")}
    return members, contents


def check_sums(contents, expected_names):
    """SHA256SUMS lists exactly `expected_names`, each with its file's SHA-256."""
    sums = {}
    for line in contents["SHA256SUMS"].decode("ascii").splitlines():
        digest, name = line.split("  ", 1)
        sums[name] = digest
    if sorted(sums) != sorted(expected_names):
        fail(f"SHA256SUMS lists {sorted(sums)}; expected {sorted(expected_names)}")
    for name, digest in sums.items():
        if hashlib.sha256(contents[name]).hexdigest() != digest:
            fail(f"the SHA-256 of {name} is not the one in SHA256SUMS")


def extended_time(extra):
    """The modification time of an entry's extended timestamp field ("UT",
    0x5455), or None."""
    at = 0
    while at + 4 <= len(extra):
        kind, size = struct.unpack_from("<HH", extra, at)
        if kind == 0x5455 and size >= 5 and extra[at + 4] & 1:
            return struct.unpack_from("<I", extra, at + 5)[0]
        at += 4 + size
    return None


def check_dates(members, date):
    """Every entry dated `date` (seconds since 1970 UTC): its MS-DOS time
    field that time in UTC, to the even second below, and its extended
    timestamp field the seconds themselves."""
    utc = time.gmtime(date)
    expected = utc[:5] + (utc.tm_sec - utc.tm_sec % 2,)
    for member in members:
        if member.date_time != expected or extended_time(member.extra) != date:
            fail(f"{member.filename} is dated {member.date_time}, extended time {extended_time(member.extra)}; "
                 f"expected {expected} and {date}")
    print(f"every entry dated {time.strftime('%Y-%m-%d %H:%M:%S', utc)} UTC")
