#!/usr/bin/env python3
"""End-to-end tests: the platform, its updater, the demo tools and the demo site together, in
an X session of their own, driven with xdotool as a user would drive them.

    run_e2e.py --case NAME --platform KESTO --updater UP.QMZ --regtool REGTOOL
               --packages DIR --server SERVER.PY --port PORT --artifacts DIR
               --publish PUBLISH.PY --release-version VERSION [--vendor-key PEM]

Every application, and the updater the platform fetches, comes from the signed release feed.
The cases that need one publish the build's platform and updater (as release VERSION) and the
demo tools into a feed of their own, signed with the private half of the build's vendor key
(--vendor-key); a build that has only the vendor's public key runs them as skipped.

Exit status 0: passed; 1: failed (screenshots and logs are kept in the artifacts folder);
77: skipped, because no X server could be started here.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import re
import time
import traceback
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "../../tools/demo-site"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "../../tools/demo-tools"))
import harness  # noqa: E402
import lay_out_folder  # noqa: E402
import make_package  # noqa: E402
import pages  # noqa: E402
from harness import Failure, wait_until  # noqa: E402

SKIPPED = 77

# Places in the main window (client coordinates), from its layout: the page container starts
# at (0, 47); the catalogue panel at (-2, 25) in it; the installed-application list at
# (10, 138) in it, 810 x 435.
LOAD_APPS_BUTTON = (920, 86)
HIDE_BUTTON = (1001, 22)
REFRESH_LINK = (787, 153)
CATALOGUE_ORIGIN = (-2, 72)
LIST_REGION = (10, 185, 820, 620)
# Seconds after a press within which another press counts toward a triple click: twice the
# double-click time, and a little more.
TRIPLE_CLICK_WINDOW = 2 * harness.DOUBLE_CLICK_MS / 1000 + 0.2

EXIT_QUESTION = "平台退出提示"
EXIT_ITEM = "退出Kesto应用平台"
DUPLICATE_CAPTION = "重复运行啦"
UPDATE_WINDOW_TITLE = "正在更新程序必备文件"
UPDATER_CAPTION = "Kesto更新程序"
STUB_TOOLS = ["memo", "profit"]
CATALOGUE_ONLY_TOOL = "clock"


class Run:
    """One test case's world: X session, demo site, program folder, and what was started."""

    def __init__(self, options, case, work_prefix="kesto-e2e-"):
        self.options = options
        self.work = harness.new_work_folder(f"{work_prefix}{case}-")
        self.artifacts = os.path.join(options.artifacts, case)
        shutil.rmtree(self.artifacts, ignore_errors=True)
        os.makedirs(self.artifacts)
        self.x = harness.XSession(self.work)
        self.folder = harness.ProgramFolder(os.path.join(self.work, "kesto"))
        self.site = None
        self.feed = os.path.join(self.work, "site")
        self.started = []
        self.logs = []

    # ---- setting up ----

    def prepare(self):
        """What every case needs before it starts: the X session."""
        self.x.start()

    def lay_out(self, tools=STUB_TOOLS, updater=True):
        lay_out_folder.lay_out(self.folder.path, self.options.platform, self.options.regtool,
                               self.options.packages, self.options.port,
                               self.options.updater if updater else None, tools)

    def start_site(self, *extra):
        """The demo site, serving the case's release feed once one is published."""
        self.site = harness.Site(self.options.server, self.options.port, self.options.packages,
                                 os.path.join(self.artifacts, "site.log"),
                                 ("--feed", self.feed, *extra))
        self.site.start(self.x.env)

    def publish(self, *releases):
        """Publishes releases, each (name, version, file, ...), into the case's feed, signed
        with the build's vendor key."""
        if not self.options.vendor_key:
            raise harness.Skip("the build has the vendor's public key only (KESTO_VENDOR_KEY), "
                               "so no release can be signed for it here")
        argv = [sys.executable, self.options.publish, self.feed, "--key",
                self.options.vendor_key]
        for release in releases:
            argv += ["--release", *release]
        subprocess.run(argv, check=True, stdout=subprocess.DEVNULL)

    def publish_build(self):
        """The build's platform and updater as the release it is, so that nothing newer waits,
        and every demo tool as 1.0, each with all its package's files."""
        version = self.options.release_version
        releases = [("pt", version, self.options.platform), ("up", version, self.options.updater)]
        for key in catalogue_keys(self):
            folder = os.path.join(self.options.packages, key)
            releases.append((key, "1.0", *sorted(os.path.join(folder, name)
                                                 for name in os.listdir(folder))))
        self.publish(*releases)

    def feed_path(self, release, name):
        """The site's path of a published release's file (its address in the feed is
        relative to the feed's own, /app/feed.json)."""
        with open(os.path.join(self.feed, "feed.json"), encoding="utf-8") as f:
            files = json.load(f)["releases"][release]["files"]
        url = next(entry["url"] for entry in files if entry["name"] == name)
        return urllib.parse.urlsplit(urllib.parse.urljoin("http://site/app/feed.json", url)).path

    def start(self, argv, log_name, cwd=None, env=None):
        log = open(os.path.join(self.artifacts, log_name), "ab")
        self.logs.append(log)
        process = subprocess.Popen(argv, cwd=cwd or self.folder.path, env=env or self.x.env,
                                   stdout=log, stderr=log, start_new_session=True)
        self.started.append(process)
        return process

    def user_start(self):
        """Starts the platform as a user does: no arguments, from its folder."""
        return self.start([os.path.join(self.folder.path, "kesto")], "platform.log")

    def wait_platform(self, timeout=60):
        """The platform's main window once it runs as the updater started it."""
        def running():
            handle = self.folder.window_of("pt")
            platforms = self.folder.platforms()
            if handle and any(argv[1:] == ["-qmz"] for argv in platforms.values()):
                return handle if self.x.is_viewable(handle) else None
            return None
        handle = wait_until(running, timeout, 'the platform recorded under "pt" with its window')
        time.sleep(1.0 * harness.SLOWNESS)  # let the first page settle
        return handle

    def run_platform(self):
        self.user_start()
        return self.wait_platform()

    # ---- the update cases ----

    PLATFORM_FILE = "kesto"

    def stop_platform(self):
        self.exit_platform()

    def updaters_running(self):
        # An updater that has put its successor in place runs on from a file that is no longer
        # named: the kernel gives its program as "up.qmz (deleted)".
        return [pid for pid, exe in harness.programs_below(self.folder.path).items()
                if exe.removesuffix(" (deleted)").endswith("up.qmz")]

    def running_release(self):
        """The release of the platform program that runs; None when none does."""
        for pid in self.folder.platforms():
            with open(f"/proc/{pid}/exe", "rb") as f:
                return release_of(f.read())
        return None

    def program_that_ends(self):
        return b"#!/bin/sh\nexit 0\n"

    def write_run_target(self, target, name="kesto"):
        with open(self.folder.config, "wb") as f:
            f.write(f"[wm]\r\nrun={target}\r\nname={name}\r\n".encode("gbk"))

    # ---- acting on windows ----

    def click_main(self, handle, point, repeat=1, button=1):
        x, y, _, _ = self.x.geometry(handle)
        self.x.click(x + point[0], y + point[1], button=button, repeat=repeat)

    def move_main(self, handle, point):
        x, y, _, _ = self.x.geometry(handle)
        self.x.move(x + point[0], y + point[1])

    def to_front(self, window):
        self.x.xdotool("windowactivate", "--sync", window)

    def tile_of(self, handle, key):
        """Where the list shows the tile of a tool, found by the tile's colour; None when the
        list does not show it. The platform comes to the front first: what covers it would
        cover the tiles too."""
        self.to_front(handle)
        colour = make_package.TOOLS[key][3]
        return self.x.find_colour(handle, LIST_REGION, colour)

    def wait_tile(self, handle, key):
        return wait_until(lambda: self.tile_of(handle, key), 40, f'the tile of "{key}"',
                          interval=0.5)

    def catalogue_point(self, page_point):
        return (CATALOGUE_ORIGIN[0] + page_point[0], CATALOGUE_ORIGIN[1] + page_point[1])

    def wait_box(self, caption, timeout=20):
        return wait_until(lambda: self.x.windows_named(caption), timeout,
                          f'the message box "{caption}"')[0]

    def answer_box(self, caption, key):
        box = self.wait_box(caption)
        self.x.key(key, window=box)
        wait_until(lambda: not self.x.windows_named(caption), 10, f'"{caption}" to close')

    def tray_icon(self):
        """Centre of the platform's icon in the tray host, once the host shows an icon: it
        shrinks away while no program has one there, as between an exit and the next start."""
        def shown():
            for panel in self.x.windows_named("panel"):
                try:
                    x, y, width, height = self.x.geometry(panel)
                except Failure:
                    continue  # gone while asked
                if width >= height > 0:
                    return x + width - height // 2, y + height // 2
            return None
        return wait_until(shown, 15, "the tray host showing an icon")

    def choose_exit(self):
        """Right-clicks the tray icon and picks the menu's only item once the menu is up."""
        pids = list(self.folder.platforms())
        before = self.x.windows_of(pids)
        x, y = self.tray_icon()
        self.x.click(x, y, button=3)
        wait_until(lambda: self.x.windows_of(pids) - before, 15, "the tray menu")
        self.x.key("Down")
        self.x.key("Return")

    def exit_platform(self):
        """Exits through the tray menu, confirmed, and waits for every program to end."""
        run_processes = self.folder_processes
        self.choose_exit()
        self.answer_box(EXIT_QUESTION, "Return")
        wait_until(lambda: not run_processes(), 20, "every tool and the platform to end")

    def wait_tool(self, key, timeout=30):
        """The live window a tool recorded under its key."""
        def recorded():
            handle = self.folder.window_of(key)
            return handle if handle and self.folder.tools(key) and self.x.is_viewable(handle) \
                else None
        return wait_until(recorded, timeout, f'tool "{key}" running and recorded')

    # ---- tearing down ----

    def keep_evidence(self):
        self.x.screenshot(os.path.join(self.artifacts, "screen.png"))
        if os.path.exists(self.folder.config):
            shutil.copy(self.folder.config, os.path.join(self.artifacts, "qmztx.ini"))
        with open(os.path.join(self.artifacts, "windows.txt"), "w") as f:
            f.write(self.x.describe_windows())
            f.write("programs of the folder:\n")
            for pid, exe in harness.programs_below(self.folder.path).items():
                f.write(f"  {pid} {exe} {harness.command_line(pid)}\n")

    def close(self):
        # Only what still runs: the number of one that ended is free for any program.
        running = [p.pid for p in self.started if p.poll() is None]
        harness.kill_all(list(self.folder_processes()) + running)
        if self.site:
            self.site.stop()
        self.x.stop()
        for log in self.logs:
            log.close()
        shutil.rmtree(self.work, ignore_errors=True)

    def folder_processes(self):
        if not os.path.isdir(self.folder.path):
            return []
        return harness.programs_below(self.folder.path).keys()


