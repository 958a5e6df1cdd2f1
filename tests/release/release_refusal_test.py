#!/usr/bin/env python3
"""A release read back against a configuration it was not made with is refused.

    release_refusal_test.py --config RELEASE.CONF --release OUT

OUT is a release make-release.sh made from RELEASE.CONF (the test command's). Read back with
--verify against that configuration it passes; against another vendor key, version, update
port or code-signing certificate, and with a download altered after signing, it is refused
with the difference named.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

TOP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../..")
MAKE_RELEASE = os.path.join(TOP, "tools/release/make-release.sh")
OPTIONS = None


def verify(release, *overrides):
    result = subprocess.run(["bash", MAKE_RELEASE, OPTIONS.config, release, "--verify",
                             *overrides], capture_output=True, text=True, timeout=120,
                            env=dict(os.environ, KESTO_DEPS_CHECKED="1"))
    return result.returncode, result.stdout + result.stderr


class Refusal(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="kesto-refusal-")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def test_the_configuration_it_was_made_with_passes(self):
        status, output = verify(OPTIONS.release)
        self.assertEqual(status, 0, output)

    def test_another_configuration_is_refused(self):
        other_key = os.path.join(self.folder, "other-vendor.pem")
        subprocess.run(["openssl", "ecparam", "-genkey", "-name", "prime256v1", "-noout", "-out",
                        other_key], check=True, capture_output=True)
        other_cert = os.path.join(self.folder, "other")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                        other_cert + ".key", "-out", other_cert + ".pem", "-days", "2",
                        "-subj", "/CN=Someone Else", "-addext", "extendedKeyUsage=codeSigning"],
                       check=True, capture_output=True)
        cases = {
            "key": [f"VENDOR_KEYS={other_key}"],
            "version": ["VERSION=9.9"],
            "update": ["UPDATE_PORT=1", "LINUX_UPDATE_PORT=1"],
            "verify failed": [f"SIGN_CERT={other_cert}.pem", f"SIGN_KEY={other_cert}.key"],
        }
        for difference, overrides in cases.items():
            with self.subTest(difference):
                status, output = verify(OPTIONS.release, *overrides)
                self.assertNotEqual(status, 0, output)
                self.assertIn("DIFFERS", output)
                self.assertIn(difference, output)

    def test_a_download_altered_after_signing_is_refused(self):
        copy = os.path.join(self.folder, "altered")
        shutil.copytree(OPTIONS.release, copy)
        installer = os.path.join(copy, "kesto-setup.exe")
        with open(installer, "r+b") as f:
            f.seek(os.path.getsize(installer) // 2)
            byte = f.read(1)
            f.seek(-1, os.SEEK_CUR)
            f.write(bytes([byte[0] ^ 0xFF]))
        status, output = verify(copy)
        self.assertNotEqual(status, 0, output)
        self.assertIn("kesto-setup.exe osslsigncode verify failed", output)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--config", required=True)
    parser.add_argument("--release", required=True)
    OPTIONS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest)
