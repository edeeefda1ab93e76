"""Makes the Windows installer twice with cmake/packaging/PackageMsi.cmake in a
temporary folder, as two builds years apart of one commit would
(SOURCE_DATE_EPOCH set, the .aex dated anew, the clock set on by faketime),
and once for another version, and reads them back with msiinfo (msitools):
the same bytes both times; the summary information and every file of the
cabinet dated SOURCE_DATE_EPOCH; the UpgradeCode that every release keeps; the
product's name, version and publisher; the upgrade and downgrade rules; the
refusals, with their conditions and messages; the actions that choose the
folder, in their order; the folders down to
C:\\Program Files\\Adobe\\Common\\Plug-ins\\7.0\\MediaCore\\Glimster with
INSTALLDIR its parent; exactly the files of the zip but INSTALL.txt and
SHA256SUMS, plus README.txt, all in that folder. Then its tables against
Windows Installer's validation rules (msi_tables.py), the other version's
component GUIDs the same: none is broken; and one fault at a time planted into
a copy with msibuild's SQL, each of them a package Windows Installer would
reject or mishandle: the rules name it."""

import os
import shutil
import struct
import subprocess
import tempfile
import time

import msi_tables
from rebuilds import SOURCE_DATE, arguments, fail, made_once, made_twice

UPGRADE_CODE = "{F61316CC-E94E-4CAE-A2DD-437666311027}"
# The other version, built from the same source: every component keeps its GUID.
OTHER_VERSION = "9.9.9"
PLUGIN_GUID = "{2101C163-BE8C-42F4-ADC3-52645E2BD3B3}"
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
# The files installed, in the order of their names (check_msi_install.py uses them too).
FILES = ["Glimster.aex", "LICENSE-GCC.txt", "LICENSE-LodePNG.txt", "LICENSE-mingw-w64.txt", "README.txt"]
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
# What is planted (SQL, {version} this version), and words of the line the
# rules must give for it.
PLANTS = [
    ("two components, one GUID",
     f"UPDATE `Component` SET `ComponentId` = '{PLUGIN_GUID}' WHERE `Component` = 'Documents'",
     f"ICE08: components share the GUID {PLUGIN_GUID}"),
    ("a GUID changed in a new version",
     "UPDATE `Component` SET `ComponentId` = '{00000000-0000-0000-0000-000000000001}' WHERE `Component` = 'Plugin'",
     "component Plugin is {00000000-0000-0000-0000-000000000001} here"),
    ("no GUID", "UPDATE `Component` SET `ComponentId` = '' WHERE `Component` = 'Documents'",
     "component Documents has no fixed GUID"),
    ("another component's file as key path",
     "UPDATE `Component` SET `KeyPath` = 'GlimsterAex' WHERE `Component` = 'Documents'",
     "ICE02: the key path of Documents, File GlimsterAex"),
    ("a folder loop outside TARGETDIR",
     "UPDATE `Directory` SET `Directory_Parent` = 'GlimsterFolder' WHERE `Directory` = 'AdobeFolder'",
     "folder GlimsterFolder is not reachable from TARGETDIR"),
    ("an upgrade of this version itself",
     "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED'; "
     "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMin`, `VersionMax`, `Attributes`, `ActionProperty`) "
     f"VALUES ('{UPGRADE_CODE}', '', '{{version}}', 513, 'WIX_UPGRADE_DETECTED')",
     "ICE61: the Upgrade row of WIX_UPGRADE_DETECTED takes in this version"),
    ("a per-user package", "DELETE FROM `Property` WHERE `Property` = 'ALLUSERS'",
     "ALLUSERS is None, not 1"),
    ("search results not secure",
     "UPDATE `Property` SET `Value` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' "
     "WHERE `Property` = 'SecureCustomProperties'",
     "the search result INSTALLEDDIR is not in SecureCustomProperties"),
    ("the installed folder taken after costing",
     "UPDATE `InstallExecuteSequence` SET `Sequence` = 1002 WHERE `Action` = 'UseInstalledFolder'",
     "ICE12: UseInstalledFolder sets the folder INSTALLDIR after CostFinalize in the InstallExecuteSequence"),
]


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