def expect(condition, message):
    if not condition:
        raise Failure(message)


# ---- the cases ----

def loaded_libraries(folder):
    """{pid: (program, libraries)} from the dynamic loader's record of each process (LD_DEBUG
    files, one file a process): each library loaded as needed, with what needed it."""
    found = {}
    for name in os.listdir(folder):
        with open(os.path.join(folder, name), encoding="utf-8", errors="replace") as f:
            text = f.read()
        needed = re.findall(r"file=(\S+) \[0\];\s+needed by (\S+)", text)
        if needed:
            found[int(name.rsplit(".", 1)[1])] = (needed[0][1], set(needed))
    return found


def case_user_start(run):
    """A user start hands over to the updater, which starts the platform with "-qmz". The
    platform started by hand and the updater load no toolkit to do so, and neither program
    links the internet or signature libraries, which a hand-over does not use."""
    run.lay_out()
    run.start_site()
    loads = os.path.join(run.work, "loads")
    os.mkdir(loads)
    first = run.start([os.path.join(run.folder.path, "kesto")], "platform.log",
                      env=dict(run.x.env, LD_DEBUG="files", LD_DEBUG_OUTPUT=f"{loads}/ld"))
    handle = run.wait_platform()
    expect(first.wait(30 * harness.SLOWNESS) == 0, "the user-started platform did not end with 0")
    processes = loaded_libraries(loads)
    programs = {pid: os.path.basename(program) for pid, (program, _) in processes.items()}
    updaters = [pid for pid, program in programs.items() if program == "up.qmz"]
    platforms = [pid for pid, program in programs.items() if program == "kesto"]
    expect(first.pid in platforms and updaters and len(platforms) == 2,
           f"the loader's records name these programs: {programs}")
    for pid in [first.pid] + updaters:
        unused = {lib for lib, by in processes[pid][1] if "gtk" in lib or "webkit" in lib or
                  (by == processes[pid][0] and ("libcurl" in lib or "libcrypto" in lib))}
        expect(not unused, f"process {pid} ({programs[pid]}) loaded {sorted(unused)}")
    shown = next(pid for pid in platforms if pid != first.pid)
    expect(any("libwebkit2gtk" in lib for lib, _ in processes[shown][1]),
           "the platform that shows its window did not load the toolkit")
    platforms = run.folder.platforms()
    expect(len(platforms) == 1, f"expected one platform process, found {platforms}")
    wm = run.folder.ini().get("wm", {})
    expect(wm.get("run") == "pt" and wm.get("name") == "kesto", f"section wm holds {wm}")
    expect(run.folder.window_of("pt") == handle, "the recorded window changed")


