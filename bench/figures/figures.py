#!/usr/bin/env python3
"""Prints two figures of the platform as a user meets it:

  - the time from a user start (the platform started without "-qmz", handing over to up.qmz,
    which starts it again) to the main window shown on the screen, with the updater's release
    check in place (the site's signed feed offers a newer platform, which the updater fetches,
    checks and stages while the platform starts) and without it (the site has no feed), beside
    the platform's own start (started with "-qmz", as the updater starts it); and the time from
    a tile's start (the run target written, up.qmz started, as the platform does) to the tool's
    window, beside the tool's own start; all kinds of start taking turns;
  - the memory of the running platform at rest: every process of it, the browser engine's
    web and network processes included (proportional set size, and resident set size), beside
    that of a bare WebKitGTK window showing the same pages (bench/figures/bare_window), and
    their ratio.

    figures.py [--build build-demo] [--runs 5] [--rest 10]

Every kind of start is made once first and not counted (run 0): the caches are then warm for
every kind alike.

The build must have its built-in settings pointing at a loopback demo site and the demo's
vendor key (as tools/scripts/run-demo.sh makes build-demo, with build-demo/demo-vendor.pem). Runs in an X server of its own (Xvfb, openbox,
trayer), so the figures do not depend on the desktop it is started from.
"""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
top = os.path.normpath(os.path.join(here, "../.."))
sys.path.insert(0, os.path.join(top, "tests/e2e"))
sys.path.insert(0, os.path.join(top, "tools/demo-tools"))
import harness  # noqa: E402
import lay_out_folder  # noqa: E402


def loopback_port(build):
    """The demo-site port the build's built-in settings point at."""
    cache = {}
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as f:
        for line in f:
            match = re.match(r"^(KESTO_\w+):\w+=(.*)$", line.strip())
            if match:
                cache[match.group(1)] = match.group(2)
    web = re.match(r"^127\.0\.0\.1:(\d+)$", cache.get("KESTO_WEB_HOST", ""))
    if not web or cache.get("KESTO_UPDATE_HOST") != "127.0.0.1" or \
            cache.get("KESTO_UPDATE_PORT") != web.group(1):
        raise SystemExit(f"{build} does not point at a loopback demo site; "
                         "make one with tools/scripts/run-demo.sh")
    return int(web.group(1))


def memory_kib(pid):
    """(PSS, RSS) of one process in KiB, zeros when it is gone."""
    values = {"Pss": 0, "Rss": 0}
    try:
        with open(f"/proc/{pid}/smaps_rollup", encoding="ascii") as f:
            for line in f:
                name, _, rest = line.partition(":")
                if name in values:
                    values[name] = int(rest.split()[0])
    except OSError:
        pass
    return values["Pss"], values["Rss"]


def process_name(pid):
    try:
        return os.path.basename(os.readlink(f"/proc/{pid}/exe"))
    except OSError:
        return "?"


def describe(names):
    counts = {}
    for name in names:
        counts[name] = counts.get(name, 0) + 1
    return ", ".join(f"{n} x {name}" if n > 1 else name for name, n in sorted(counts.items()))


# How often every start is looked at: finer than the differences the figures are about, and the
# same for every kind of start.
POLL_SECONDS = 0.005


def watch_start(folder, x, first):
    """Milliseconds from the user start to: the hand-over process ending, the updater ending,
    and the main window shown."""
    started = time.monotonic()
    marks = {}
    updater_seen = False
    deadline = started + 60 * harness.SLOWNESS
    while "shown" not in marks:
        if time.monotonic() > deadline:
            raise harness.Failure("the main window did not come up within a minute")
        now = (time.monotonic() - started) * 1000
        if "handed over" not in marks and first.poll() is not None:
            marks["handed over"] = now
        updaters = [pid for pid, exe in harness.programs_below(folder.path).items()
                    if os.path.basename(exe) == "up.qmz"]
        updater_seen = updater_seen or bool(updaters)
        if updater_seen and not updaters and "updater done" not in marks:
            marks["updater done"] = now
        handle = folder.window_of("pt")
        if handle and x.is_viewable(handle):
            marks["shown"] = (time.monotonic() - started) * 1000
        time.sleep(POLL_SECONDS)
    return marks


