"""Makes the Windows installer twice with cmake/PackageMsi.cmake in a temporary
folder, as two builds years apart would (the .aex dated anew, the clock set on
by faketime), and reads it back with msiinfo (msitools): the same bytes both
times; the UpgradeCode that every release keeps; the product's name, version
and publisher; the upgrade and downgrade rules with the downgrade's message;
the folders down to
C:\\Program Files\\Adobe\\Common\\Plug-ins\\7.0\\MediaCore\\Glimster with
INSTALLDIR its parent; exactly the files of the zip but INSTALL.txt and
SHA256SUMS, plus README.txt, all in that folder."""

import argparse
import datetime
import os
import shutil
import subprocess
import sys
import tempfile

UPGRADE_CODE = "{F61316CC-E94E-4CAE-A2DD-437666311027}"
DOWNGRADE_MESSAGE = ("A newer version of Glimster is already installed. To install this older one, remove Glimster "
                     "first (Settings > Apps > Installed apps), then run this installer again.")
FILES = {"Glimster.aex", "README.txt", "LICENSE-GCC.txt", "LICENSE-LodePNG.txt", "LICENSE-mingw-w64.txt"}
# Each folder's parent and name, as Windows Installer resolves them.
FOLDERS = {
    "TARGETDIR": ("", "SourceDir"),
    "ProgramFiles64Folder": ("TARGETDIR", "."),
    "AdobeFolder": ("ProgramFiles64Folder", "Adobe"),
    "AdobeCommonFolder": ("AdobeFolder", "Common"),
    "CommonPlugInsFolder": ("AdobeCommonFolder", "Plug-ins"),
    "CommonPlugInsVersionFolder": ("CommonPlugInsFolder", "7.0"),
    "INSTALLDIR": ("CommonPlugInsVersionFolder", "MediaCore"),
    "GlimsterFolder": ("INSTALLDIR", "Glimster"),
}


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def table(msiinfo, msi, name):
    """The rows of a table as msiinfo exports it: after the column names,
    their types and the table's name, one tab-separated line a row."""
    text = subprocess.run([msiinfo, "export", msi, name], check=True, capture_output=True, text=True).stdout
    lines = text.split("\r\n") if "\r\n" in text else text.split("\n")
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--script", required=True)
    parser.add_argument("--msiinfo", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--aex", required=True)
    parser.add_argument("--faketime", required=True)
    parser.add_argument("definitions", nargs="*", help="-D arguments for the script")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as folder:
        aex = os.path.join(folder, "Glimster.aex")
        shutil.copyfile(args.aex, aex)
        installers = []
        for run, when in (("first", "2001-09-09 01:46:40"), ("second", "2023-11-14 22:13:20")):
            stamp = datetime.datetime.fromisoformat(when + "+00:00").timestamp()
            os.utime(aex, (stamp, stamp))
            msi = os.path.join(folder, run + ".msi")
            subprocess.run([args.faketime, "-f", "@" + when, args.cmake, *args.definitions, f"-DAEX={aex}",
                            f"-DVERSION={args.version}", f"-DSTAGING={folder}/{run}", f"-DMSI={msi}", "-P",
                            args.script], check=True)
            with open(msi, "rb") as f:
                installers.append(f.read())
        if installers[0] != installers[1]:
            fail("the installer of a rebuilt .aex differs")
        print(f"installer: {len(installers[0])} bytes, the same both times")
        msi = os.path.join(folder, "first.msi")
        tables = {name: table(args.msiinfo, msi, name)
                  for name in ("Property", "Upgrade", "LaunchCondition", "Directory", "Component", "File")}

    properties = {row["Property"]: row["Value"] for row in tables["Property"]}
    expected = {"ProductName": "Glimster", "ProductVersion": args.version, "Manufacturer": "Glimster project",
                "UpgradeCode": UPGRADE_CODE, "ALLUSERS": "1", "ARPNOMODIFY": "1", "ARPNOREPAIR": "1"}
    for name, value in expected.items():
        print(f"{name} = {properties.get(name)}")
        if properties.get(name) != value:
            fail(f"property {name} is {properties.get(name)!r}; expected {value!r}")

    upgrades = sorted((row["UpgradeCode"], row["VersionMin"], row["VersionMax"], row["Attributes"],
                       row["ActionProperty"]) for row in tables["Upgrade"])
    # Older versions found and removed (1: migrate features); a newer one
    # only detected (2), which the launch condition refuses.
    expected_upgrades = sorted([(UPGRADE_CODE, "", args.version, "1", "WIX_UPGRADE_DETECTED"),
                                (UPGRADE_CODE, args.version, "", "2", "WIX_DOWNGRADE_DETECTED")])
    print(f"Upgrade: {upgrades}")
    if upgrades != expected_upgrades:
        fail(f"upgrade rows {upgrades}; expected {expected_upgrades}")
    conditions = [(row["Condition"], row["Description"]) for row in tables["LaunchCondition"]]
    if conditions != [("NOT WIX_DOWNGRADE_DETECTED", DOWNGRADE_MESSAGE)]:
        fail(f"launch conditions {conditions}")

    folders = {row["Directory"]: (row["Directory_Parent"], row["DefaultDir"]) for row in tables["Directory"]}
    if folders != FOLDERS:
        fail(f"folders {folders}; expected {FOLDERS}")
    component_folders = {row["Component"]: row["Directory_"] for row in tables["Component"]}
    files = {row["FileName"]: component_folders.get(row["Component_"]) for row in tables["File"]}
    print(f"File: {sorted(files)}")
    if set(files) != FILES or set(files.values()) != {"GlimsterFolder"}:
        fail(f"files and their folders {files}; expected {sorted(FILES)} in GlimsterFolder")
    print("OK: the same bytes from a rebuild; the UpgradeCode, the product, the rules, the folders and files")


if __name__ == "__main__":
    main()