def case_second_start(run):
    """A second start shows "重复运行啦" and leaves the one platform running."""
    run.lay_out()
    run.start_site()
    handle = run.run_platform()
    running = set(run.folder.platforms())
    second = run.user_start()
    run.answer_box(DUPLICATE_CAPTION, "Return")
    expect(second.wait(15 * harness.SLOWNESS) == 0, "the second start did not end with 0")
    time.sleep(1)
    expect(set(run.folder.platforms()) == running,
           f"platform processes changed from {running} to {set(run.folder.platforms())}")
    expect(run.folder.window_of("pt") == handle, "the second start replaced the record")


def case_restart_after_exit(run):
    """Start, exit, start again: the window comes up every time, although the new window may
    get the id the last one had and "pt" still names it."""
    run.lay_out()
    run.start_site()
    handles = []
    for attempt in range(4):
        first = run.user_start()
        handles.append(run.wait_platform())
        expect(first.wait(30 * harness.SLOWNESS) == 0, f"start {attempt + 1}: the user start failed")
        expect(not run.x.windows_named(DUPLICATE_CAPTION),
               f"start {attempt + 1}: refused as a second start")
        run.exit_platform()
    print(f"main windows: {handles}")


def case_stale_records(run):
    """A tool record naming another program's window (its id reused) neither brings that
    window up nor closes it: the tool is started, and the exit leaves the other program be."""
    run.lay_out(tools=["memo", "profit"])
    run.start_site()
    handle = run.run_platform()
    stranger = run.start(["xmessage", "-name", "stranger", "-geometry", "+30+30", "stranger"],
                         "stranger.log")
    window = wait_until(lambda: run.x.windows_named("stranger"), 15, "the stranger's window")[0]
    run.x.xdotool("windowminimize", "--sync", window)
    with open(run.folder.config, "rb") as f:
        content = f.read()
    records = f"memo={window}\r\nprofit={window}\r\n".encode()
    with open(run.folder.config, "wb") as f:
        f.write(content.replace(b"[jb]\r\n", b"[jb]\r\n" + records, 1))
    expect(run.folder.window_of("memo") == int(window), "the stale record was not written")

    tile = run.wait_tile(handle, "memo")
    run.click_main(handle, tile, repeat=2)
    run.wait_tool("memo")
    expect(not run.x.is_viewable(window), "the stale record brought the stranger up")

    run.choose_exit()
    run.answer_box(EXIT_QUESTION, "Return")
    wait_until(lambda: not run.folder_processes(), 20, "the tool and the platform to end")
    time.sleep(1)
    expect(stranger.poll() is None, "the exit closed the stranger through a stale record")


