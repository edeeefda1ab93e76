"""Checks the macOS bundle's Info.plist and PkgInfo as the build configured them."""

import argparse
import plistlib
import re
import sys
import unittest

PATHS = argparse.Namespace()


class InfoPlist(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(PATHS.info_plist, "rb") as stream:
            cls.info = plistlib.load(stream)

    def test_package_type_is_the_general_plugin_kind(self):
        self.assertEqual(self.info.get("CFBundlePackageType"), "AEgx")

    def test_signature_is_the_hosts_creator_code(self):
        self.assertEqual(self.info.get("CFBundleSignature"), "FXTC")

    def test_executable_and_name_are_glimster(self):
        self.assertEqual(self.info.get("CFBundleExecutable"), "Glimster")
        self.assertEqual(self.info.get("CFBundleName"), "Glimster")

    def test_identifier_is_reverse_dns(self):
        identifier = self.info.get("CFBundleIdentifier", "")
        self.assertRegex(identifier, r"^[a-z][a-z0-9-]*(\.[A-Za-z0-9-]+)+$")

    def test_version_is_the_projects(self):
        self.assertEqual(self.info.get("CFBundleShortVersionString"), PATHS.version)
        self.assertEqual(self.info.get("CFBundleVersion"), PATHS.version)

    def test_minimum_system_version_is_12_1(self):
        self.assertEqual(self.info.get("LSMinimumSystemVersion"), "12.1")

    def test_no_placeholder_is_left(self):
        with open(PATHS.info_plist, "rb") as stream:
            text = stream.read().decode("utf-8")
        self.assertIsNone(re.search(r"@[A-Za-z_]+@|\$\{", text))


class PkgInfo(unittest.TestCase):
    def test_is_exactly_package_type_then_signature(self):
        with open(PATHS.pkginfo, "rb") as stream:
            self.assertEqual(stream.read(), b"AEgxFXTC")


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--info-plist", required=True)
    parser.add_argument("--pkginfo", required=True)
    parser.add_argument("--version", required=True, help="the project's version, e.g. 3.0.0")
    parser.parse_args(namespace=PATHS)
    unittest.main(argv=[sys.argv[0]], verbosity=2)
