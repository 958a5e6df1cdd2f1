#!/usr/bin/env python3
"""Installs a release's downloads as a seller would and starts each once, before it is published.

    check_release.py --tarball KESTO-LINUX.tar.gz [--installer KESTO-SETUP.EXE] --feed DIR
                     --update-host HOST --update-port PORT
                     [--windows-update-host HOST --windows-update-port PORT --ca PEM]
                     --reg REG.QMZ --version V [--tools KEY,KEY] --artifacts DIR

The Linux download is unpacked and installed by its install.sh into a fresh home whose path has
a space and Chinese letters, and started from its menu entry under an X server of its own; the
Windows installer runs silently in a fresh Wine prefix and kesto.exe is started from where it
installed (only where Wine's 32-bit loader runs: elsewhere one line says so and that part is
skipped); the uninstaller it wrote must carry a signature that verifies against --ca. Where
the update host is 127.0.0.1 and its port is free, the demo site serves the release's feed
(DIR/linux, DIR/windows) there. A start passes when the platform runs as the updater started
it, its window is recorded under [jb] pt in qmztx.ini, no other window (a message box) came up,
the installed reg.qmz, up.ini and tools (--tools) are the release's and, with the demo site
serving, the updater read the feed and fetched none of this release's files again. A release that brings no tools meets the platform's first-use prompt ("提示"), which it
shows on an empty app folder: that box alone is taken as the greeting it is.
Exits 0 when every start that could run passed, 1 otherwise (screenshots and logs in DIR).
"""

import argparse
import glob
import os
import re
import shutil
import socket
import subprocess
import sys
import tarfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.join(HERE, "../..")
sys.path.insert(0, os.path.join(TOP, "tests/e2e"))
import harness  # noqa: E402
from harness import Failure, wait_until  # noqa: E402
from run_download_e2e import DownloadRun  # noqa: E402
from run_e2e import expect, run_case  # noqa: E402
from run_wine_e2e import WineRun  # noqa: E402

SERVER = os.path.join(TOP, "tools/demo-site/server.py")
WINE32 = "/usr/lib/wine/wine"
# A home whose path a careless script would split or mangle.
HOME_NAME = "卖家 的家"
SETTLE_SECONDS = 8
FIRST_USE_PROMPT = "提示"
MAIN_TITLE = "Kesto应用平台"


def port_is_free(port):
    with socket.socket() as probe:
        return probe.connect_ex(("127.0.0.1", port)) != 0


def start_feed_site(run, host, port, feed):
    """The demo site serving the release's feed, when the programs' update host is it."""
    if host != "127.0.0.1":
        print(f"  update host {host}: the programs are started without a site of the check's own")
        return False
    if not port_is_free(port):
        print(f"  127.0.0.1:{port} is taken: the programs are started against what serves there")
        return False
    run.feed = feed
    run.start_site()
    return True


def boxes(run, main_window=None):
    """The titles of the windows the window manager manages besides the platform's main window
    (before it is known: a window of its title) and the tray host: a message box, or any other
    window a seller would have to deal with."""
    listing = run.x.output("xprop", "-root", "_NET_CLIENT_LIST")
    trays = set(run.x.windows_named("panel", visible_only=False))
    found = []
    for window in (int(w, 16) for w in re.findall(r"0x[0-9a-f]+", listing)):
        title = run.x.xdotool("getwindowname", window).strip()
        if window in trays or window == main_window or (
                main_window is None and title == MAIN_TITLE):
            continue
        if title == FIRST_USE_PROMPT and not run.options.tools:
            continue
        found.append(title)
    return found


def wait_started(run, timeout):
    """The platform's main window once it runs as the updater started it; a box that comes up
    meanwhile (one that waits for an answer may hold the start) fails the start at once."""
    deadline = time.monotonic() + timeout * harness.SLOWNESS
    while True:
        found = boxes(run)
        if found:
            run.x.screenshot(os.path.join(run.artifacts, "box.png"))
            raise Failure(f"a box came up: {found}")
        try:
            return run.wait_platform(timeout=2)
        except Failure as failure:
            if time.monotonic() > deadline:
                raise Failure(f"{failure} within {timeout} s")


