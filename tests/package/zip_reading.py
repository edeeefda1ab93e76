"""What the zip checkers share: a failure's exit, an archive read back whole,
and SHA256SUMS checked against the files it names."""

import hashlib
import sys
import zipfile


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


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