def publish_feed(build, site):
    """The signed feed of the build's platform and updater as 1.0, and of a platform 1.1 that
    a start without a release in place fetches, checks and stages."""
    key = os.path.join(build, "demo-vendor.pem")
    if not os.path.exists(key):
        raise SystemExit(f"{key} is missing; make build-demo with tools/scripts/run-demo.sh")
    platform = os.path.join(build, "kesto")
    newer = os.path.join(site + "-files", "kesto")
    os.makedirs(os.path.dirname(newer))
    with open(platform, "rb") as source, open(newer, "wb") as target:
        target.write(source.read() + b"\nrelease 1.1\n")
    publish = [sys.executable, os.path.join(top, "tools/publish/publish.py"), site, "--key", key]
    subprocess.run(publish + ["--release", "up", "1.0", os.path.join(build, "updater/up.qmz"),
                              "--release", "pt", "1.1", newer], check=True,
                   stdout=subprocess.DEVNULL)


def lay_out(options, port):
    """A fresh program folder of the build's programs with the tools memo and profit."""
    work = harness.new_work_folder("kesto-figures-")
    folder = harness.ProgramFolder(os.path.join(work, "kesto"))
    build = options.build
    lay_out_folder.lay_out(folder.path, os.path.join(build, "kesto"),
                           os.path.join(build, "tools/regtool/regtool"),
                           os.path.join(build, "demo-packages"), port,
                           os.path.join(build, "updater/up.qmz"), ["memo", "profit"])
    return work, folder


# The tool the tile starts measure, and the kinds of start timed to a window alone.
TILE = "memo"
OWN_START, TILE_START, TOOL_START = "own start", "tile start", "tool's own start"
WINDOW_KINDS = (OWN_START, TILE_START, TOOL_START)


def window_run(options, x, port, number, kind):
    """Milliseconds from one start of the kind to the window it brings up shown: the
    platform's own start, a tile's start through the updater, or the tool's own start."""
    work, folder = lay_out(options, port)
    if kind == OWN_START:
        argv, key = [os.path.join(folder.path, "kesto"), "-qmz"], "pt"
    elif kind == TILE_START:
        with open(folder.config, "wb") as f:
            f.write(f"[wm]\r\nrun={TILE}\r\nname=kesto\r\n".encode("ascii"))
        argv, key = [os.path.join(folder.path, "up.qmz"), "-qmz"], TILE
    else:
        argv, key = [os.path.join(folder.path, "app", TILE, TILE + ".qmz")], TILE
    log = open(os.path.join(work, "start.log"), "wb")
    try:
        started = time.monotonic()
        subprocess.Popen(argv, cwd=folder.path, env=x.env, stdout=log, stderr=log,
                         start_new_session=True)
        while True:
            handle = folder.window_of(key)
            if handle and x.is_viewable(handle):
                break
            if time.monotonic() - started > 60 * harness.SLOWNESS:
                raise harness.Failure(f"{kind}: no window within a minute")
            time.sleep(POLL_SECONDS)
        took = (time.monotonic() - started) * 1000
        print(f"run {number} ({kind}): shown {took:.0f} ms")
        return took
    finally:
        harness.kill_all(list(harness.programs_below(folder.path)))
        log.close()
        shutil.rmtree(work, ignore_errors=True)


def one_run(options, x, port, number, kind):
    work, folder = lay_out(options, port)
    log = open(os.path.join(work, "platform.log"), "wb")
    try:
        first = subprocess.Popen([os.path.join(folder.path, "kesto")], cwd=folder.path,
                                 env=x.env, stdout=log, stderr=log, start_new_session=True)
        marks = watch_start(folder, x, first)
        time.sleep(options.rest)
        platform = [pid for pid, argv in folder.platforms().items() if argv[1:] == ["-qmz"]]
        processes = set(platform) | harness.descendants(platform)
        usage = {pid: memory_kib(pid) for pid in processes}
        steps = ", ".join(f"{name} {ms:.0f} ms" for name, ms in marks.items())
        print(f"run {number} ({kind}): {steps}; at rest {sum(u[0] for u in usage.values()) / 1024:.1f} "
              f"MiB PSS over {describe(process_name(pid) for pid in processes)}")
        return marks["shown"], usage
    finally:
        harness.kill_all(list(harness.programs_below(folder.path)))
        log.close()
        shutil.rmtree(work, ignore_errors=True)


# The pages the main window shows at rest: catalogue panel, side panel, advertising strip.
BARE_PAGES = ["/csapp", "/topapp", "/ad/"]


