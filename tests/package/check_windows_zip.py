"""Makes the Windows archive with cmake/PackageZip.cmake in a temporary folder
and reads it back with zipfile and hashlib: exactly the five files, the
checksums in SHA256SUMS those of the files, Glimster.aex the one built, the
install text of this version, every text file with Windows line ends, the licences of LodePNG
and of winpthreads."""

import argparse
import os
import subprocess
import tempfile

from zip_reading import check_sums, fail, read_archive

FILES = ["Glimster.aex", "INSTALL.txt", "LICENSE-LodePNG.txt", "LICENSE-winpthreads.txt", "SHA256SUMS"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--script", required=True)
    parser.add_argument("--name", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--aex", required=True)
    parser.add_argument("definitions", nargs="*", help="-D arguments for the script")
    args = parser.parse_args()
    if args.name != f"Glimster-{args.version}-windows-x64.zip":
        fail(f"archive name {args.name}")

    with tempfile.TemporaryDirectory() as folder:
        archive = os.path.join(folder, args.name)
        subprocess.run([args.cmake, *args.definitions, f"-DSTAGING={folder}/staging", f"-DZIP={archive}",
                        "-P", args.script], check=True)
        members, contents = read_archive(archive)
    for member in members:
        print(f"{member.file_size:>10}  {member.filename}")
    names = [member.filename for member in members]
    if sorted(names) != FILES:
        fail(f"members {names}; expected {FILES}")

    print(contents["SHA256SUMS"].decode("ascii").strip())
    check_sums(contents, FILES[:4])

    with open(args.aex, "rb") as built:
        if contents["Glimster.aex"] != built.read():
            fail("Glimster.aex in the archive is not the one built")
    install = contents["INSTALL.txt"].decode("ascii")
    if f"Glimster {args.version} " not in install or "\\Support Files\\Plug-ins\\" not in install:
        fail("INSTALL.txt does not name the version and the plug-in folder")
    for name in FILES[1:]:
        text = contents[name].decode("ascii")
        if "\n" not in text or text.count("\r\n") != text.count("\n"):
            fail(f"{name} has line ends other than CR LF")
    if "(Get-FileHash $name).Hash -eq $sum" not in install:
        fail("INSTALL.txt does not compare with Get-FileHash case-insensitively")
    licence = contents["LICENSE-LodePNG.txt"].decode("ascii")
    for words in ["LodePNG version 20161127", "Copyright (c) 2005-2016 Lode Vandevenne",
                  "3. This notice may not be removed or altered from any source"]:
        if words not in licence:
            fail(f"LICENSE-LodePNG.txt lacks {words!r}")
    if "Copyright (c) 2011-2016 mingw-w64 project" not in contents["LICENSE-winpthreads.txt"].decode("ascii"):
        fail("LICENSE-winpthreads.txt lacks the mingw-w64 copyright line")
    print(f"OK: {args.name}: {', '.join(FILES)}; checksums match")


if __name__ == "__main__":
    main()
