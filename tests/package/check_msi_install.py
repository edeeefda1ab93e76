"""Installs, upgrades and removes Glimster with Wine's msiexec, silently
(/qn), in a Wine prefix of the test's own in a temporary folder, and checks
after each step its exit code, the files and folders, and the Add/Remove
Programs entries (version, publisher, InstallLocation). Beforehand the
machine has C:\\Program Files\\Adobe\\Common (empty) but nothing below it,
and two releases' Support Files\\Plug-ins folders, each with a file of the
host's.

  1. 2.9.0 (an installer made here from a copy of Glimster.aex whose version
     resource says 2.9.0) into the default folder, making the folders of its
     path below Common; its files dated SOURCE_DATE_EPOCH, read as local time;
  2. this version over it: one entry, of this version, and one Glimster.aex,
     byte-identical to the one built (whose version resource aex.Version
     reads), beside README.txt and the licence notices;
  3. this version again: it succeeds and changes nothing;
  4. 2.9.0 over it: refused (1603), nothing changed;
  5. this version again with INSTALLDIR another folder: refused, nothing
     changed;
  6. removal: drive C as before step 1 (the folders it made gone, the empty
     Common kept), no entry, no registry key of Glimster's;
  7. this version into an INSTALLDIR that does not exist (a release not
     installed): refused, drive C as before step 1;
  8. 2.9.0 into one release's Support Files\\Plug-ins given as INSTALLDIR,
     nothing in the default folder;
  9. this version over it with the other release's folder as INSTALLDIR:
     refused, nothing changed;
 10. this version over it without INSTALLDIR: into the same folder;
 11. this version again with that INSTALLDIR, in other letter case: it
     succeeds and changes nothing;
 12. removal: drive C as before step 1.
"""

import os
import shutil
import stat
import struct
import subprocess
import sys
import tempfile

from check_msi import FILES
from rebuilds import SOURCE_DATE, arguments, fail, made_once

COMMON_FOLDER = "Program Files/Adobe/Common"
DEFAULT_FOLDER = COMMON_FOLDER + "/Plug-ins/7.0/MediaCore"
RELEASE_FOLDER = "Program Files/Adobe/Adobe After Effects 2024/Support Files/Plug-ins"
OTHER_RELEASE_FOLDER = "Program Files/Adobe/Adobe After Effects 2025/Support Files/Plug-ins"
MISSING_RELEASE_FOLDER = "Program Files/Adobe/Adobe After Effects 2099/Support Files/Plug-ins"
HOST_FILE = "Host Plug-in.aex"
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
# Where the installer keeps the folder it installed into, and the folders it made.
GLIMSTER_KEY = "HKLM\\Software\\Glimster"
OLD_VERSION = "2.9.0"
# Wine hands a Windows exit code to Linux cut to its low byte.
SUCCESS, INSTALL_FAILURE = 0, 1603 & 0xFF
EXIT_CODES = {SUCCESS: "0", INSTALL_FAILURE: "1603 (ERROR_INSTALL_FAILURE, cut to 67)"}


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def drive_c_path(folder):
    return "C:\\" + folder.replace("/", "\\")


class Wine:
    def __init__(self, runner, folder):
        self.runner = runner
        self.env = dict(os.environ, GLIMSTER_WINE_DIR=folder)
        self.drive_c = os.path.join(folder, "prefix", "drive_c")

    def run(self, *args):
        return subprocess.run([self.runner, *args], env=self.env, capture_output=True, text=True)

    def msiexec(self, step, expected, *args):
        result = self.run("msiexec", *args, "/qn")
        print(f"{step}: msiexec {' '.join(args)} /qn -> {EXIT_CODES.get(result.returncode, result.returncode)}")
        if result.returncode != expected:
            fail(f"{step}: exit code {result.returncode}; expected {expected}\n{result.stdout}{result.stderr}")

    def entries(self):
        """The Add/Remove Programs entries named Glimster: (version,
        publisher, InstallLocation) each."""
        result = self.run("reg", "query", UNINSTALL_KEY, "/s")
        entries, values = [], None
        for line in result.stdout.splitlines() + [""]:
            if line.startswith("HKEY_") or not line.strip():
                if values and values.get("DisplayName") == "Glimster":
                    entries.append((values.get("DisplayVersion"), values.get("Publisher"),
                                    values.get("InstallLocation")))
                values = {} if line.startswith("HKEY_") else None
            elif values is not None:
                parts = line.split(None, 2)
                values[parts[0]] = parts[2] if len(parts) == 3 else ""
        return entries

    def tree(self):
        """Every folder and file of drive C: path -> None for a folder, size
        and time for a file."""
        found = {}
        for root, folders, files in os.walk(self.drive_c):
            for name in folders + files:
                path = os.path.join(root, name)
                status = os.lstat(path)
                found[os.path.relpath(path, self.drive_c)] = (
                    None if stat.S_ISDIR(status.st_mode) else (status.st_size, status.st_mtime_ns))
        return found


