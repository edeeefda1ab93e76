"""A Windows installer's tables read back with msiinfo (msitools), and the
validation rules of Windows Installer (its ICE checks) that apply to a
package of Glimster's size, checked here with code of their own."""

import re
import subprocess

GUID = re.compile(r"^\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}$")
# Component attribute: the key path is a Registry row, not a File row.
REGISTRY_KEY_PATH = 4
# Upgrade attributes: VersionMin and VersionMax inclusive.
MIN_INCLUSIVE, MAX_INCLUSIVE = 256, 512
# Custom action type: set a property (or a folder) to a formatted text.
SET_PROPERTY = 51
# Properties every package has, but those check_msi.py reads by value (the
# product's name, version, publisher and UpgradeCode); ALLUSERS 1 makes the
# install per machine.
REQUIRED = ("ProductCode", "ProductLanguage")
# The tables the rules and check_msi.py read.
TABLES = ("Property", "Component", "File", "Registry", "Directory", "Upgrade", "AppSearch", "CustomAction",
          "InstallExecuteSequence", "InstallUISequence", "LaunchCondition", "Media")


def table(msiinfo, msi, name):
    """The rows of a table as msiinfo exports it: after the column names,
    their types and the table's name, one tab-separated line a row."""
    text = subprocess.run([msiinfo, "export", msi, name], check=True, capture_output=True, text=True).stdout
    lines = text.split("\r\n") if "\r\n" in text else text.split("\n")
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def tables(msiinfo, msi):
    return {name: table(msiinfo, msi, name) for name in TABLES}


def version(text):
    return tuple(int(part) for part in text.split(".")[:3])


def in_range(row, current):
    low, high, attributes = row["VersionMin"], row["VersionMax"], int(row["Attributes"] or 0)
    above = not low or current > version(low) or (attributes & MIN_INCLUSIVE and current == version(low))
    below = not high or current < version(high) or (attributes & MAX_INCLUSIVE and current == version(high))
    return above and below


def problems(t, other=None):
    """Every rule the tables `t` break, a line each; `other`, the tables of
    another version of the same product, must give each component the same
    GUID."""
    found = []
    properties = {row["Property"]: row["Value"] for row in t["Property"]}
    secure = set(properties.get("SecureCustomProperties", "").split(";"))
    components = {row["Component"]: row for row in t["Component"]}

    # ICE08: a GUID names one component; an empty one leaves it unmanaged.
    guids = [row["ComponentId"] for row in t["Component"]]
    for guid in sorted(set(guids)):
        if guids.count(guid) > 1:
            found.append(f"ICE08: components share the GUID {guid}")
    found += [f"component {name} has no fixed GUID ({row['ComponentId']!r})"
              for name, row in components.items() if not GUID.match(row["ComponentId"])]
    if other is not None:
        before = {row["Component"]: row["ComponentId"] for row in other["Component"]}
        found += [f"component {name} is {row['ComponentId']} here, {before.get(name)} in the other version: "
                  "its GUID is not fixed" for name, row in components.items()
                  if before.get(name) != row["ComponentId"]]

    # ICE02: a key path is a file (or registry value) of its own component.
    owners = {"File": {row["File"]: row["Component_"] for row in t["File"]},
              "Registry": {row["Registry"]: row["Component_"] for row in t["Registry"]}}
    for name, row in components.items():
        kind = "Registry" if int(row["Attributes"]) & REGISTRY_KEY_PATH else "File"
        if row["KeyPath"] and owners[kind].get(row["KeyPath"]) != name:
            found.append(f"ICE02: the key path of {name}, {kind} {row['KeyPath']}, is not one of its own")

    # Every folder, and so every component's, lies below TARGETDIR.
    parents = {row["Directory"]: row["Directory_Parent"] for row in t["Directory"]}
    for folder in sorted(parents):
        seen, step = set(), folder
        while step in parents and step not in seen and parents[step] not in ("", step):
            seen.add(step)
            step = parents[step]
        if step != "TARGETDIR":
            found.append(f"folder {folder} is not reachable from TARGETDIR (stops at {step})")
    found += [f"component {name} is in {row['Directory_']}, which is no folder"
              for name, row in components.items() if row["Directory_"] not in parents]

    # ICE61: no Upgrade row takes in this version; the properties its rows
    # set are upper case and secure.
    current = version(properties.get("ProductVersion", "0"))
    for row in t["Upgrade"]:
        if in_range(row, current):
            found.append(f"ICE61: the Upgrade row of {row['ActionProperty']} takes in this version "
                         f"({row['VersionMin']!r} to {row['VersionMax']!r}, attributes {row['Attributes']})")
        if row["ActionProperty"].upper() != row["ActionProperty"] or row["ActionProperty"] not in secure:
            found.append(f"ICE61: {row['ActionProperty']} is not an upper-case secure property")

    # A per-machine package: every required property, ALLUSERS 1, and each
    # property the folder and registry searches set listed as secure, or the
    # execute sequence never sees it.
    found += [f"property {name} is missing" for name in REQUIRED if not properties.get(name)]
    if properties.get("ALLUSERS") != "1":
        found.append(f"ALLUSERS is {properties.get('ALLUSERS')!r}, not 1: the install is not per machine")
    found += [f"the search result {row['Property']} is not in SecureCustomProperties"
              for row in t["AppSearch"] if row["Property"] not in secure]

    # ICE12: a folder set by a property action is set before CostFinalize
    # resolves the folders.
    for sequence in ("InstallExecuteSequence", "InstallUISequence"):
        steps = {row["Action"]: int(row["Sequence"]) for row in t[sequence]}
        for action in t["CustomAction"]:
            if (int(action["Type"]) & 0x3F == SET_PROPERTY and action["Source"] in parents
                    and steps.get(action["Action"], 0) > steps.get("CostFinalize", 0)):
                found.append(f"ICE12: {action['Action']} sets the folder {action['Source']} after CostFinalize "
                             f"in the {sequence}")
    return found