def check_started(run, main_window, served, platform_file):
    """What a start that went well leaves: the one window while the updater looks at the feed
    and a while after, and the release's reg.qmz and up.ini in place."""
    settled = None
    deadline = time.monotonic() + 90 * harness.SLOWNESS
    while settled is None or time.monotonic() < settled:
        found = boxes(run, main_window)
        if found:
            run.x.screenshot(os.path.join(run.artifacts, "box.png"))
            raise Failure(f"a box came up: {found}")
        if settled is None and not run.updaters_running():
            settled = time.monotonic() + SETTLE_SECONDS * harness.SLOWNESS
        expect(time.monotonic() < deadline or settled, "the updater did not finish within 90 s")
        time.sleep(0.5)
    run.x.screenshot(os.path.join(run.artifacts, "started.png"))
    if served:
        requests = run.site.requests()
        expect(any("/app/feed.json" in line for line in requests),
               f"the updater never read the feed: {requests}")
        fetched = [line for line in requests if "/app/feed/pt/" in line or "/app/feed/up/" in line]
        expect(not fetched, f"the installed release was fetched again: {fetched}")
    state = harness.read_ini(os.path.join(run.folder.path, "up.ini"))
    version = run.options.version
    wanted = {key: version for key in ["pt", "up"] + run.options.tools}
    versions = state.get("versions", {})
    expect({key: versions.get(key) for key in wanted} == wanted, f"up.ini holds {state}")
    missing = [key for key in run.options.tools
               if not os.path.isfile(os.path.join(run.folder.path, "app", key, key + ".qmz"))]
    expect(not missing, f"the tools {missing} were not installed")
    with open(os.path.join(run.folder.path, "reg.qmz"), "rb") as installed, \
            open(run.options.reg, "rb") as made:
        expect(installed.read() == made.read(), "the installed reg.qmz is not the vendor's")
    print(f"  PASSED: {platform_file} came up (window {main_window}) with no box", flush=True)


def case_linux(run):
    """The Linux download as the README installs it, started from its menu entry."""
    with tarfile.open(run.options.tarball) as tar:
        tar.extractall(os.path.join(run.work, "下载"))
    run.script(os.path.join(run.work, "下载", "kesto", "install.sh"))
    served = start_feed_site(run, run.options.update_host, run.options.update_port,
                             os.path.join(run.options.feed, "linux"))
    argv, folder = run.entry_command()
    run.start(argv, "platform.log", cwd=folder)
    check_started(run, wait_started(run, 90), served, "kesto")


def case_windows(run):
    """The Windows installer run silently, kesto.exe started from where it installed."""
    installer = run.start(run.wine(run.options.installer, "/S"), "installer.log", cwd=run.work)
    expect(installer.wait(180 * harness.SLOWNESS) == 0, "the installer failed")
    found = glob.glob(os.path.join(run.options.prefix, "drive_c/users/*/AppData/Local/Kesto"))
    expect(found and os.path.isfile(os.path.join(found[0], "kesto.exe")),
           f"kesto.exe is not in %LOCALAPPDATA%\\Kesto: {found}")
    run.folder = harness.ProgramFolder(found[0])
    uninstaller = os.path.join(found[0], "uninstall.exe")
    verified = subprocess.run(["osslsigncode", "verify", "-CAfile", run.options.ca, "-in",
                               uninstaller], capture_output=True, text=True)
    expect(verified.returncode == 0, f"the uninstaller's signature does not verify: "
           f"{verified.stdout[-400:]}{verified.stderr[-400:]}")
    served = start_feed_site(run, run.options.windows_update_host,
                             run.options.windows_update_port,
                             os.path.join(run.options.feed, "windows"))
    run.user_start()
    check_started(run, wait_started(run, 120), served, "kesto.exe")


class LinuxCheck(DownloadRun):
    def __init__(self, options):
        super().__init__(options, "linux", home_name=HOME_NAME)


class WindowsCheck(WineRun):
    def __init__(self, options):
        super().__init__(options, "windows")


def windows_runs_here():
    try:
        return subprocess.run([WINE32, "--version"], capture_output=True, timeout=30).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for name in ("tarball", "feed", "update-host", "reg", "version", "artifacts"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("--update-port", type=int, required=True)
    parser.add_argument("--installer")
    parser.add_argument("--tools", default="")
    parser.add_argument("--windows-update-host")
    parser.add_argument("--windows-update-port", type=int)
    parser.add_argument("--ca", help="the CA file the Windows files' signatures verify against")
    options = parser.parse_args(argv)
    options.artifacts = os.path.abspath(options.artifacts)
    options.tools = [key for key in options.tools.split(",") if key]
    os.makedirs(options.artifacts, exist_ok=True)
    # What the end-to-end runs take: the demo site's, with no tool packages.
    options.server, options.updater, options.port = SERVER, None, options.update_port
    options.packages = os.path.join(options.artifacts, "no-packages")
    os.makedirs(options.packages, exist_ok=True)

    print("Linux download: installed into a fresh home and started")
    outcomes = [run_case(lambda: LinuxCheck(options), {"linux": case_linux}, "linux")]
    if options.installer:
        if not windows_runs_here():
            print("Windows download: not started: Wine's 32-bit loader cannot run here (this "
                  "kernel runs no 32-bit programs, or wine32 is missing); that part is skipped")
        else:
            print("Windows download: installed into a fresh Wine prefix and started")
            options.wine = WINE32
            options.prefix = os.path.join(harness.new_work_folder("kesto-release-prefix-"), "wine")
            options.port = options.windows_update_port
            outcomes.append(run_case(lambda: WindowsCheck(options), {"windows": case_windows},
                                     "windows"))
            shutil.rmtree(os.path.dirname(options.prefix), ignore_errors=True)
    # A Linux start that could not run here (no X server) leaves the release unchecked.
    return 0 if outcomes[0] == 0 and all(outcome in (0, 77) for outcome in outcomes) else 1


if __name__ == "__main__":
    sys.exit(main())