def bare_window_pss(options, x, port):
    """MiB PSS of the bare WebKitGTK window with the main window's pages, all its processes."""
    program = os.path.join(options.build, "bench/figures/bare_window")
    if not os.path.exists(program):
        raise SystemExit(f"{program} is missing; build the bare_window target")
    pages = [f"http://127.0.0.1:{port}{page}" for page in BARE_PAGES]
    bare = subprocess.Popen([program] + pages, env=x.env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        time.sleep(options.rest)
        processes = {bare.pid} | harness.descendants([bare.pid])
        pss = sum(memory_kib(pid)[0] for pid in processes) / 1024
        print(f"bare window: at rest {pss:.1f} MiB PSS over "
              f"{describe(process_name(pid) for pid in processes)}")
        return pss
    finally:
        harness.kill_all([bare.pid])


def spread_percent(values):
    """The interquartile range in percent of the median, as the other benchmarks print it."""
    if len(values) < 2:
        return 0.0
    lower, _, upper = statistics.quantiles(values, n=4, method="inclusive")
    return 100 * (upper - lower) / statistics.median(values)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Start-up time and memory of the platform.")
    parser.add_argument("--build", default=os.path.join(top, "build-demo"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--rest", type=float, default=10.0,
                        help="seconds to let the platform settle before measuring memory")
    options = parser.parse_args(argv)
    port = loopback_port(options.build)

    work = harness.new_work_folder("kesto-figures-x-")
    x = harness.XSession(work)
    site = None
    try:
        x.start()
        feed = os.path.join(work, "feed")
        publish_feed(options.build, feed)
        site = harness.Site(os.path.join(top, "tools/demo-site/server.py"), port,
                            os.path.join(options.build, "demo-packages"),
                            os.path.join(work, "site.log"), ["--feed", feed])
        site.start(x.env)
        results, plain = [], []
        windows = {kind: [] for kind in WINDOW_KINDS}
        kinds = ("check", "no check") + WINDOW_KINDS

        def start(kind, number):
            """One start of the kind; a start without the check finds no feed on the site."""
            if kind == "no check":
                os.rename(feed, feed + "-away")
                try:
                    return one_run(options, x, port, number, kind)[0]
                finally:
                    os.rename(feed + "-away", feed)
            if kind == "check":
                return one_run(options, x, port, number, kind)
            return window_run(options, x, port, number, kind)

        # Run 0 starts every kind once and is not counted: the first start after the benchmark
        # begins meets cold caches, and would always fall to the kind that comes first.
        for kind in kinds:
            start(kind, 0)
        for n in range(options.runs):
            # The kinds take turns, in the other order every other time.
            for kind in (kinds if n % 2 == 0 else reversed(kinds)):
                result = start(kind, n + 1)
                if kind == "check":
                    results.append(result)
                elif kind == "no check":
                    plain.append(result)
                else:
                    windows[kind].append(result)
        bare = [bare_window_pss(options, x, port) for _ in range(options.runs)]
    except harness.Skip as reason:
        raise SystemExit(f"cannot measure: {reason}")
    finally:
        if site:
            site.stop()
        x.stop()
        shutil.rmtree(work, ignore_errors=True)

    times = [r[0] for r in results]
    pss = [sum(u[0] for u in r[1].values()) / 1024 for r in results]
    rss = [sum(u[1] for u in r[1].values()) / 1024 for r in results]
    print()
    for kind, values in (("user start to main window shown, with the release check", times),
                         ("user start to main window shown, without it", plain),
                         ("the platform's own start (-qmz) to its window", windows[OWN_START]),
                         (f"tile start to the tool's window ({TILE})", windows[TILE_START]),
                         ("the tool's own start to its window", windows[TOOL_START])):
        print(f"{kind}: median {statistics.median(values):.0f} ms, spread "
              f"{spread_percent(values):.1f} % (min {min(values):.0f}, max {max(values):.0f}, "
              f"{len(values)} runs)")
    own = statistics.median(windows[OWN_START])
    print(f"with / without the check: {statistics.median(times) / statistics.median(plain):.2f} "
          f"(target: at most 1.02, the check adds nothing to the start)")
    print(f"user start / the platform's own start: {statistics.median(plain) / own:.2f} without "
          f"the check, {statistics.median(times) / own:.2f} with it (target: at most 1.10)")
    tile_ratio = statistics.median(windows[TILE_START]) / statistics.median(windows[TOOL_START])
    print(f"tile start / the tool's own start: {tile_ratio:.2f} (target: at most 1.10)")
    print(f"memory at rest, all processes of the platform: median {statistics.median(pss):.1f} "
          f"MiB PSS, {statistics.median(rss):.1f} MiB RSS "
          f"({len(results[-1][1])} processes in the last run)")
    print(f"bare WebKitGTK window with the same pages: median {statistics.median(bare):.1f} MiB PSS "
          f"(min {min(bare):.1f}, max {max(bare):.1f})")
    print(f"platform / bare window: {statistics.median(pss) / statistics.median(bare):.2f} "
          f"(target now: platform at most 300 MiB; then at most 1.10 x the bare window)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
