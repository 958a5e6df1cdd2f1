#!/usr/bin/env python3
"""End-to-end under Wine: the build's kesto.exe, its up.qmz, the demo tools and the demo site
together, in an X session of their own (Xvfb, openbox, trayer), driven with xdotool.

    run_wine_e2e.py --case NAME --platform KESTO.EXE --updater UP.QMZ --regtool REGTOOL.EXE
                    --packages DIR --server SERVER.PY --port PORT --wine LOADER --prefix WINEPREFIX
                    --artifacts DIR --publish PUBLISH.PY --release-version VERSION
                    [--vendor-key PEM]

The programs are started by the Wine loader for their kind (32- or 64-bit). Exit status 0: passed; 1: failed (screenshots
and logs are kept in the artifacts folder); 77: skipped, because no X server or Wine could
start here. Wine's browser engine is not installed here, so the web panels stay empty.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "../../tools/demo-tools"))
import harness  # noqa: E402
import lay_out_folder  # noqa: E402
from harness import Failure, wait_until  # noqa: E402
from run_e2e import (DUPLICATE_CAPTION, STUB_TOOLS, add_feed_options,  # noqa: E402
                     case_signed_update, expect, release_of, run_case)
from run_e2e import Run as LinuxRun  # noqa: E402

MAIN_TITLE = "Kesto应用平台"
PLATFORM_FILE = "kesto.exe"
# The first start of a prefix takes about 15 s; a loaded machine takes longer.
PREFIX_TIMEOUT = 180


class WineRun(LinuxRun):
    """One case's world, as the Linux cases have it, with the Windows programs run by Wine."""

    def __init__(self, options, case):
        super().__init__(options, case, "kesto-wine-")
        # A program folder named in scripts GBK lacks, as a seller's account folder may be.
        self.folder = harness.ProgramFolder(os.path.join(self.work, "Bjørn Ελένη 😀 kesto"))
        self.x.env.update(WINEPREFIX=options.prefix, WINEDEBUG="-all")
        self.record_before_start = 0

    def wine(self, *argv):
        return [self.options.wine, *argv]

    def prepare(self):
        """The X session, and the prefix made ready (its first start builds it); a case that
        cannot have both is skipped."""
        super().prepare()
        if not os.access(self.options.wine, os.X_OK):
            raise harness.Skip(f"Wine is not installed ({self.options.wine})")
        env = dict(self.x.env)
        # No offer to install the .NET runtime or the browser engine into a new prefix.
        env["WINEDLLOVERRIDES"] = "mscoree=;mshtml="
        # One Wine session for the whole case, as Windows keeps its services up between starts:
        # a server that ends with the last program shuts the services down after every stop.
        # The server needs the prefix's folder; the boot below fills a new one.
        os.makedirs(self.options.prefix, exist_ok=True)
        self.wineserver("-p")
        # A plain boot: the session's first program already runs "wineboot --init", and a
        # second one starts a second service manager, which can hold the COM service that the
        # platform's first page needs for a minute.
        try:
            result = subprocess.run(self.wine("wineboot"), env=env, timeout=PREFIX_TIMEOUT,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            raise harness.Skip(f"Wine did not make its prefix within {PREFIX_TIMEOUT} s")
        if result.returncode != 0:
            raise harness.Skip(f"Wine cannot start here (wineboot ended with {result.returncode})")

    def lay_out(self, tools=STUB_TOOLS, updater=True):
        """The program folder as the zip unpacks it, with a reg.qmz for the demo site and the
        tools installed below app."""
        os.makedirs(self.folder.path)
        shutil.copy2(self.options.platform, os.path.join(self.folder.path, PLATFORM_FILE))
        if updater:
            shutil.copy2(self.options.updater, os.path.join(self.folder.path, "up.qmz"))
        self.start(self.wine(self.options.regtool, "write", "reg.qmz",
                             *lay_out_folder.platform_info(self.options.port)),
                   "regtool.log").wait(60)
        expect(os.path.isfile(os.path.join(self.folder.path, "reg.qmz")), "regtool made no reg.qmz")
        for key in tools:
            shutil.copytree(os.path.join(self.options.packages, key),
                            os.path.join(self.folder.path, "app", key))

    def user_start(self):
        # The record an earlier start left names no platform of this start.
        self.record_before_start = self.folder.window_of("pt")
        return self.start(self.wine(PLATFORM_FILE), "platform.log")

    def main_window(self):
        """The X window of the platform's main window, once it shows."""
        return wait_until(lambda: (self.x.windows_named(MAIN_TITLE) or [None])[0],
                          60 * harness.SLOWNESS, "the main window")

    def wait_platform(self, timeout=90):
        """The main window once the platform of the last start runs as the updater started it,
        and has recorded itself anew."""
        def running():
            record = self.folder.window_of("pt")
            return record and record != self.record_before_start and any(
                harness.command_line(pid)[1:] == ["-qmz"]
                for pid in self.programs_running(PLATFORM_FILE))
        wait_until(running, timeout * harness.SLOWNESS, 'the platform recorded under "pt"')
        window = self.main_window()
        time.sleep(2.0 * harness.SLOWNESS)  # let the first paint settle
        return window

    # ---- the update cases ----

    PLATFORM_FILE = PLATFORM_FILE

    def stop_platform(self):
        """Ends the platform as a shutdown would: the tray menu does not come up under Wine."""
        running = lambda: self.programs_running(PLATFORM_FILE) + self.updaters_running()  # noqa
        harness.kill_all(running())
        wait_until(lambda: not running(), 30, "the platform to end")

    def programs_running(self, name):
        """Pids of this prefix's Windows programs named `name`: Wine gives each the command
        line it was started with, which may name it without its folder."""
        marker = f"WINEPREFIX={self.options.prefix}".encode()
        found = []
        for pid in harness.all_pids():
            argv = harness.command_line(pid)
            if not argv or argv[0].replace("/", "\\").split("\\")[-1].lower() != name:
                continue
            try:
                with open(f"/proc/{pid}/environ", "rb") as f:
                    if marker in f.read().split(b"\0"):
                        found.append(pid)
            except OSError:
                pass
        return found

    def updaters_running(self):
        return self.programs_running("up.qmz")

    def running_release(self):
        """The release of the folder's kesto.exe, while it runs."""
        if not self.programs_running(PLATFORM_FILE):
            return None
        with open(os.path.join(self.folder.path, PLATFORM_FILE), "rb") as f:
            return release_of(f.read())

    def program_that_ends(self):
        """A Windows program that ends at once when started as the platform: regtool."""
        with open(self.options.regtool, "rb") as f:
            return f.read()

    def docked_icons(self):
        """How many icons the tray host holds."""
        panels = self.x.windows_named("panel")
        if not panels:
            return 0
        tree = self.x.output("xwininfo", "-children", "-id", str(panels[0]))
        return sum(1 for line in tree.splitlines() if line.strip().startswith("0x"))

    def folder_processes(self):
        """Pids of the Wine processes running a program of this folder."""
        marker = self.folder.path.replace("/", "\\").lower()
        found = []
        for pid in harness.all_pids():
            if marker in " ".join(harness.command_line(pid)).lower().replace("/", "\\"):
                found.append(pid)
        return found

    def wineserver(self, *argv):
        """The prefix's server, told `argv`; it holds no output of ours open."""
        wineserver = os.path.join(os.path.dirname(self.options.wine), "wineserver")
        subprocess.run([wineserver, *argv], env=self.x.env, timeout=30, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        super().close()
        self.wineserver("-k")  # what is left of this prefix's programs, and its server


# ---- the cases ----

def case_main_window(run):
    """A user start hands over to up.qmz, which starts kesto.exe with "-qmz"; its main window
    shows the tiles of the app folder, and its icon is docked in the tray."""
    run.lay_out()
    run.start_site()
    first = run.user_start()
    window = run.wait_platform()
    run.x.screenshot(os.path.join(run.artifacts, "main-window.png"))
    expect(first.wait(30 * harness.SLOWNESS) == 0, "the user-started platform did not end with 0")
    wm = run.folder.ini().get("wm", {})
    expect(wm.get("run") == "pt" and wm.get("name", "").lower() == PLATFORM_FILE,
           f"section wm holds {wm}")
    for key in STUB_TOOLS:
        run.wait_tile(window, key)
    wait_until(run.docked_icons, 20, "the platform's icon in the tray")


def case_tile_starts_tool(run):
    """A double click on a tile starts that tool through the updater, and the tool records its
    window. (The exit from the tray menu is left out: under Wine here a right click on the
    docked icon brings up no menu.)"""
    run.lay_out()
    run.start_site()
    run.user_start()
    window = run.wait_platform()
    key = STUB_TOOLS[0]
    x, y = run.wait_tile(window, key)
    run.click_main(window, (x, y), repeat=2)
    wait_until(lambda: run.folder.window_of(key), 60 * harness.SLOWNESS,
               f'tool "{key}" recorded')
    expect(run.folder.ini().get("wm", {}).get("run") == key,
           "the tool was not started through the updater")
    run.x.screenshot(os.path.join(run.artifacts, "tool-started.png"))


def case_two_starts_at_once(run):
    """Two user starts in the same instant (a double double-click) come to one platform: the
    folder's instance lock lets one through, and the other, once that one's window is there,
    brings it up, says "重复运行啦" and ends."""
    run.lay_out()
    run.start_site()
    starts = [run.user_start(), run.start(run.wine(PLATFORM_FILE), "platform-2.log")]
    window = run.wait_platform()
    box = run.wait_box(DUPLICATE_CAPTION, timeout=60 * harness.SLOWNESS)
    run.x.screenshot(os.path.join(run.artifacts, "duplicate.png"))
    run.x.key("Return", window=box)
    wait_until(lambda: len(run.programs_running(PLATFORM_FILE)) == 1, 30 * harness.SLOWNESS,
               "one platform process")
    for start in starts:
        expect(start.wait(30 * harness.SLOWNESS) == 0, "a user start did not end with 0")
    time.sleep(3.0 * harness.SLOWNESS)  # a third platform would have come up by now
    running = run.programs_running(PLATFORM_FILE)
    expect(len(running) == 1 and harness.command_line(running[0])[1:] == ["-qmz"],
           f"expected the one platform the updater started, found {running}")
    expect(not run.x.windows_named(DUPLICATE_CAPTION), "a second duplicate box")
    expect(run.x.windows_named(MAIN_TITLE) == [window], "another main window")


CASES = {name[len("case_"):]: case for name, case in globals().items()
         if name.startswith("case_")}


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    for name in ("platform", "updater", "regtool", "packages", "server", "wine", "prefix", "artifacts"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("--port", type=int, required=True)
    add_feed_options(parser)
    options = parser.parse_args(argv)
    return run_case(lambda: WineRun(options, options.case), CASES, options.case)


if __name__ == "__main__":
    sys.exit(main())
