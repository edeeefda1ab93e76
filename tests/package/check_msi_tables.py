"""Makes the Windows installer with cmake/packaging/PackageMsi.cmake in a
temporary folder, for this version and another, and checks its tables, read
back with msiinfo, against Windows Installer's validation rules
(msi_tables.py): none is broken. Then plants one fault at a time into a copy
with msibuild's SQL, each of them a package Windows Installer would reject or
mishandle, and checks that the rules name it."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

import msi_tables

# The other version, built from the same source: every component keeps its GUID.
OTHER_VERSION = "9.9.9"
PLUGIN_GUID = "{2101C163-BE8C-42F4-ADC3-52645E2BD3B3}"
UPGRADE_CODE = "{F61316CC-E94E-4CAE-A2DD-437666311027}"
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


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--script", required=True)
    parser.add_argument("--msiinfo", required=True)
    parser.add_argument("--msibuild", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--aex", required=True)
    parser.add_argument("definitions", nargs="*", help="-D arguments for the script")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as folder:
        built = {}
        for version in (args.version, OTHER_VERSION):
            msi = os.path.join(folder, version + ".msi")
            subprocess.run([args.cmake, *args.definitions, f"-DAEX={args.aex}", f"-DVERSION={version}",
                            f"-DSTAGING={folder}/{version}", f"-DMSI={msi}", "-P", args.script], check=True,
                           env=dict(os.environ, SOURCE_DATE_EPOCH="1700000000"))
            built[version] = msi_tables.tables(args.msiinfo, msi)
        other = built[OTHER_VERSION]
        found = msi_tables.problems(built[args.version], other)
        if found:
            fail("the installer breaks validation rules:\n  " + "\n  ".join(found))
        print(f"the installer of {args.version} keeps every rule, its component GUIDs those of {OTHER_VERSION}")

        for name, query, words in PLANTS:
            planted = os.path.join(folder, "planted.msi")
            shutil.copyfile(os.path.join(folder, args.version + ".msi"), planted)
            queries = [part for statement in query.replace("{version}", args.version).split("; ")
                       for part in ("-q", statement)]
            subprocess.run([args.msibuild, planted, *queries], check=True)
            found = msi_tables.problems(msi_tables.tables(args.msiinfo, planted), other)
            if not any(words in line for line in found):
                fail(f"{name}: the rules do not say {words!r}; they say {found}")
            print(f"{name}: {next(line for line in found if words in line)}")
    print("OK: no rule broken; every planted fault named")


if __name__ == "__main__":
    main()
