"""Writes a zip archive whose bytes depend only on the files' contents and
the date given: the members in the order given, each folder as its own entry
before its first file, every entry dated DATE (seconds since 1970 UTC; the
MS-DOS time field holds its UTC time, the extended timestamp field the
seconds themselves) with Unix modes (folders 755, the executables named 755,
other files 644), deflated.

  write_zip.py <archive> <folder> --date DATE [--executable NAME]... NAME...
"""

import argparse
import struct
import time
import zipfile

# The MS-DOS time field starts in 1980 and counts every second second.
DOS_EPOCH = 315532800


def entry(name, mode, date):
    info = zipfile.ZipInfo(name, time.gmtime(max(date, DOS_EPOCH))[:6])
    info.create_system = 3  # Unix: the mode below is kept by unzip, ditto and the Finder
    info.external_attr = mode << 16
    info.compress_type = zipfile.ZIP_DEFLATED
    # "UT" extended timestamp: the modification time, time-zone free, which
    # unzip, ditto and 7-Zip show in the reader's own zone.
    info.extra = struct.pack("<HHBI", 0x5455, 5, 1, date)
    return info


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("archive")
    parser.add_argument("folder")
    parser.add_argument("--date", type=int, required=True)
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
                    info = entry(folder, 0o40755, args.date)
                    info.external_attr |= 0x10  # MS-DOS directory flag
                    info.compress_type = zipfile.ZIP_STORED
                    archive.writestr(info, b"")
            with open(f"{args.folder}/{name}", "rb") as f:
                data = f.read()
            mode = 0o100755 if name in args.executable else 0o100644
            archive.writestr(entry(name, mode, args.date), data, compresslevel=9)


if __name__ == "__main__":
    main()
