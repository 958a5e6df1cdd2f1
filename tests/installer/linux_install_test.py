#!/usr/bin/env python3
"""The Linux installer for users whose home folder has an awkward name ("%", "$", quotes,
backslashes, spaces, letters of any script): its menu and login entries pass
desktop-file-validate and load in GLib's own loader, GLib's launch of the menu entry starts the
installed program in its folder, and the uninstaller removes what was installed and the
platform's browser data and says exactly what it keeps.

    linux_install_test.py --installer-folder tools/installer/linux
"""

import argparse
import hashlib
import os
import subprocess
import sys
import tempfile
import time

HOMES = ["100% seller", "$HOME and `id` $(id)", "quote \" and ' here",
         "back\\slash  two  spaces", "Bjørn Ødegård 😀 Ελένη"]

# Run by a Python that has GLib's bindings (python3-gi), which need not be the one running
# this test: loads each entry as a desktop loads it, then launches the first.
GLIB_CHECK = """
import sys
import gi
gi.require_version("Gio", "2.0")
from gi.repository import Gio
for path in sys.argv[1:]:
    if Gio.DesktopAppInfo.new_from_filename(path) is None:
        sys.exit("GLib refuses " + path)
Gio.DesktopAppInfo.new_from_filename(sys.argv[1]).launch([], None)
"""

# The stand-in platform says where it was started from and in which folder.
STAND_IN = '#!/bin/sh\nprintf "%s\\n%s\\n" "$0" "$PWD" >"$HOME/started"\n'


def glib_python():
    for python in (sys.executable, "/usr/bin/python3"):
        if subprocess.run([python, "-c", "import gi"], capture_output=True).returncode == 0:
            return python
    sys.exit("no Python with GLib's bindings: install python3-gi")


def stand_in_download(installer_folder, work):
    download = os.path.join(work, "download", "kesto")
    os.makedirs(os.path.join(download, "icons"))
    for name in ("install.sh", "README.txt"):
        with open(os.path.join(installer_folder, name), "rb") as src:
            with open(os.path.join(download, name), "wb") as dst:
                dst.write(src.read())
    for name, text in (("kesto", STAND_IN), ("up.qmz", "#!/bin/sh\n"), ("regtool", "#!/bin/sh\n")):
        path = os.path.join(download, name)
        with open(path, "w") as f:
            f.write(text)
        os.chmod(path, 0o755)
    for name, data in (("reg.qmz", b"vendor"), ("up.ini", b"[versions]\r\npt=1.0\r\n")):
        with open(os.path.join(download, name), "wb") as f:
            f.write(data)
    for size in (16, 24, 32, 48):
        with open(os.path.join(download, "icons", f"kesto-{size}.png"), "wb") as f:
            f.write(b"\x89PNG")
    return os.path.join(download, "install.sh")


def check_home(home, installer, python):
    """Problems found for one home; none when all is well."""
    problems = []
    env = {"PATH": os.environ["PATH"], "HOME": home, "LANG": "C.UTF-8"}
    os.makedirs(home)

    def script(path):
        result = subprocess.run(["sh", path], env=env, stdin=subprocess.DEVNULL,
                                capture_output=True, text=True, timeout=60)
        if result.returncode != 0:
            problems.append(f"{path} failed: {result.stdout}{result.stderr}")
        return result.stdout

    script(installer)
    data = os.path.join(home, ".local", "share")
    target = os.path.join(data, "kesto")
    entry = os.path.join(data, "applications", "kesto.desktop")
    autostart = os.path.join(home, ".config", "autostart", "kesto.desktop")
    for path in (entry, autostart):
        check = subprocess.run(["desktop-file-validate", path], capture_output=True, text=True)
        if check.returncode != 0 or check.stdout.strip():
            problems.append(f"{path} does not validate: {check.stdout}{check.stderr}")
    glib = subprocess.run([python, "-c", GLIB_CHECK, entry, autostart], env=env,
                          capture_output=True, text=True, timeout=60)
    if glib.returncode != 0:
        problems.append(f"GLib: {glib.stdout}{glib.stderr}")
    started = os.path.join(home, "started")
    for _ in range(100):
        if os.path.exists(started) and open(started).read().endswith("\n"):
            break
        time.sleep(0.1)
    expected = f"{target}/kesto\n{target}\n"
    got = open(started).read() if os.path.exists(started) else "nothing"
    if got != expected:
        problems.append(f"GLib's launch started {got!r}, not {expected!r}")

    # The platform's browser data and cache, and another copy's data, which stays.
    digest = hashlib.sha256(os.path.realpath(target).encode()).hexdigest()[:16]
    web_data = os.path.join(target, "webdata", digest)
    web_cache = os.path.join(home, ".cache", "kesto", "webcache", digest)
    for folder in (os.path.join(web_data, "storage"), web_cache,
                   os.path.join(target, "webdata", "0123456789abcdef"),
                   os.path.join(target, "app", "memo")):
        os.makedirs(folder)
    with open(os.path.join(target, "qmztx.ini"), "w") as f:
        f.write("[wm]\r\n")
    said = script(os.path.join(target, "uninstall.sh"))
    left = sorted(os.listdir(target)) if os.path.isdir(target) else []
    if left != ["app", "qmztx.ini", "up.ini", "webdata"] or \
            os.listdir(os.path.join(target, "webdata")) != ["0123456789abcdef"]:
        problems.append(f"after uninstalling, {target} holds {left}")
    for gone in (entry, autostart, os.path.join(home, ".cache", "kesto")):
        if os.path.exists(gone):
            problems.append(f"{gone} is left after uninstalling")
    if f"These stay in {target}: app/ qmztx.ini up.ini webdata/\n" not in said:
        problems.append(f"the uninstaller said: {said}")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--installer-folder", required=True)
    options = parser.parse_args()
    python = glib_python()
    failed = False
    with tempfile.TemporaryDirectory(prefix="kesto-install-") as work:
        installer = stand_in_download(options.installer_folder, work)
        for name in HOMES:
            for problem in check_home(os.path.join(work, name), installer, python):
                print(f"home {name!r}: {problem}")
                failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
