"""Reads the descriptor back from a macOS resource file (Glimster.rsrc), from
the file layout alone, and checks what the host relies on: one 'PiPL'
resource, id 16000, whose big-endian properties name the general plug-in
Glimster of the given version and the entry point for each architecture.

  check_mac_descriptor.py --rsrc Glimster.rsrc --version 3.0.0 --architectures "x86_64 arm64"
"""

import argparse
import struct
import sys


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def resources(data):
    """{(type, id): bytes} of a classic resource file."""
    data_offset, map_offset = struct.unpack_from(">II", data, 0)
    type_list = map_offset + struct.unpack_from(">H", data, map_offset + 24)[0]
    found = {}
    (type_count,) = struct.unpack_from(">H", data, type_list)
    for t in range(type_count + 1):
        code, count, references = struct.unpack_from(">4sHH", data, type_list + 2 + 8 * t)
        for r in range(count + 1):
            ident, _, located = struct.unpack_from(">hhI", data, type_list + references + 12 * r)
            at = data_offset + (located & 0xFFFFFF)
            (length,) = struct.unpack_from(">I", data, at)
            found[(code.decode("latin-1"), ident)] = data[at + 4:at + 4 + length]
    return found


def properties(pipl):
    """[(vendor, key, payload)] of a big-endian descriptor."""
    leading, version, count = struct.unpack_from(">HII", pipl, 0)
    if (leading, version) != (1, 0):
        fail(f"descriptor header {leading}, {version}")
    at, found = 10, []
    for _ in range(count):
        vendor, key, ident, length = struct.unpack_from(">4s4sII", pipl, at)
        if ident != 0:
            fail(f"property {key!r} has id {ident}")
        found.append((vendor.decode("latin-1"), key.decode("latin-1"), pipl[at + 16:at + 16 + length]))
        at += 16 + length
    if at != len(pipl):
        fail(f"the properties end at {at}, the resource at {len(pipl)}")
    return found


def pascal(payload):
    return payload[1:1 + payload[0]].decode("latin-1")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rsrc", required=True)
    parser.add_argument("--version", required=True, help="the project's version, e.g. 3.0.0")
    parser.add_argument("--architectures", required=True, help="e.g. 'x86_64' or 'x86_64 arm64'")
    args = parser.parse_args()

    with open(args.rsrc, "rb") as stream:
        found = resources(stream.read())
    print("resources: " + ", ".join(f"'{code}' {ident} ({len(data)} bytes)" for (code, ident), data in found.items()))
    if list(found) != [("PiPL", 16000)]:
        fail("expected exactly one resource, 'PiPL' 16000")
    props = properties(found[("PiPL", 16000)])
    for vendor, key, payload in props:
        print(f"  {vendor} {key} {payload.hex(' ')}")
    if any(vendor != "8BIM" for vendor, _, _ in props):
        fail("a property is not filed under 8BIM")
    by_key = {key: payload for _, key, payload in props}
    major, minor = (int(part) for part in args.version.split(".")[:2])
    entry = b"\x0eEntryPointFunc\0"  # a Pascal string, padded to 4 bytes
    wanted_entries = {"x86_64": "mi64", "arm64": "ma64"}
    expected = {"kind": b"AEgx", "vers": struct.pack(">I", major << 16 | minor)}
    expected.update({wanted_entries[arch]: entry for arch in args.architectures.split()})
    keys = ["kind", "name", "catg", "vers"] + [wanted_entries[arch] for arch in args.architectures.split()]
    if [key for _, key, _ in props] != keys:
        fail(f"properties {[key for _, key, _ in props]}; expected {keys}")
    for key, payload in expected.items():
        if by_key[key] != payload:
            fail(f"{key} is {by_key[key]!r}; expected {payload!r}")
    if pascal(by_key["name"]) != "Glimster" or pascal(by_key["catg"]) != "General Plugin":
        fail(f"name {pascal(by_key['name'])!r}, category {pascal(by_key['catg'])!r}")
    print(f"OK: PiPL 16000: AEgx Glimster, General Plugin, version {major}.{minor}, "
          f"EntryPointFunc for {args.architectures}")


if __name__ == "__main__":
    main()
