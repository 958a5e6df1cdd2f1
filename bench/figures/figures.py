#!/usr/bin/env python3
"""Prints two figures of the platform as a user meets it:

  - the time from a user start (the platform started without "-qmz", handing over to up.qmz,
    which starts it again) to the main window shown on the screen;
  - the memory of the running platform at rest: every process of it, the browser engine's
    web and network processes included (proportional set size, and resident set size).

    figures.py [--build build-demo] [--runs 5] [--rest 10]

The build must have its built-in settings pointing at a loopback demo site (as
tools/scripts/run-demo.sh makes build-demo). Runs in an X server of its own (Xvfb, openbox,
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
        with open(f"/proc/{pid}/comm", encoding="utf-8") as f:
            return f.read().strip()
    except OSError:
        return "?"


def one_run(options, x, port, number):
    work = harness.new_work_folder("kesto-figures-")
    folder = harness.ProgramFolder(os.path.join(work, "kesto"))
    build = options.build
    lay_out_folder.lay_out(folder.path, os.path.join(build, "kesto"),
                           os.path.join(build, "tools/regtool/regtool"),
                           os.path.join(build, "demo-packages"), port,
                           os.path.join(build, "tools/updater/up.qmz"), ["memo", "profit"])
    log = open(os.path.join(work, "platform.log"), "wb")
    try:
        started = time.monotonic()
        subprocess.Popen([os.path.join(folder.path, "kesto")], cwd=folder.path, env=x.env,
                         stdout=log, stderr=log, start_new_session=True)

        def shown():
            handle = folder.window_of("pt")
            return handle if handle and x.is_viewable(handle) else None
        harness.wait_until(shown, 60, "the main window", interval=0.01)
        shown_ms = (time.monotonic() - started) * 1000
        time.sleep(options.rest)
        platform = [pid for pid, argv in folder.platforms().items() if argv[1:] == ["-qmz"]]
        processes = set(platform) | harness.descendants(platform)
        usage = {pid: memory_kib(pid) for pid in processes}
        names = sorted(process_name(pid) for pid in processes)
        print(f"run {number}: main window after {shown_ms:.0f} ms; at rest "
              f"{sum(u[0] for u in usage.values()) / 1024:.1f} MiB PSS over {', '.join(names)}")
        return shown_ms, usage
    finally:
        harness.kill_all(list(harness.programs_below(folder.path)))
        log.close()
        shutil.rmtree(work, ignore_errors=True)


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
        site = harness.Site(os.path.join(top, "tools/demo-site/server.py"), port,
                            os.path.join(options.build, "demo-packages"),
                            os.path.join(options.build, "tools/updater/up.qmz"),
                            os.path.join(work, "site.log"))
        site.start(x.env)
        results = [one_run(options, x, port, n + 1) for n in range(options.runs)]
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
    print(f"user start to main window shown: median {statistics.median(times):.0f} ms "
          f"(min {min(times):.0f}, max {max(times):.0f}, {len(times)} runs)")
    print(f"memory at rest, all processes of the platform: median {statistics.median(pss):.1f} "
          f"MiB PSS, {statistics.median(rss):.1f} MiB RSS "
          f"({len(results[-1][1])} processes in the last run)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