def case_updater_not_saved(run):
    """The update window saves no up.qmz that the signed feed does not vouch for: not when the
    address the feed gives for it answers 404, nor when its bytes differ from what the feed
    says; and each next start shows the update window again and asks once more."""
    run.lay_out(updater=False)
    run.publish_build()
    path = run.feed_path("up", "up.qmz")
    published = os.path.join(run.feed, os.path.relpath(path, "/app"))
    os.rename(published, published + ".away")
    run.start_site()
    for attempt, answers in enumerate((("404",), ("200", "206"))):
        if attempt:
            run.site.stop()
            os.rename(published + ".away", published)
            run.start_site("--broken", "up")
        # The update window is up only while it asks the site, a moment; the site's log shows it.
        started = run.user_start()
        expect(started.wait(30 * harness.SLOWNESS) == 0, f"start {attempt + 1}: did not end")
        asked = [r for r in run.site.requests() if r.startswith(f"GET {path} ")]
        expect(len(asked) == attempt + 1 and asked[-1].rsplit(" ", 1)[1] in answers,
               f"start {attempt + 1}: the site was asked for the updater as {asked}")
        expect(not os.path.exists(os.path.join(run.folder.path, "up.qmz")),
               f"start {attempt + 1}: an updater the feed does not vouch for was saved")


def case_second_start_shows_hidden(run):
    """A second start brings up a main window hidden to the tray, for good."""
    run.lay_out()
    run.start_site()
    handle = run.run_platform()
    run.click_main(handle, HIDE_BUTTON)
    wait_until(lambda: not run.x.is_viewable(handle), 10, "the window hidden to the tray")
    # The pointer moves on, as a seller's does on the way to the next start: openbox under
    # Xvfb takes no request to map a window that withdrew itself under the pointer until the
    # next input event (seen: the window stayed hidden until the pointer moved).
    time.sleep(0.5 * harness.SLOWNESS)
    run.x.xdotool("mousemove_relative", "--", 40, 40)
    second = run.user_start()
    run.answer_box(DUPLICATE_CAPTION, "Return")
    expect(second.wait(15 * harness.SLOWNESS) == 0, "the second start did not end with 0")
    wait_until(lambda: run.x.is_viewable(handle), 10, "the hidden window shown")
    time.sleep(1.5)
    expect(run.x.is_viewable(handle), "the window went away again")