def old_plugin(aex, version, path):
    """A copy of Glimster.aex whose version resource says OLD_VERSION: the
    fixed numbers after the signature 0xFEEF04BD and the two version strings."""
    with open(aex, "rb") as f:
        data = bytearray(f.read())
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    new_text, old_text = OLD_VERSION.encode("utf-16-le"), version.encode("utf-16-le")
    if at < 0 or len(new_text) != len(old_text) or data.count(old_text) != 2:
        fail(f"cannot make a {OLD_VERSION} copy of {aex}")
    major, minor, patch = (int(part) for part in OLD_VERSION.split("."))
    data[at + 8:at + 24] = struct.pack("<4I", (major << 16) | minor, patch << 16, (major << 16) | minor, patch << 16)
    with open(path, "wb") as f:
        f.write(bytes(data).replace(old_text, new_text))


def version_is(args, path, version):
    """Whether the version resource of the .aex at `path`, read back with
    wrestool by check_aex.py, says `version`."""
    result = subprocess.run([sys.executable, args.check_aex, "version", "--wrestool", args.wrestool, "--aex", path,
                             "--version", version], capture_output=True, text=True)
    return result.returncode == 0


def run_steps(args, folder, wine):
    old_aex = os.path.join(folder, "old.aex")
    old_plugin(args.aex, args.version, old_aex)
    if not version_is(args, old_aex, OLD_VERSION) or version_is(args, old_aex, args.version):
        fail(f"the copy of Glimster.aex does not read as {OLD_VERSION}")
    # Each release: its version and its Glimster.aex.
    new, old = (args.version, args.aex), (OLD_VERSION, old_aex)
    msi, old_msi = os.path.join(folder, "new.msi"), os.path.join(folder, "old.msi")
    for (version, aex), run, path in ((new, "new", msi), (old, "old", old_msi)):
        made_once([args.cmake, *args.definitions, f"-DAEX={aex}", f"-DVERSION={version}",
                   f"-DSTAGING={folder}/{run}", f"-DMSI={path}", "-P", args.script])

    boot = wine.run("--boot")
    if boot.returncode != 0:
        fail(f"Wine prefix: {boot.stdout}{boot.stderr}")
    # Windows Installer's own cache of the packages installed, which every
    # Windows has and Wine makes at the first install.
    os.makedirs(os.path.join(wine.drive_c, "windows", "Installer"), exist_ok=True)
    os.makedirs(os.path.join(wine.drive_c, COMMON_FOLDER))
    for host in (RELEASE_FOLDER, OTHER_RELEASE_FOLDER):
        os.makedirs(os.path.join(wine.drive_c, host))
        with open(os.path.join(wine.drive_c, host, HOST_FILE), "wb") as f:
            f.write(b"the host's own plug-in\n")
    before = wine.tree()

    def installed(step, host, release):
        """Glimster's folder in `host` holds exactly its files, Glimster.aex
        that of `release`; Add/Remove Programs names it once, with its
        version and that folder."""
        version, aex = release
        glimster = os.path.join(wine.drive_c, host, "Glimster")
        names = sorted(os.listdir(glimster)) if os.path.isdir(glimster) else []
        if names != FILES:
            fail(f"{step}: {glimster} holds {names}; expected {FILES}")
        with open(os.path.join(glimster, "Glimster.aex"), "rb") as copied, open(aex, "rb") as built:
            if copied.read() != built.read():
                fail(f"{step}: the installed Glimster.aex is not that of {version}")
        entries = [(listed, publisher, location.lower()) for listed, publisher, location in wine.entries()]
        expected = [(version, "Glimster project", (drive_c_path(host) + "\\Glimster\\").lower())]
        if entries != expected:
            fail(f"{step}: Add/Remove Programs lists {entries}; expected {expected}")
        print(f"{step}: {host}/Glimster holds {', '.join(names)}, its Glimster.aex that of {version}; one entry, "
              f"{version}, InstallLocation {drive_c_path(host)}\\Glimster\\")

    def unchanged(step, then):
        if wine.tree() != then:
            fail(f"{step}: drive C changed")
        print(f"{step}: no file or folder changed")

    def removed(step):
        after = wine.tree()
        left = sorted(set(after) - set(before))
        changed = sorted(path for path, state in before.items() if after.get(path, "gone") != state)
        entries = wine.entries()
        key = wine.run("reg", "query", GLIMSTER_KEY)
        if left or changed or entries or key.returncode == 0:
            fail(f"{step}: left {left}, changed or gone {changed}, entries {entries}, {GLIMSTER_KEY}: {key.stdout}")
        print(f"{step}: drive C as before the first install, no entry, no {GLIMSTER_KEY}; "
              "the host's folders and files kept")

    def dated(step, host):
        """The cabinet's time of each file, SOURCE_DATE in UTC, read as the
        local time of Wine's zone: whatever the zone, within 14 hours of
        SOURCE_DATE, by whole quarters of an hour."""
        glimster = os.path.join(wine.drive_c, host, "Glimster")
        for name in FILES:
            offset = int(os.stat(os.path.join(glimster, name)).st_mtime) - SOURCE_DATE
            if abs(offset) > 14 * 3600 or offset % 900:
                fail(f"{step}: {name} is dated {offset} s from SOURCE_DATE_EPOCH")
        print(f"{step}: every file dated SOURCE_DATE_EPOCH in the zone's local time")

    release, other_release, missing_release = (
        drive_c_path(host) for host in (RELEASE_FOLDER, OTHER_RELEASE_FOLDER, MISSING_RELEASE_FOLDER))
    wine.msiexec("1. install 2.9.0", SUCCESS, "/i", windows_path(old_msi))
    installed("1. install 2.9.0", DEFAULT_FOLDER, old)
    dated("1. install 2.9.0", DEFAULT_FOLDER)
    wine.msiexec("2. upgrade", SUCCESS, "/i", windows_path(msi))
    installed("2. upgrade", DEFAULT_FOLDER, new)
    then = wine.tree()
    wine.msiexec("3. same version again", SUCCESS, "/i", windows_path(msi))
    installed("3. same version again", DEFAULT_FOLDER, new)
    unchanged("3. same version again", then)
    wine.msiexec("4. downgrade", INSTALL_FAILURE, "/i", windows_path(old_msi))
    installed("4. downgrade", DEFAULT_FOLDER, new)
    unchanged("4. downgrade", then)
    wine.msiexec("5. INSTALLDIR elsewhere", INSTALL_FAILURE, "/i", windows_path(msi), f"INSTALLDIR={release}")
    installed("5. INSTALLDIR elsewhere", DEFAULT_FOLDER, new)
    unchanged("5. INSTALLDIR elsewhere", then)
    wine.msiexec("6. remove", SUCCESS, "/x", windows_path(msi))
    removed("6. remove")

    wine.msiexec("7. no such INSTALLDIR", INSTALL_FAILURE, "/i", windows_path(msi), f"INSTALLDIR={missing_release}")
    removed("7. no such INSTALLDIR")
    wine.msiexec("8. INSTALLDIR", SUCCESS, "/i", windows_path(old_msi), f"INSTALLDIR={release}")
    installed("8. INSTALLDIR", RELEASE_FOLDER, old)
    if os.path.exists(os.path.join(wine.drive_c, COMMON_FOLDER, "Plug-ins")):
        fail("8. INSTALLDIR: the default folder's path was made too")
    then = wine.tree()
    wine.msiexec("9. upgrade elsewhere", INSTALL_FAILURE, "/i", windows_path(msi), f"INSTALLDIR={other_release}")
    installed("9. upgrade elsewhere", RELEASE_FOLDER, old)
    unchanged("9. upgrade elsewhere", then)
    wine.msiexec("10. upgrade", SUCCESS, "/i", windows_path(msi))
    installed("10. upgrade", RELEASE_FOLDER, new)
    then = wine.tree()
    wine.msiexec("11. same INSTALLDIR again", SUCCESS, "/i", windows_path(msi), f"INSTALLDIR={release.lower()}")
    installed("11. same INSTALLDIR again", RELEASE_FOLDER, new)
    unchanged("11. same INSTALLDIR again", then)
    wine.msiexec("12. remove", SUCCESS, "/x", windows_path(msi))
    removed("12. remove")
    print("OK: installed, upgraded, reinstalled, refused a downgrade and another folder, removed all it made; "
          "refused a missing INSTALLDIR; into INSTALLDIR, refused another, upgraded there, removed")


def main():
    # --check-aex: tests/windows/check_aex.py, which reads the version resource.
    args = arguments(__doc__, "wine-run", "cmake", "script", "check-aex", "wrestool", "aex", "version")

    folder = tempfile.mkdtemp(prefix="glimster-msi-")
    wine = Wine(args.wine_run, os.path.join(folder, "wine"))
    try:
        run_steps(args, folder, wine)
    finally:
        wine.run("--shutdown")
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
