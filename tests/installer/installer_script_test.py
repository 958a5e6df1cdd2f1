#!/usr/bin/env python3
"""Compiles the installer script with makensis -WX around stand-in program files.

Checks that the script makes an installer from a complete program folder, with the release's
version in its version resource and its uninstaller handed to the signing command, and that it
refuses (rather than making an installer without the platform) when a program file is missing.
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile
import unittest

OPTIONS = None
PROGRAM_FILES = ("kesto.exe", "up.qmz", "reg.qmz", "README.txt")
# Stands in for the signing command: notes the file it is given, which must be a program.
SIGNER = """#!/bin/sh
head -c 2 "$1" | grep -q MZ && echo "$1" >>"$0.log"
"""


def make_installer(source, out, *defines):
    return subprocess.run(
        [OPTIONS.makensis, "-V2", "-WX", f"-DSOURCE={source}", f"-DOUTFILE={out}",
         f"-DVERSION={OPTIONS.version}", "-DFEED_SEQUENCE=7", *defines, OPTIONS.script],
        capture_output=True, text=True, timeout=100)


class InstallerScript(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory(prefix="kesto-installer-")
        self.source = os.path.join(self.folder.name, "Kesto")
        os.mkdir(self.source)
        for name in PROGRAM_FILES:
            with open(os.path.join(self.source, name), "wb") as f:
                f.write(b"stand-in for " + name.encode())
        self.out = os.path.join(self.folder.name, "kesto-setup.exe")

    def tearDown(self):
        self.folder.cleanup()

    def test_a_complete_folder_makes_an_installer_without_warnings(self):
        signer = os.path.join(self.folder.name, "sign.sh")
        with open(signer, "w") as f:
            f.write(SIGNER)
        os.chmod(signer, 0o755)
        result = make_installer(self.source, self.out, f"-DSIGN_UNINSTALLER={signer}")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        with open(signer + ".log") as f:
            self.assertEqual(len(f.read().splitlines()), 1, "the uninstaller was not signed once")
        with open(self.out, "rb") as f:
            made = f.read()
        self.assertEqual(made[:2], b"MZ")
        # The version resource's texts are UTF-16, as Windows' file properties read them; a
        # value starts at the next four-byte boundary after its key.
        for text in ("ProductVersion", "FileVersion"):
            key, value = ((t + "\0").encode("utf-16-le") for t in (text, OPTIONS.version))
            self.assertRegex(made, re.escape(key) + b"(?:\x00\x00)?" + re.escape(value))

    def test_a_missing_program_file_makes_no_installer(self):
        for name in PROGRAM_FILES:
            with self.subTest(missing=name):
                path = os.path.join(self.source, name)
                os.rename(path, path + ".away")
                try:
                    result = make_installer(self.source, self.out)
                finally:
                    os.rename(path + ".away", path)
                self.assertNotEqual(result.returncode, 0)
                self.assertFalse(os.path.exists(self.out))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--makensis", required=True)
    parser.add_argument("--script", required=True)
    parser.add_argument("--version", required=True)
    OPTIONS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest)
