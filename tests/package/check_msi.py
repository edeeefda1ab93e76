"""Makes the Windows installer twice with cmake/packaging/PackageMsi.cmake in a
temporary folder, as two builds years apart of one commit would
(SOURCE_DATE_EPOCH set, the .aex dated anew, the clock set on by faketime), and
reads it back with msiinfo (msitools): the same bytes both times; the summary
information and every file of the cabinet dated SOURCE_DATE_EPOCH; the
UpgradeCode that every release keeps; the product's name, version and
publisher; the upgrade and downgrade rules; the refusals, with their conditions
and messages; the actions that choose the folder, in their order; the folders
down to C:\\Program Files\\Adobe\\Common\\Plug-ins\\7.0\\MediaCore\\Glimster
with INSTALLDIR its parent; exactly the files of the zip but INSTALL.txt and
SHA256SUMS, plus README.txt, all in that folder."""

import argparse
import os
import shutil
import struct
import subprocess
import tempfile
import time

from msi_tables import table
from rebuilds import SOURCE_DATE, fail, made_twice

UPGRADE_CODE = "{F61316CC-E94E-4CAE-A2DD-437666311027}"
DOWNGRADE_MESSAGE = ("A newer version of Glimster is already installed. To install this older one, remove Glimster "
                     "first (Settings > Apps > Installed apps), then run this installer again.")
# Each refusal: the condition that must hold, and its message.
CONDITIONS = {
    "NOT WIX_DOWNGRADE_DETECTED": DOWNGRADE_MESSAGE,
    "DEFAULTINSTALL OR NOT INSTALLDIR OR GIVENFOLDER":
        "Glimster cannot be installed in [INSTALLDIR]: there is no such folder. INSTALLDIR names the plug-in folder "
        "of an installed After Effects, e.g. C:\\Program Files\\Adobe\\Adobe After Effects 2024\\Support Files\\"
        "Plug-ins; without it, Glimster goes into C:\\Program Files\\Adobe\\Common\\Plug-ins\\7.0\\MediaCore, which "
        "every release reads.",
    "DEFAULTINSTALL OR NOT INSTALLDIR OR NOT INSTALLEDDIR OR NOT GIVENFOLDER OR GIVENFOLDER ~= INSTALLEDDIR":
        "Glimster is already installed in [INSTALLEDDIR]Glimster. To install it in [INSTALLDIR] instead, remove it "
        "first (Settings > Apps > Installed apps), then run this installer again; to update it where it is, leave "
        "INSTALLDIR out.",
}
# The install's steps around the actions that choose the folder, in the
# order they must run: the searches, the refusals, the default or the kept
# folder, costing, Add/Remove Programs' InstallLocation, and the removal of
# an older version before anything is installed.
EXECUTE_ORDER = ["AppSearch", "LaunchConditions", "NoteDefaultInstall", "UseInstalledFolder", "CostFinalize",
                 "SetInstallLocation", "InstallValidate", "RemoveExistingProducts", "InstallInitialize"]
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


def dos_time(seconds):
    """The MS-DOS date and time fields of `seconds` in UTC."""
    t = time.gmtime(seconds)
    return ((t.tm_year - 1980) << 9 | t.tm_mon << 5 | t.tm_mday, t.tm_hour << 11 | t.tm_min << 5 | t.tm_sec // 2)


def cabinet_dates(cabinet):
    """Each file of a cabinet (its CFHEADER and CFFILE entries) with its date
    and time fields."""
    offset, count = struct.unpack_from("<I", cabinet, 16)[0], struct.unpack_from("<H", cabinet, 28)[0]
    dates = {}
    for _ in range(count):
        date, clock = struct.unpack_from("<HH", cabinet, offset + 10)
        end = cabinet.index(b"\0", offset + 16)
        dates[cabinet[offset + 16:end].decode("ascii")] = (date, clock)
        offset = end + 1
    return dates


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
        msi = made_twice(args.faketime, [args.cmake, *args.definitions, f"-DAEX={aex}", f"-DVERSION={args.version}",
                                         f"-DSTAGING={folder}/{{run}}", f"-DMSI={folder}/{{run}}.msi", "-P",
                                         args.script], f"{folder}/{{run}}.msi", [aex])
        tables = {name: table(args.msiinfo, msi, name)
                  for name in ("Property", "Upgrade", "LaunchCondition", "InstallExecuteSequence", "Directory",
                               "Component", "File", "Media")}
        cabinet = subprocess.run([args.msiinfo, "extract", msi, tables["Media"][0]["Cabinet"].lstrip("#")],
                                 check=True, capture_output=True).stdout
        summary = subprocess.run([args.msiinfo, "suminfo", msi], check=True, capture_output=True, text=True,
                                 env=dict(os.environ, TZ="UTC")).stdout

    expected_time = time.strftime("%a %b %e %H:%M:%S %Y", time.gmtime(SOURCE_DATE))
    for field in ("Created", "Last saved"):
        line = next((line for line in summary.splitlines() if line.startswith(field + ": ")), None)
        if line != f"{field}: {expected_time}":
            fail(f"summary information {line!r}; expected {field}: {expected_time}")
    dates = cabinet_dates(cabinet)
    print(f"dates: summary information {expected_time} UTC; cabinet {dates}")
    if set(dates.values()) != {dos_time(SOURCE_DATE)}:
        fail(f"cabinet files dated {dates}; expected {dos_time(SOURCE_DATE)} each")

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
    conditions = {row["Condition"]: row["Description"] for row in tables["LaunchCondition"]}
    if conditions != CONDITIONS:
        fail(f"launch conditions {conditions}; expected {CONDITIONS}")
    steps = {row["Action"]: int(row["Sequence"]) for row in tables["InstallExecuteSequence"]}
    order = sorted(EXECUTE_ORDER, key=lambda action: steps.get(action, -1))
    print(f"InstallExecuteSequence: {[(action, steps.get(action)) for action in order]}")
    if order != EXECUTE_ORDER or len({steps.get(action) for action in order}) != len(order):
        fail(f"the install runs {order}; expected {EXECUTE_ORDER}")

    folders = {row["Directory"]: (row["Directory_Parent"], row["DefaultDir"]) for row in tables["Directory"]}
    if folders != FOLDERS:
        fail(f"folders {folders}; expected {FOLDERS}")
    component_folders = {row["Component"]: row["Directory_"] for row in tables["Component"]}
    files = {row["FileName"]: component_folders.get(row["Component_"]) for row in tables["File"]}
    print(f"File: {sorted(files)}")
    if set(files) != FILES or set(files.values()) != {"GlimsterFolder"}:
        fail(f"files and their folders {files}; expected {sorted(FILES)} in GlimsterFolder")
    print("OK: the same bytes from a rebuild, dated SOURCE_DATE_EPOCH; the UpgradeCode, the product, the rules, "
          "the refusals, the folders and files")


if __name__ == "__main__":
    main()
