"""Makes the macOS archive twice with cmake/packaging/PackageMacZip.cmake in a
temporary folder, as two builds years apart of one commit would
(SOURCE_DATE_EPOCH set, the clock set on by faketime), and reads it back with
zipfile and hashlib: the same bytes both times; every entry dated
SOURCE_DATE_EPOCH; exactly the bundle's folders and files, the install text,
the licences and SHA256SUMS; the code executable (mode 755), the folders 755,
the rest 644; the checksums those of the files; the bundle's files the ones
built; the install text's commands in the order they are run."""

import os
import tempfile

from rebuilds import SOURCE_DATE, arguments, fail, made_twice
from zip_reading import check_dates, check_sums, read_archive

MEMBERS = {
    "Glimster.plugin/": 0o40755,
    "Glimster.plugin/Contents/": 0o40755,
    "Glimster.plugin/Contents/Info.plist": 0o100644,
    "Glimster.plugin/Contents/MacOS/": 0o40755,
    "Glimster.plugin/Contents/MacOS/Glimster": 0o100755,
    "Glimster.plugin/Contents/PkgInfo": 0o100644,
    "Glimster.plugin/Contents/Resources/": 0o40755,
    "Glimster.plugin/Contents/Resources/Glimster.rsrc": 0o100644,
    "INSTALL.txt": 0o100644,
    "LICENSE-LodePNG.txt": 0o100644,
    "LICENSE-libc++.txt": 0o100644,
    "LICENSE-libc++abi.txt": 0o100644,
    "SHA256SUMS": 0o100644,
}

# The install text's commands, in the order the user runs them: into the
# unpacked folder before anything there, sudo for the system's folders, an
# older copy removed before the new one is copied.
INSTALL_STEPS = [
    "\n       cd ~/Downloads/Glimster-",
    "\n       xattr -dr com.apple.quarantine Glimster.plugin\n",
    "\n       codesign --verify --verbose --arch arm64 Glimster.plugin/Contents/MacOS/Glimster\n",
    "\n       codesign -dv --arch arm64 Glimster.plugin/Contents/MacOS/Glimster\n",
    '\n       sudo rm -rf "/Applications/Adobe After Effects <version>/Plug-ins/Glimster.plugin"\n',
    '\n       sudo ditto Glimster.plugin "/Applications/Adobe After Effects <version>/Plug-ins/Glimster.plugin"\n',
    '\n       sudo ditto Glimster.plugin "/Library/Application Support/Adobe/Common/Plug-ins/7.0/MediaCore/',
]


def main():
    args = arguments(__doc__, "cmake", "script", "bundle", "faketime")

    with tempfile.TemporaryDirectory() as folder:
        command = [args.cmake, *args.definitions, f"-DSTAGING={folder}/{{run}}", f"-DZIP={folder}/{{run}}.zip", "-P",
                   args.script]
        members, contents = read_archive(made_twice(args.faketime, command, f"{folder}/{{run}}.zip", []))
        check_dates(members, SOURCE_DATE)
    for member in members:
        print(f"{member.external_attr >> 16:>8o} {member.file_size:>10}  {member.filename}")
    modes = {member.filename: member.external_attr >> 16 for member in members}
    if modes != MEMBERS:
        fail(f"members and modes {modes}; expected {MEMBERS}")

    files = sorted(name for name in contents if name != "SHA256SUMS")
    check_sums(contents, files)
    bundle_parent = os.path.dirname(os.path.abspath(args.bundle))
    for name in files:
        if name.startswith("Glimster.plugin/"):
            with open(os.path.join(bundle_parent, name), "rb") as built:
                if contents[name] != built.read():
                    fail(f"{name} in the archive is not the one built")
    install = contents["INSTALL.txt"].decode("ascii")
    for words in INSTALL_STEPS + ["shasum -a 256 -c SHA256SUMS"]:
        if words not in install:
            fail(f"INSTALL.txt lacks {words!r}")
    steps = [install.index(words) for words in INSTALL_STEPS]
    if steps != sorted(steps):
        fail(f"INSTALL.txt does not give the steps in the order {INSTALL_STEPS}")
    if "Apache License" not in contents["LICENSE-libc++.txt"].decode("utf-8"):
        fail("LICENSE-libc++.txt is not LLVM's licence")
    print("OK: checksums match; the bundle's files are the ones built")


if __name__ == "__main__":
    main()
