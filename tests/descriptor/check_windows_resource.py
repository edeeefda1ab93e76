"""Compiles the descriptor's resource script with a Windows resource compiler
and reads the compiled resource file (.res) back: one resource of the string
type "PIPL", id 16000, language 1033, whose data are the generated descriptor."""

import argparse
import os
import struct
import subprocess
import sys
import tempfile
import unittest

ARGS = argparse.Namespace()


def compile_command(output):
    if ARGS.style == "windres":
        return [ARGS.compiler, "-i", ARGS.script, "-O", "res", "-o", output]
    # rc-style compilers read any argument that starts with "/" as an option,
    # so an absolute input path such as /check/... would be taken for /C.
    # The script is named relative to its own folder, where the compiler runs.
    return [ARGS.compiler, "/FO", output, os.path.basename(ARGS.script)]


def align4(offset):
    return (offset + 3) & ~3


def read_name_or_id(data, offset):
    """A .res type or name: 0xFFFF then a 16-bit id, or a NUL-terminated UTF-16LE string."""
    (first,) = struct.unpack_from("<H", data, offset)
    if first == 0xFFFF:
        (number,) = struct.unpack_from("<H", data, offset + 2)
        return number, offset + 4
    end = offset
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def read_resources(data):
    """Every entry of a .res file: (type, name, language, data)."""
    resources = []
    offset = 0
    while offset < len(data):
        data_size, header_size = struct.unpack_from("<II", data, offset)
        kind, at = read_name_or_id(data, offset + 8)
        name, at = read_name_or_id(data, at)
        at = align4(at)
        _data_version, _memory_flags, language = struct.unpack_from("<IHH", data, at)
        body_start = offset + header_size
        resources.append((kind, name, language, data[body_start:body_start + data_size]))
        offset = align4(body_start + data_size)
    return resources


class CompiledDescriptorResource(unittest.TestCase):
    def test_holds_only_the_descriptor_as_pipl_16000_in_us_english(self):
        with tempfile.TemporaryDirectory() as folder:
            output = os.path.join(folder, "Glimster.res")
            subprocess.run(compile_command(output), check=True,
                           cwd=os.path.dirname(os.path.abspath(ARGS.script)))
            with open(output, "rb") as stream:
                compiled = stream.read()
        with open(ARGS.descriptor, "rb") as stream:
            descriptor = stream.read()
        # A .res file opens with an empty entry that only marks the format.
        resources = [entry for entry in read_resources(compiled) if entry[3]]
        self.assertEqual(resources, [("PIPL", 16000, 1033, descriptor)])


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--compiler", required=True)
    parser.add_argument("--style", choices=["windres", "rc"], required=True)
    parser.add_argument("--script", required=True)
    parser.add_argument("--descriptor", required=True)
    parser.parse_args(namespace=ARGS)
    unittest.main(argv=[sys.argv[0]], verbosity=2)
