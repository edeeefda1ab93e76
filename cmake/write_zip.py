"""Writes a zip archive whose bytes depend only on the files' contents: the
members in the order given, each folder as its own entry before its first
file, every entry dated 1980-01-01 00:00 with Unix modes (folders 755, the
executables named 755, other files 644), deflated.

  write_zip.py <archive> <folder> [--executable NAME]... NAME...
"""

import argparse
import zipfile

EPOCH = (1980, 1, 1, 0, 0, 0)


def entry(name, mode):
    info = zipfile.ZipInfo(name, EPOCH)
    info.create_system = 3  # Unix: the mode below is kept by unzip, ditto and the Finder
    info.external_attr = mode << 16
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("archive")
    parser.add_argument("folder")
    parser.add_argument("--executable", action="append", default=[])
    parser.add_argument("names", nargs="+")
    args = parser.parse_args()

    folders = set()
    with zipfile.ZipFile(args.archive, "w") as archive:
        for name in args.names:
            parts = name.split("/")[:-1]
            for depth in range(1, len(parts) + 1):
                folder = "/".join(parts[:depth]) + "/"
                if folder not in folders:
                    folders.add(folder)
                    info = entry(folder, 0o40755)
                    info.external_attr |= 0x10  # MS-DOS directory flag
                    info.compress_type = zipfile.ZIP_STORED
                    archive.writestr(info, b"")
            with open(f"{args.folder}/{name}", "rb") as f:
                data = f.read()
            mode = 0o100755 if name in args.executable else 0o100644
            archive.writestr(entry(name, mode), data, compresslevel=9)


if __name__ == "__main__":
    main()
