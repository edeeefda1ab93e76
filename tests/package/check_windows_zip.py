"""Makes the Windows archive twice with cmake/packaging/PackageZip.cmake in a
temporary folder, as two builds years apart of one commit would
(SOURCE_DATE_EPOCH set, the .aex dated anew, the clock set on by faketime), and
reads it back with zipfile and hashlib: the same bytes both times; every entry
dated SOURCE_DATE_EPOCH; without it, dated by the last commit (git log);
exactly the six files; the checksums in SHA256SUMS those of the files;
Glimster.aex the one built; the install text of this version; every text file
with Windows line ends; a licence notice for each runtime whose code is in the
.aex."""

import os
import shutil
import subprocess
import tempfile

from rebuilds import SOURCE_DATE, arguments, fail, made_twice
from zip_reading import check_dates, check_sums, read_archive

FILES = ["Glimster.aex", "INSTALL.txt", "LICENSE-GCC.txt", "LICENSE-LodePNG.txt", "LICENSE-mingw-w64.txt",
         "SHA256SUMS"]

# Code of a runtime in the .aex, known by bytes it holds, and the words of the
# notice that covers it.
RUNTIMES = [
    (b"unknown chunk type with 'critical' flag", "LICENSE-LodePNG.txt", "Copyright (c) 2005-2016 Lode Vandevenne"),
    (b"Mingw-w64 runtime failure:", "LICENSE-mingw-w64.txt", "Files: mingw-w64-crt/crt/*"),
    (b"Infinity", "LICENSE-mingw-w64.txt", "Copyright: 1997-2001 Lucent Technologies"),
    (b"terminate called after throwing an instance of", "LICENSE-GCC.txt", "GCC RUNTIME LIBRARY EXCEPTION"),
]

INSTALL_WORDS = ["\\Support Files\\Plug-ins\\", "(Get-FileHash $name).Hash -eq $sum", "SmartScreen", "Run anyway",
                 "Smart App Control", "Unblock-File"]


def main():
    args = arguments(__doc__, "cmake", "script", "name", "version", "aex", "faketime")
    if args.name != f"Glimster-{args.version}-windows-x64.zip":
        fail(f"archive name {args.name}")

    with tempfile.TemporaryDirectory() as folder:
        aex = os.path.join(folder, "Glimster.aex")
        shutil.copyfile(args.aex, aex)
        definitions = [d for d in args.definitions if not d.startswith("-DAEX=")] + [f"-DAEX={aex}"]
        command = [args.cmake, *definitions, f"-DSTAGING={folder}/{{run}}", f"-DZIP={folder}/{{run}}.zip", "-P",
                   args.script]
        members, contents = read_archive(made_twice(args.faketime, command, f"{folder}/{{run}}.zip", [aex]))
        check_dates(members, SOURCE_DATE)
        # Without SOURCE_DATE_EPOCH: the time of this source tree's last commit.
        environment = {name: value for name, value in os.environ.items() if name != "SOURCE_DATE_EPOCH"}
        subprocess.run([part.replace("{run}", "git") for part in command], check=True, env=environment)
        committed = subprocess.run(["git", "-C", os.path.dirname(os.path.abspath(__file__)), "log", "-1",
                                    "--format=%ct"], check=True, capture_output=True, text=True).stdout
        check_dates(read_archive(f"{folder}/git.zip")[0], int(committed))
    for member in members:
        print(f"{member.file_size:>10}  {member.filename}")
    names = [member.filename for member in members]
    if sorted(names) != FILES:
        fail(f"members {names}; expected {FILES}")

    print(contents["SHA256SUMS"].decode("ascii").strip())
    check_sums(contents, [name for name in FILES if name != "SHA256SUMS"])

    with open(args.aex, "rb") as built:
        aex_bytes = built.read()
    if contents["Glimster.aex"] != aex_bytes:
        fail("Glimster.aex in the archive is not the one built")
    install = contents["INSTALL.txt"].decode("ascii")
    if f"Glimster {args.version} " not in install:
        fail("INSTALL.txt does not name the version")
    for words in INSTALL_WORDS + [f"msiexec /i Glimster-{args.version}-windows-x64.msi /qn"]:
        if words not in install:
            fail(f"INSTALL.txt lacks {words!r}")
    for name in FILES[1:]:
        text = contents[name].decode("ascii")
        if "\n" not in text or text.count("\r\n") != text.count("\n"):
            fail(f"{name} has line ends other than CR LF")
    for evidence, notice, words in RUNTIMES:
        if evidence not in aex_bytes:
            fail(f"Glimster.aex no longer holds {evidence!r}: name what shows that runtime now")
        if words not in contents[notice].decode("ascii"):
            fail(f"{notice} lacks {words!r}, the notice of the code that holds {evidence!r}")
    print(f"OK: {args.name}: {', '.join(FILES)}; checksums match; a notice for each runtime")


if __name__ == "__main__":
    main()
