#!/usr/bin/env python3
"""Runs the installer and its uninstaller under Wine's 32-bit half over a folder that an
installation and its updater left: programs running from it, releases staged, half applied and
kept, the updater's records, log and lock files.

Installing ends the running programs by process before it writes, supersedes every update of
the platform and the updater, drops a tool's staged release that is not newer than the one it
brings, and raises up.ini; uninstalling leaves only the seller's app\\, qmztx.ini and reg.qmz.
Exits 77 (skipped) where Wine's 32-bit half or the 32-bit compiler cannot run.
"""

import argparse
import configparser
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

OPTIONS = None
WINE = "/usr/lib/wine/wine"
WINESERVER = "/usr/lib/wine/wineserver"
COMPILER = "i686-w64-mingw32-gcc"
HERE = os.path.dirname(os.path.abspath(__file__))
VERSION = "2.0"
TOOLS = ("memo", "profit")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode())


def read(path):
    with open(path, "rb") as f:
        return f.read()


def read_ini(path):
    ini = configparser.ConfigParser()
    ini.read(path)
    return {section: dict(ini[section]) for section in ini.sections()}


class InstallerUnderWine(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="kesto-installer-wine-")
        cls.env = dict(os.environ, WINEPREFIX=os.path.join(cls.work, "prefix"), WINEDEBUG="-all")
        cls.held = os.path.join(cls.work, "held.exe")
        subprocess.run([COMPILER, "-Os", "-s", os.path.join(HERE, "held_program.c"), "-o",
                        cls.held], check=True, timeout=120)
        cls.running = []

    @classmethod
    def tearDownClass(cls):
        for process in cls.running:
            if process.poll() is None:
                process.kill()
        subprocess.run([WINESERVER, "-k"], env=cls.env, capture_output=True, timeout=60)
        shutil.rmtree(cls.work, ignore_errors=True)

    def program(self, marker):
        """The stand-in program's bytes, told apart by what follows them."""
        return read(self.held) + marker

    def make_installer(self):
        source = os.path.join(self.work, "Kesto")
        write(os.path.join(source, "kesto.exe"), self.program(b"new platform"))
        write(os.path.join(source, "up.qmz"), self.program(b"new updater"))
        write(os.path.join(source, "reg.qmz"), "new reg")
        write(os.path.join(source, "README.txt"), "readme")
        for key in TOOLS:
            write(os.path.join(source, "app", key, key + ".qmz"), "new " + key)
        tools = os.path.join(self.work, "tools.nsh")
        write(tools, "".join(f"!insertmacro INSTALL_TOOL {key}\n" for key in TOOLS))
        setup = os.path.join(self.work, "kesto-setup.exe")
        made = subprocess.run(
            [OPTIONS.makensis, "-V2", "-WX", f"-DSOURCE={source}", f"-DOUTFILE={setup}",
             f"-DVERSION={VERSION}", "-DFEED_SEQUENCE=7", f"-DTOOLS_INCLUDE={tools}",
             OPTIONS.script], capture_output=True, text=True, timeout=100)
        self.assertEqual(made.returncode, 0, made.stdout + made.stderr)
        return setup

    def start_held(self, windows_path, marker):
        """A stand-in started from the folder, once it runs."""
        marker_path = os.path.join(self.drive_c, marker)
        process = subprocess.Popen([WINE, windows_path, "C:\\" + marker], env=self.env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.running.append(process)
        deadline = time.monotonic() + 120
        while not os.path.exists(marker_path):
            self.assertIsNone(process.poll(), f"{windows_path} did not start")
            self.assertLess(time.monotonic(), deadline, f"{windows_path} did not start")
            time.sleep(0.2)
        return process

    def wine(self, *argv):
        """Runs a Windows program and waits for it."""
        return subprocess.run([WINE, *argv], env=self.env, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=240).returncode

    def assert_ended(self, process, name):
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.fail(f"{name} still runs")

    def lay_out_an_installation(self):
        """What 1.0 and its updater left: a staged 1.1 of the platform half applied, a staged
        updater, staged tools older and newer than the installer's, and the records."""
        f = self.folder
        write(f("kesto.exe"), self.program(b"old platform"))
        write(f("up.qmz"), self.program(b"old updater"))
        write(f("reg.qmz"), "the seller's reg")
        write(f("qmztx.ini"), "[jb]\r\npt=0\r\n[wm]\r\nrun=pt\r\n")
        write(f("app", "mine", "mine.qmz"), "the seller's own tool")
        write(f("up.ini"), "[versions]\r\npt=1.0\r\nup=9.0\r\n[feed]\r\nsequence=3\r\n"
                           "[refused]\r\npt=1.05\r\n")
        write(f("up.log"), "the updater's last runs")
        for lock in (".up.ini.lock", ".qmztx.ini.lock", os.path.join(".up-stage", "update.lock")):
            write(f(lock), "")
        write(f(".up-stage", "pt", "applying", ".version"), "1.1")
        write(f(".up-stage", "pt", "applying", "kesto.res"), "1.1 resources")
        write(f(".up-stage", "pt", "old", "kesto.exe"), self.program(b"1.0 set aside"))
        write(f(".up-stage", "pt", "journal"), "renames begun")
        write(f(".up-stage", "up", "ready", ".version"), "1.1")
        write(f(".up-stage", "up", "ready", "up.qmz"), self.program(b"staged updater"))
        write(f(".up-stage", "up", "old", ".running-up.qmz"), self.program(b"updater set aside"))
        write(f(".up-stage", "memo", "ready", ".version"), "1.9")
        write(f(".up-stage", "memo", "ready", "memo.qmz"), "memo 1.9")
        write(f(".up-stage", "profit", "ready", ".version"), "2.0.1")
        write(f(".up-stage", "mine", "ready", ".version"), "0.5")
        write(f(".up-stage", "memo.start"), "")

    def test_install_over_an_installation_then_uninstall(self):
        setup = self.make_installer()
        self.drive_c = os.path.join(self.env["WINEPREFIX"], "drive_c")
        self.wine("cmd", "/c", "exit")  # the prefix made before anything is timed
        root = os.path.join(self.drive_c, "Kesto")
        self.folder = lambda *parts: os.path.join(root, *parts)
        self.lay_out_an_installation()
        f = self.folder

        held = [self.start_held("C:\\Kesto\\kesto.exe", "platform-runs"),
                self.start_held("C:\\Kesto\\up.qmz", "updater-runs"),
                self.start_held("C:\\Kesto\\.up-stage\\up\\old\\.running-up.qmz",
                                "set-aside-runs")]
        self.assertEqual(self.wine(setup, "/S", "/D=C:\\Kesto"), 0)
        for process in held:
            self.assert_ended(process, process.args[1])
        self.assertEqual(read(f("kesto.exe")), self.program(b"new platform"))
        self.assertEqual(read(f("up.qmz")), self.program(b"new updater"))
        for target in ("pt", "up"):
            self.assertFalse(os.path.exists(f(".up-stage", target)), target)
        # memo's 1.9 would take the new 2.0 back; profit's 2.0.1 is newer; the seller's own
        # tool was not installed over.
        self.assertFalse(os.path.exists(f(".up-stage", "memo", "ready")))
        self.assertTrue(os.path.exists(f(".up-stage", "profit", "ready", ".version")))
        self.assertTrue(os.path.exists(f(".up-stage", "mine", "ready", ".version")))
        self.assertEqual(read(f("app", "memo", "memo.qmz")), b"new memo")
        self.assertEqual(read(f("app", "mine", "mine.qmz")), b"the seller's own tool")
        self.assertEqual(read_ini(f("up.ini")), {
            "versions": {"pt": VERSION, "up": "9.0", "memo": VERSION, "profit": VERSION},
            "feed": {"sequence": "7"}, "refused": {"pt": "1.05"}})

        held = self.start_held("C:\\Kesto\\kesto.exe", "platform-runs-again")
        # The uninstaller goes on from a copy of itself elsewhere, which removes the original.
        self.assertEqual(self.wine("C:\\Kesto\\uninstall.exe", "/S"), 0)
        kept = ["app", "qmztx.ini", "reg.qmz"]
        deadline = time.monotonic() + 120
        while sorted(os.listdir(root)) != kept and time.monotonic() < deadline:
            time.sleep(0.5)
        self.assert_ended(held, "kesto.exe")
        self.assertEqual(sorted(os.listdir(root)), kept)
        self.assertEqual(sorted(os.listdir(f("app"))), ["memo", "mine", "profit"])
        self.assertEqual(read(f("reg.qmz")), b"new reg")


def runs_here():
    """Wine's 32-bit half and the 32-bit compiler, which the stand-in programs need."""
    if not shutil.which(COMPILER):
        return f"{COMPILER} is not installed"
    try:
        if subprocess.run([WINE, "--version"], capture_output=True, timeout=30).returncode == 0:
            return None
    except (OSError, subprocess.TimeoutExpired):
        pass
    return "Wine's 32-bit loader cannot run here (no wine32, or a kernel without 32-bit support)"


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--makensis", required=True)
    parser.add_argument("--script", required=True)
    OPTIONS, rest = parser.parse_known_args()
    why = runs_here()
    if why:
        print(f"skipped: {why}")
        sys.exit(77)
    unittest.main(argv=[sys.argv[0]] + rest)
