"""Reads Glimster.aex with tools that did not build it and checks what the
host relies on:

  imports     objdump -p: only DLLs that every Windows has (never the
              compiler's runtime DLLs)
  version     wrestool: the version resource (type 16, id 1, language 1033)
              read back: the fixed numbers and the strings Windows shows
"""

import argparse
import re
import struct
import subprocess
import sys

# DLLs every Windows x86-64 has; compared without regard to case.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "shell32.dll", "advapi32.dll", "bcrypt.dll", "msvcrt.dll",
               "ucrtbase.dll", "vcruntime140.dll"}
SYSTEM_DLL_PATTERNS = [re.compile(r"^api-ms-win-crt-[a-z0-9-]+\.dll$")]
# What a dynamically linked GCC runtime would bring; named in the failure.
COMPILER_RUNTIME = re.compile(r"^(libstdc\+\+|libgcc|libwinpthread)", re.IGNORECASE)


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def objdump(args):
    return subprocess.run([args.objdump, "-p", args.aex], check=True, capture_output=True,
                          text=True).stdout


def check_imports(args):
    dump = objdump(args)
    imports = {}
    current = None
    for line in dump.splitlines():
        dll = re.match(r"^\s*DLL Name:\s*(\S+)", line)
        if dll:
            current = dll.group(1)
            imports.setdefault(current, [])
            continue
        entry = re.match(r"^\s*[0-9a-fA-F]+\s+\d+\s+(\S+)\s*$", line)
        if current and entry:
            imports[current].append(entry.group(1))
        elif not line.strip():
            current = None
    for dll, functions in imports.items():
        print(f"{dll}: {' '.join(functions)}")
    if not imports:
        fail("no import table read")
    unexpected = [dll for dll in imports
                  if dll.lower() not in SYSTEM_DLLS
                  and not any(pattern.match(dll.lower()) for pattern in SYSTEM_DLL_PATTERNS)]
    runtime = [dll for dll in imports if COMPILER_RUNTIME.match(dll)]
    if runtime:
        fail(f"the compiler's runtime is linked dynamically: {runtime}")
    if unexpected:
        fail(f"imports DLLs that are not part of every Windows: {unexpected}")
    # The Windows naming operations come from the system, by these names.
    needed = {"shell32.dll": "SHGetFolderPathW", "user32.dll": "MessageBoxW",
              "kernel32.dll": "WideCharToMultiByte"}
    lowered = {dll.lower(): functions for dll, functions in imports.items()}
    for dll, function in needed.items():
        if function not in lowered.get(dll, []):
            fail(f"{function} is not imported from {dll}")
    print(f"OK: {len(imports)} DLLs, all part of Windows")


VERSION_RESOURCE = re.compile(r"^--type=16 --name=1 --language=1033 \[type=version offset=0x[0-9a-f]+ size=\d+\]$")


def version_nodes(data, at, end):
    """The VS_VERSIONINFO-style blocks in data[at:end]: (key, value, children)
    each, the value as text for text blocks (type 1), as bytes otherwise."""
    nodes = []
    while at + 6 <= end:
        length, value_length, kind = struct.unpack_from("<HHH", data, at)
        if length < 6 or at + length > end:
            fail(f"a version block at {at} of length {length} runs past {end}")
        key_end = data.index(b"\0\0", at + 6)
        while (key_end - at - 6) % 2:
            key_end = data.index(b"\0\0", key_end + 1)
        key = data[at + 6:key_end].decode("utf-16-le")
        value_at = (key_end + 2 + 3) & ~3
        value_bytes = value_length * 2 if kind == 1 else value_length
        raw = data[value_at:value_at + value_bytes]
        value = raw.decode("utf-16-le").rstrip("\0") if kind == 1 else raw
        children_at = (value_at + value_bytes + 3) & ~3
        nodes.append((key, value, version_nodes(data, children_at, at + length)))
        at = (at + length + 3) & ~3
    return nodes


def check_version(args):
    listing = subprocess.run([args.wrestool, "-l", "--type=16", args.aex], check=True, capture_output=True,
                             text=True).stdout
    print(listing.strip())
    if not VERSION_RESOURCE.match(listing.strip()):
        fail("no single version resource of type 16, id 1, language 1033")
    data = subprocess.run([args.wrestool, "-x", "--raw", "--type=16", "--name=1", "--language=1033", args.aex],
                          check=True, capture_output=True).stdout
    [(key, fixed, children)] = version_nodes(data, 0, len(data))
    if key != "VS_VERSION_INFO" or len(fixed) != 52:
        fail(f"the resource is {key!r} with {len(fixed)} bytes of fixed information")
    (signature, _, file_ms, file_ls, product_ms, product_ls, _, flags, system, file_type,
     _, _, _) = struct.unpack("<13I", fixed)
    numbers = [int(part) for part in args.version.split(".")] + [0] * (4 - len(args.version.split(".")))
    packed = ((numbers[0] << 16) | numbers[1], (numbers[2] << 16) | numbers[3])
    print(f"fixed: file {file_ms >> 16}.{file_ms & 0xFFFF}.{file_ls >> 16}.{file_ls & 0xFFFF}, "
          f"product {product_ms >> 16}.{product_ms & 0xFFFF}.{product_ls >> 16}.{product_ls & 0xFFFF}, "
          f"flags {flags:#x}, OS {system:#x}, type {file_type}")
    if signature != 0xFEEF04BD:
        fail(f"fixed information signature {signature:#x}")
    if (file_ms, file_ls) != packed or (product_ms, product_ls) != packed:
        fail(f"file or product version is not {args.version}")
    if (flags, system, file_type) != (0, 0x40004, 2):
        fail("not a release DLL for 32/64-bit Windows NT")
    blocks = {name: grandchildren for name, _, grandchildren in children}
    [(table, _, strings)] = blocks.get("StringFileInfo", [("", "", [])])
    values = {name: value for name, value, _ in strings}
    for name, value in values.items():
        print(f"{table} {name}: {value}")
    expected = {"FileVersion": args.version, "ProductVersion": args.version,
                "OriginalFilename": "Glimster.aex", "ProductName": "Glimster"}
    if table != "040904B0" or any(values.get(name) != value for name, value in expected.items()):
        fail(f"string table {table!r} is not US English, Unicode, with {expected}")
    if not values.get("FileDescription", "").startswith("Glimster: "):
        fail("no FileDescription that starts \"Glimster: \"")
    [(_, translation, _)] = blocks.get("VarFileInfo", [("", b"", [])])
    if translation != struct.pack("<HH", 0x0409, 1200):
        fail(f"translation {translation!r}; expected US English, Unicode")
    print(f"OK: version {args.version}, Glimster.aex, US English")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("check", choices=["imports", "version"])
    parser.add_argument("--aex", required=True)
    parser.add_argument("--objdump")
    parser.add_argument("--wrestool")
    parser.add_argument("--version", help="the project's version, e.g. 3.0.0")
    args = parser.parse_args()
    {"imports": check_imports, "version": check_version}[args.check](args)


if __name__ == "__main__":
    main()