def check_dates(msiinfo, msi, tables):
    """The summary information's and every cabinet file's date SOURCE_DATE."""
    cabinet = subprocess.run([msiinfo, "extract", msi, tables["Media"][0]["Cabinet"].lstrip("#")], check=True,
                             capture_output=True).stdout
    summary = subprocess.run([msiinfo, "suminfo", msi], check=True, capture_output=True, text=True,
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


def check_product(tables, version):
    """The product, its upgrade rules and refusals, its folders and files.
    ALLUSERS and the other rules every package keeps are msi_tables.py's."""
    properties = {row["Property"]: row["Value"] for row in tables["Property"]}
    expected = {"ProductName": "Glimster", "ProductVersion": version, "Manufacturer": "Glimster project",
                "UpgradeCode": UPGRADE_CODE, "ARPNOMODIFY": "1", "ARPNOREPAIR": "1"}
    for name, value in expected.items():
        print(f"{name} = {properties.get(name)}")
        if properties.get(name) != value:
            fail(f"property {name} is {properties.get(name)!r}; expected {value!r}")

    upgrades = sorted((row["UpgradeCode"], row["VersionMin"], row["VersionMax"], row["Attributes"],
                       row["ActionProperty"]) for row in tables["Upgrade"])
    # Older versions found and removed (1: migrate features); a newer one
    # only detected (2), which the launch condition refuses.
    expected_upgrades = sorted([(UPGRADE_CODE, "", version, "1", "WIX_UPGRADE_DETECTED"),
                                (UPGRADE_CODE, version, "", "2", "WIX_DOWNGRADE_DETECTED")])
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
    if sorted(files) != FILES or set(files.values()) != {"GlimsterFolder"}:
        fail(f"files and their folders {files}; expected {FILES} in GlimsterFolder")


def check_rules(args, msi, tables, other):
    """No validation rule broken; each fault planted in a copy named."""
    found = msi_tables.problems(tables, other)
    if found:
        fail("the installer breaks validation rules:\n  " + "\n  ".join(found))
    print(f"the installer of {args.version} keeps every rule, its component GUIDs those of {OTHER_VERSION}")
    planted = os.path.join(os.path.dirname(msi), "planted.msi")
    for name, query, words in PLANTS:
        shutil.copyfile(msi, planted)
        queries = [part for statement in query.replace("{version}", args.version).split("; ")
                   for part in ("-q", statement)]
        subprocess.run([args.msibuild, planted, *queries], check=True)
        found = msi_tables.problems(msi_tables.tables(args.msiinfo, planted), other)
        if not any(words in line for line in found):
            fail(f"{name}: the rules do not say {words!r}; they say {found}")
        print(f"{name}: {next(line for line in found if words in line)}")


def main():
    args = arguments(__doc__, "cmake", "script", "msiinfo", "msibuild", "version", "aex", "faketime")
    with tempfile.TemporaryDirectory() as folder:
        aex = os.path.join(folder, "Glimster.aex")
        shutil.copyfile(args.aex, aex)

        def command(version, run):
            return [args.cmake, *args.definitions, f"-DAEX={aex}", f"-DVERSION={version}", f"-DSTAGING={folder}/{run}",
                    f"-DMSI={folder}/{run}.msi", "-P", args.script]

        msi = made_twice(args.faketime, command(args.version, "{run}"), f"{folder}/{{run}}.msi", [aex])
        made_once(command(OTHER_VERSION, "other"))
        tables = msi_tables.tables(args.msiinfo, msi)
        check_dates(args.msiinfo, msi, tables)
        check_product(tables, args.version)
        check_rules(args, msi, tables, msi_tables.tables(args.msiinfo, f"{folder}/other.msi"))
    print("OK: the same bytes from a rebuild, dated SOURCE_DATE_EPOCH; the UpgradeCode, the product, the rules, "
          "the refusals, the folders and files; no validation rule broken; every planted fault named")


if __name__ == "__main__":
    main()