def tool_started_from_tile(run, key):
    """Starts the platform and the tool of a tile by a double-click on it: the main window, the
    tile, when its presses were made, the tool's window and its processes."""
    run.lay_out(tools=[key])
    run.start_site()
    handle = run.run_platform()
    tile = run.wait_tile(handle, key)
    run.click_main(handle, tile, repeat=2)
    # Taken once the presses are made: before them, a slow start of the double-click under
    # load shortened the pause before the next one and made that a triple click.
    clicked = time.monotonic()
    tool = run.wait_tool(key)
    return handle, tile, clicked, tool, set(run.folder.tools(key))


def double_click_again(run, handle, tile, last_clicked):
    # A press within twice the double-click time of the first press makes the toolkit see a
    # triple click, not a new double-click; a user pauses longer than that.
    time.sleep(max(0.0, last_clicked + TRIPLE_CLICK_WINDOW - time.monotonic()))
    run.click_main(handle, tile, repeat=2)


def case_tile_double_click(run):
    """A double-click on a tile starts its tool; a second one brings it to the front."""
    handle, tile, clicked, tool, first_pids = tool_started_from_tile(run, "memo")
    run.to_front(handle)
    wait_until(lambda: run.x.active_window() != tool, 10, "the platform to come to the front")
    double_click_again(run, handle, tile, clicked)
    wait_until(lambda: run.x.active_window() == tool, 15, "the tool's window in front")
    time.sleep(2 * harness.SLOWNESS)  # a second process would have shown up by now
    expect(set(run.folder.tools("memo")) == first_pids,
           f"tool processes went from {first_pids} to {set(run.folder.tools('memo'))}")


def case_tile_after_tool_closed(run):
    """A tool the seller closed starts anew on the next double-click of its tile, and its
    window comes to the front, although the record still names the closed window."""
    handle, _, clicked, closed, first_pids = tool_started_from_tile(run, "memo")
    run.x.key("alt+F4", window=closed)  # the window manager's close, as from the title bar
    wait_until(lambda: not run.folder.tools("memo"), 15, "the closed tool to end")
    double_click_again(run, handle, run.wait_tile(handle, "memo"), clicked)
    tool = run.wait_tool("memo")  # the closed window is gone, so this is the new one's
    wait_until(lambda: run.x.active_window() == tool, 15, "the new tool's window in front")
    time.sleep(2 * harness.SLOWNESS)  # a second process would have shown up by now
    now = set(run.folder.tools("memo"))
    expect(len(now) == 1 and not now & first_pids,
           f"tool processes went from {first_pids} to {now}")


def case_tiles_at_once(run):
    """Two tiles double-clicked within 100 ms, each through an updater of its own: both tools
    come up, and neither start waits for the other tool's window (each tool's process runs
    before the other's window is recorded)."""
    run.lay_out()
    run.start_site()
    started = {}
    for key in STUB_TOOLS:
        run.write_run_target(key)
        started[key] = time.monotonic()
        run.start([os.path.join(run.folder.path, "up.qmz"), "-qmz"], f"updater-{key}.log")
        time.sleep(0.05)
    running, shown = {}, {}

    def both_shown():
        now = time.monotonic()
        for key in STUB_TOOLS:
            if key not in running and run.folder.tools(key):
                running[key] = now
            handle = run.folder.window_of(key)
            if key not in shown and handle and run.x.is_viewable(handle):
                shown[key] = now
        return len(shown) == len(STUB_TOOLS)

    wait_until(both_shown, 30, "both tools' windows", interval=0.02)
    first, second = STUB_TOOLS
    expect(running[second] < shown[first] and running[first] < shown[second],
           "a tool started only once the other's window was up: "
           + ", ".join(f"{key} ran at {running[key] - started[first]:.2f} s and showed at "
                       f"{shown[key] - started[first]:.2f} s" for key in STUB_TOOLS))
    expect(all(len(run.folder.tools(key)) == 1 for key in STUB_TOOLS),
           f"tool processes: {run.folder.tools()}")


