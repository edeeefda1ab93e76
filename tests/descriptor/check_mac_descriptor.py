"""Reads the descriptor back from a macOS resource file (Glimster.rsrc), from
the file layout alone, and checks what the host relies on: the file laid
out as the generator lays it out, holding one 'PiPL' resource, id 16000,
whose big-endian properties name the general plug-in Glimster of the given
version and the entry point for each architecture, each padded to 4 bytes.

  check_mac_descriptor.py --rsrc Glimster.rsrc --version 3.0.0 --architectures "x86_64 arm64"
"""

import argparse
import struct
import sys


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def only_resource(data):
    """The bytes of the file's one resource, the file laid out as a classic
    resource file: the header (the data section's and the map's offsets and
    lengths), 240 reserved bytes, the data section (each resource's length
    and bytes), then the map (a copy of the header; the offsets of the type
    list and the name list; per type its code, its count and the offset of
    its references; per reference its id, name offset and data offset)."""
    header = struct.unpack_from(">4I", data, 0)
    data_offset, map_offset, data_length, map_length = header
    type_list, name_list = struct.unpack_from(">HH", data, map_offset + 24)
    types, code, count, references = struct.unpack_from(">H4sHH", data, map_offset + type_list)
    ident, name, located = struct.unpack_from(">hhI", data, map_offset + type_list + references)
    (length,) = struct.unpack_from(">I", data, data_offset)
    print(f"resource '{code.decode('latin-1')}' {ident}: {length} bytes")
    fields = {  # what each field is: (found, expected)
        "the data offset": (data_offset, 256),
        "the reserved bytes 16 to 255, zeros stripped": (data[16:256].strip(b"\0"), b""),
        "the map offset": (map_offset, data_offset + data_length),
        "the file's size": (len(data), map_offset + map_length),
        "the map's copy of the header": (struct.unpack_from(">4I", data, map_offset), header),
        "the type list offset": (type_list, 28),
        "the name list offset (an empty list at the map's end)": (name_list, map_length),
        "(types - 1, the type, its resources - 1, the id)": ((types, code, count, ident), (0, b"PiPL", 0, 16000)),
        "the reference list offset": (references, 2 + 8),
        "the name offset (no name)": (name, -1),
        "the resource's offset in the data section": (located & 0xFFFFFF, 0),
        "the data length": (data_length, 4 + length),
    }
    for field, (found, expected) in fields.items():
        if found != expected:
            fail(f"{field} is {found!r}; expected {expected!r}")
    return data[data_offset + 4:data_offset + 4 + length]


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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rsrc", required=True)
    parser.add_argument("--version", required=True, help="the project's version, e.g. 3.0.0")
    parser.add_argument("--architectures", required=True, help="e.g. 'x86_64' or 'x86_64 arm64'")
    args = parser.parse_args()

    with open(args.rsrc, "rb") as stream:
        props = properties(only_resource(stream.read()))
    for vendor, key, payload in props:
        print(f"  {vendor} {key} {payload.hex(' ')}")
    if any(vendor != "8BIM" for vendor, _, _ in props):
        fail("a property is not filed under 8BIM")
    by_key = {key: payload for _, key, payload in props}
    major, minor = (int(part) for part in args.version.split(".")[:2])
    entry = b"\x0eEntryPointFunc\0"  # Pascal strings, padded to 4 bytes
    wanted_entries = {"x86_64": "mi64", "arm64": "ma64"}
    expected = {"kind": b"AEgx", "name": b"\x08Glimster\0\0\0", "catg": b"\x0eGeneral Plugin\0",
                "vers": struct.pack(">I", major << 16 | minor)}
    expected.update({wanted_entries[arch]: entry for arch in args.architectures.split()})
    if [key for _, key, _ in props] != list(expected):
        fail(f"properties {[key for _, key, _ in props]}; expected {list(expected)}")
    for key, payload in expected.items():
        if by_key[key] != payload:
            fail(f"{key} is {by_key[key]!r}; expected {payload!r}")
    print(f"OK: PiPL 16000: AEgx Glimster, General Plugin, version {major}.{minor}, "
          f"EntryPointFunc for {args.architectures}")


if __name__ == "__main__":
    main()