def case_catalogue_install(run):
    """A catalogue click on a tool that is not installed installs it from the signed feed and
    starts it, and the list shows it after a refresh."""
    run.lay_out()
    run.publish_build()
    run.start_site()
    handle = run.run_platform()
    loads = run.site.requests().count("GET /app 200")
    run.click_main(handle, LOAD_APPS_BUTTON)
    wait_until(lambda: run.site.requests().count("GET /app 200") > loads, 20,
               "the catalogue page loaded")
    keys = sorted(catalogue_keys(run))
    card = run.catalogue_point(pages.card_position(keys.index(CATALOGUE_ONLY_TOOL)))
    around = (card[0] - pages.CARD_WIDTH // 2, card[1] - pages.CARD_HEIGHT // 2,
              card[0] + pages.CARD_WIDTH // 2, card[1] + pages.CARD_HEIGHT // 2)
    colour = make_package.TOOLS[CATALOGUE_ONLY_TOOL][3]
    wait_until(lambda: run.x.find_colour(handle, around, colour), 30, "the catalogue card drawn",
               interval=0.5)
    # The panel acts on the first pointer move as on a click: make it one over empty page.
    run.move_main(handle, run.catalogue_point((700, 480)))
    time.sleep(0.5)
    run.click_main(handle, card)
    run.wait_tool(CATALOGUE_ONLY_TOOL, timeout=40)
    installed = os.path.join(run.folder.path, "app", CATALOGUE_ONLY_TOOL)
    expect(sorted(os.listdir(installed)) == [f"{CATALOGUE_ONLY_TOOL}.{e}" for e in
                                             ("dat", "gif", "qmz")],
           f"installed files: {os.listdir(installed)}")
    expect(not run.folder.leftovers(), f"download folders left: {run.folder.leftovers()}")

    expect(run.tile_of(handle, CATALOGUE_ONLY_TOOL) is None, "the list showed it unrefreshed")
    run.click_main(handle, REFRESH_LINK)
    tile = run.wait_tile(handle, CATALOGUE_ONLY_TOOL)
    run.to_front(handle)
    run.click_main(handle, tile, repeat=2)
    tool = run.folder.window_of(CATALOGUE_ONLY_TOOL)
    wait_until(lambda: run.x.active_window() == tool, 15, "its tile to bring the tool to the front")
    expect(len(run.folder.tools(CATALOGUE_ONLY_TOOL)) == 1, "the installed tool started twice")


def catalogue_keys(run):
    """Keys of the packages the site offers; its catalogue shows them in sorted order."""
    return [name for name in os.listdir(run.options.packages)
            if os.path.isfile(os.path.join(run.options.packages, name, name + ".qmz"))]


def case_tray_exit(run):
    """Exit from the tray: Cancel ends nothing; OK ends every tool and the platform."""
    run.lay_out()
    run.start_site()
    run.run_platform()
    for key in STUB_TOOLS:
        # Started before and apart from the platform: OK must close them all the same.
        run.start([os.path.join(run.folder.path, "app", key, key + ".qmz")], f"{key}.log")
        run.wait_tool(key)
    everything = set(run.folder_processes())

    run.choose_exit()
    run.answer_box(EXIT_QUESTION, "Escape")
    time.sleep(2)
    expect(set(run.folder_processes()) == everything, "Cancel ended something")

    run.choose_exit()
    run.answer_box(EXIT_QUESTION, "Return")
    wait_until(lambda: not run.folder_processes(), 20, "every tool and the platform to end")


def case_tray_status_notifier(run):
    """On a desktop whose tray host speaks StatusNotifierItem: the platform's item registers,
    the host's activation brings back the window hidden to the tray, and the host's menu exits
    through the confirmation."""
    run.lay_out()
    run.start_site()
    host = harness.TrayHost(run.x, run.started)
    handle = run.run_platform()
    host.expect("registered", timeout=30)
    run.click_main(handle, HIDE_BUTTON)
    wait_until(lambda: not run.x.is_viewable(handle), 15, "the main window hidden")
    host.command("activate")
    wait_until(lambda: run.x.is_viewable(handle), 15, "the main window back from the tray")
    host.command(f"choose {EXIT_ITEM}")
    run.answer_box(EXIT_QUESTION, "Return")
    wait_until(lambda: not run.folder_processes(), 20, "the platform to end")


def case_self_update(run):
    """Without up.qmz the update window fetches the updater the signed feed names, with its
    bar moving, and the platform goes on through the updater."""
    run.lay_out(updater=False)
    run.publish_build()
    # Long enough for a few looks at the bar even when each look is slow under load.
    run.start_site("--updater-seconds", "10")
    run.user_start()
    window = wait_until(lambda: run.x.windows_named(UPDATE_WINDOW_TITLE), 30,
                        "the update window")[0]
    looks = set()
    deadline = time.monotonic() + 20 * harness.SLOWNESS
    last_seen = time.monotonic()
    # The window manager unmaps a new window for a moment while it frames it, so the window
    # counts as closed only once it has been missing for a while.
    while time.monotonic() < deadline and time.monotonic() - last_seen < 2:
        if run.x.windows_named(UPDATE_WINDOW_TITLE):
            last_seen = time.monotonic()
            pixels = run.x.pixels(window)
            if pixels:
                looks.add(pixels)
        time.sleep(0.3)
    expect(len(looks) >= 3, f"the update window showed {len(looks)} different pictures")
    updater = os.path.join(run.folder.path, "up.qmz")
    expect(os.path.isfile(updater), "up.qmz was not saved")
    with open(updater, "rb") as saved, open(run.options.updater, "rb") as served:
        expect(saved.read() == served.read(), "the saved up.qmz differs from the served one")
    run.wait_platform()
    requests = run.site.requests()
    path = run.feed_path("up", "up.qmz")
    expect("GET /app/up/1.txt 200" in requests and
           any(r in (f"GET {path} 200", f"GET {path} 206") for r in requests),
           f"site requests: {requests}")


def case_updater_installs_once(run):
    """The updater installs a missing tool, starts it, and brings it to the front the next time
    instead of starting it twice; two updaters at once start it once."""
    run.lay_out(tools=[])
    run.publish_build()
    run.start_site()
    run.write_run_target(CATALOGUE_ONLY_TOOL)
    updaters = [run.start([os.path.join(run.folder.path, "up.qmz"), "-qmz"], "updater.log")
                for _ in range(2)]
    for updater in updaters:
        expect(updater.wait(60 * harness.SLOWNESS) == 0, "an updater failed")
    tool = run.wait_tool(CATALOGUE_ONLY_TOOL)
    expect(len(run.folder.tools(CATALOGUE_ONLY_TOOL)) == 1, "two updaters started it twice")
    program = run.feed_path(CATALOGUE_ONLY_TOOL, f"{CATALOGUE_ONLY_TOOL}.qmz")
    fetches = [r for r in run.site.requests() if r.startswith(f"GET {program} ")]
    expect(len(fetches) == 1, f"the package was fetched {len(fetches)} times")

    run.x.xdotool("windowminimize", "--sync", tool)
    again = run.start([os.path.join(run.folder.path, "up.qmz"), "-qmz"], "updater.log")
    expect(again.wait(30 * harness.SLOWNESS) == 0, "the updater failed on a running tool")
    wait_until(lambda: run.x.active_window() == tool, 10, "the running tool in front")
    expect(len(run.folder.tools(CATALOGUE_ONLY_TOOL)) == 1, "a running tool was started again")


def case_updater_refuses(run):
    """A tool the feed does not have, a download whose bytes differ from the feed's and a key
    that is no file name are reported, and leave nothing in the app folder; "pt" starts the
    named platform with -qmz."""
    run.lay_out(tools=[])
    run.publish_build()
    run.start_site("--broken", CATALOGUE_ONLY_TOOL)
    updater = os.path.join(run.folder.path, "up.qmz")
    for target in ("nosuch", CATALOGUE_ONLY_TOOL, "../escape", "a.b"):
        run.write_run_target(target)
        process = run.start([updater, "-qmz"], "updater.log")
        run.answer_box(UPDATER_CAPTION, "Return")
        expect(process.wait(20 * harness.SLOWNESS) == 1, f"{target}: the updater reported success")
        app = os.path.join(run.folder.path, "app")
        installed = os.listdir(app) if os.path.isdir(app) else []
        expect(not installed, f"{target}: the app folder holds {installed}")
        expect(not run.folder.leftovers(), f"{target}: left {run.folder.leftovers()}")
    expect(not os.path.exists(os.path.join(run.work, "escape")), "a key reached outside")

    stub = os.path.join(run.folder.path, "stub platform")
    with open(stub, "w") as f:
        # Renamed into place: the test reads the file as soon as it is there.
        f.write(f'#!/bin/sh\necho "$@" > "{run.work}/stub-args.new"\n'
                f'mv "{run.work}/stub-args.new" "{run.work}/stub-args"\n')
    os.chmod(stub, 0o755)
    run.write_run_target("pt", name="stub platform")
    # The updater stays on once the platform runs, to look for its next release behind it.
    run.start([updater, "-qmz"], "updater.log")
    args = os.path.join(run.work, "stub-args")
    wait_until(lambda: os.path.exists(args), 10, "the stub platform to run")
    with open(args) as f:
        expect(f.read().split() == ["-qmz"], "the platform was not started with -qmz alone")


def release_marker(version):
    return f"\nkesto platform release {version}\n".encode()


def release_of(content):
    """The release a platform program file is: the marker it ends with, or 1.0."""
    for version in ("0.9", "1.1", "1.2"):
        if content.endswith(release_marker(version)):
            return version
    return "1.0"


def case_signed_update(run):
    """A fresh folder of the 1.0 build offered an older, signed 0.9 keeps its 1.0. The vendor
    publishes 1.1 of the platform: the next start fetches and checks it behind the running 1.0,
    the one after runs 1.1. A 1.2 that ends at once is rolled back to 1.1, which stays, and 1.2
    is not tried again; nor is an updater 1.2 that is no working updater."""
    run.lay_out(tools=[])

    def publish(version, content):
        program = os.path.join(run.work, version, run.PLATFORM_FILE)
        os.makedirs(os.path.dirname(program))
        with open(program, "wb") as f:
            f.write(content)
        os.chmod(program, 0o755)
        run.publish(("pt", version, program))

    def start_and_settle():
        """A user start, the platform up, and the updater's check after it finished."""
        run.user_start()
        run.wait_platform(timeout=90 * harness.SLOWNESS)
        wait_until(lambda: not run.updaters_running(), 60 * harness.SLOWNESS,
                   "the updater to finish its check")

    with open(run.options.platform, "rb") as f:
        built = f.read()
    publish("0.9", built + release_marker("0.9"))
    run.start_site()
    start_and_settle()  # 0.9 would be staged here, and run at the next start
    run.stop_platform()
    publish("1.1", built + release_marker("1.1"))
    start_and_settle()
    expect(run.running_release() == "1.0",
           f"release {run.running_release()} runs: the start took 0.9 or waited for 1.1")
    run.stop_platform()
    start_and_settle()
    expect(run.running_release() == "1.1", f"release {run.running_release()} runs, not 1.1")

    publish("1.2", run.program_that_ends() + release_marker("1.2"))
    run.stop_platform()
    start_and_settle()  # 1.1 runs and 1.2 is staged
    for start in ("the rollback", "the start after it"):
        run.stop_platform()
        start_and_settle()
        expect(run.running_release() == "1.1", f"after {start} release {run.running_release()} runs")
    state = harness.read_ini(os.path.join(run.folder.path, "up.ini"))
    expect(state.get("versions", {}).get("pt") == "1.1", f"up.ini holds {state}")
    expect(state.get("refused", {}).get("pt") == "1.2", f"1.2 is not refused: {state}")

    # An updater release that is no working updater is tried before any start is handed to it,
    # and gives way to the updater before it, which keeps starting the platform.
    updater = os.path.join(run.folder.path, "up.qmz")
    with open(updater, "rb") as f:
        working = f.read()
    broken = os.path.join(run.work, "up-1.2", "up.qmz")
    os.makedirs(os.path.dirname(broken))
    with open(broken, "wb") as f:
        f.write(run.program_that_ends())
    os.chmod(broken, 0o755)
    run.publish(("up", "1.2", broken))
    for start in ("the updater's trial", "the start after it"):
        run.stop_platform()
        start_and_settle()
        with open(updater, "rb") as f:
            expect(f.read() == working, f"after {start} the updater is not the working one")
    state = harness.read_ini(os.path.join(run.folder.path, "up.ini"))
    expect(state.get("refused", {}).get("up") == "1.2", f"updater 1.2 is not refused: {state}")


CASES = {name[len("case_"):]: function for name, function in globals().items()
         if name.startswith("case_")}


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--case", required=True, choices=sorted(CASES))
    for name in ("platform", "updater", "regtool", "packages", "server", "artifacts"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("--port", type=int, required=True)
    add_feed_options(parser)
    options = parser.parse_args(argv)

    return run_case(lambda: Run(options, options.case), CASES, options.case)


def add_feed_options(parser):
    parser.add_argument("--publish", required=True)
    parser.add_argument("--release-version", required=True)
    parser.add_argument("--vendor-key")


def run_case(make_run, cases, case):
    """Runs one case in the world `make_run` makes, and says how it went as the exit status."""
    try:
        run = make_run()
    except harness.Skip as reason:
        print(f"SKIPPED: {reason}")
        return SKIPPED
    try:
        run.prepare()
        cases[case](run)
        print(f"PASSED: {case}")
        return 0
    except harness.Skip as reason:
        print(f"SKIPPED: {reason}")
        return SKIPPED
    except Exception:  # noqa: BLE001 - every failure is reported the same way
        traceback.print_exc()
        try:
            run.keep_evidence()
        except Exception:  # noqa: BLE001
            pass
        print(f"FAILED: {case}; screenshots and logs in {run.artifacts}")
        return 1
    finally:
        run.close()


if __name__ == "__main__":
    sys.exit(main())
