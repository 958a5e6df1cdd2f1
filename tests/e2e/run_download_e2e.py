#!/usr/bin/env python3
"""End-to-end: the Linux download, packed from this build's programs with a reg.qmz, installed
for a user whose home is a temporary folder, started from its menu entry, installed again over
the running platform (an up.ini already there rises to the download's floor and keeps its other
lines), and uninstalled.

    run_download_e2e.py --platform KESTO --updater UP.QMZ --regtool REGTOOL
                        --packages DIR --server SERVER.PY --port PORT --artifacts DIR

Exit status 0: passed; 1: failed (logs are kept in the artifacts folder); 77: skipped,
because no X server could be started here.
"""

import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import tarfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "../../tools/demo-tools"))
import harness  # noqa: E402
import lay_out_folder  # noqa: E402
from run_e2e import Run, expect, run_case  # noqa: E402

TOP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../..")
PROGRAMS = ["kesto", "up.qmz", "regtool", "reg.qmz", "README.txt", "uninstall.sh"]
ICON_SIZES = [16, 24, 32, 48]


class DownloadRun(Run):
    """A case's world with a home folder of its own, named as users name theirs: spaces, and
    letters GBK lacks."""

    def __init__(self, options, case, home_name="home of Bjørn Ødegård 😀"):
        super().__init__(options, case, work_prefix="kesto-download-")
        self.home = os.path.join(self.work, home_name)
        self.data = os.path.join(self.home, ".local", "share")
        self.entry = os.path.join(self.data, "applications", "kesto.desktop")
        self.autostart = os.path.join(self.home, ".config", "autostart", "kesto.desktop")
        self.folder = harness.ProgramFolder(os.path.join(self.data, "kesto"))

    def user_env(self, **changes):
        env = {k: v for k, v in self.x.env.items() if not k.startswith("XDG_")}
        env["HOME"] = self.home
        env.update(changes)
        return env

    def script(self, path, *args):
        """Runs an installer script as the user would, without a terminal; its output is
        kept."""
        result = subprocess.run(["sh", path, *args], env=self.user_env(),
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        with open(os.path.join(self.artifacts, "scripts.log"), "ab") as log:
            log.write(b"$ " + " ".join([path, *args]).encode() + b"\n")
            log.write(result.stdout + result.stderr)
        expect(result.returncode == 0, f"{os.path.basename(path)} {args} failed: "
               f"{(result.stdout + result.stderr).decode(errors='replace')}")

    def entry_command(self):
        """The menu entry's command as the desktop runs it, and its folder."""
        keys = {}
        with open(self.entry, encoding="utf-8") as f:
            for line in f:
                key, _, value = line.rstrip("\n").partition("=")
                keys[key] = value
        # The string value's escapes first, then the command line's own quoting, a subset of
        # the shell's, read back by the shell.
        command = keys["Exec"].replace("\\\\", "\\")
        words = subprocess.run(["sh", "-c", 'printf "%s\\0" ' + command], capture_output=True,
                               check=True).stdout
        return [w.decode() for w in words.split(b"\0")[:-1]], keys["Path"]


def installed_files(run):
    files = [os.path.join(run.folder.path, name) for name in PROGRAMS]
    files += [os.path.join(run.data, "icons", "hicolor", f"{size}x{size}", "apps", "kesto.png")
              for size in ICON_SIZES]
    return files + [run.entry, run.autostart]


def case_linux_download(run):
    """Installs, starts from the entry, installs over the running platform, uninstalls."""
    tarball = os.path.join(run.work, "kesto-linux-x86_64.tar.gz")
    reg = os.path.join(run.work, "reg.qmz")
    subprocess.run([run.options.regtool, "write", reg,
                    *lay_out_folder.platform_info(run.options.port)], check=True, timeout=30)
    subprocess.run(["bash", os.path.join(TOP, "tools/installer/linux/pack.sh"),
                    run.options.platform, run.options.updater, run.options.regtool, reg,
                    "1.10", "4", tarball], check=True, timeout=120)
    with tarfile.open(tarball) as tar:
        tar.extractall(os.path.join(run.work, "download"))
    installer = os.path.join(run.work, "download", "kesto", "install.sh")
    run.script(installer)
    missing = [f for f in installed_files(run) if not os.path.isfile(f)]
    expect(not missing, f"not installed: {missing}")
    for entry in (run.entry, run.autostart):
        check = subprocess.run(["desktop-file-validate", entry], capture_output=True, text=True)
        expect(check.returncode == 0 and not check.stdout.strip(),
               f"{entry} does not validate: {check.stdout}{check.stderr}")

    # With no X server it says why and ends, rather than crashing.
    no_x = subprocess.run([os.path.join(run.folder.path, "kesto")], capture_output=True,
                          env={k: v for k, v in run.user_env(WAYLAND_DISPLAY="wayland-none")
                               .items() if k != "DISPLAY"},
                          timeout=30 * harness.SLOWNESS)
    expect(no_x.returncode == 1 and "X11" in no_x.stderr.decode(errors="replace"),
           f"without X: exit {no_x.returncode}, {no_x.stderr[-600:]!r}")

    # The seller's own tool beside the platform; then a start from the menu is a user start:
    # the updater starts the platform.
    shutil.copytree(os.path.join(run.options.packages, "memo"),
                    os.path.join(run.folder.path, "app", "memo"))
    run.start_site()
    argv, folder = run.entry_command()
    expect(argv == ["sh", "-c", 'exec "$0"', os.path.join(run.folder.path, "kesto")],
           f"the entry runs {argv}")
    run.start(argv, "platform.log", cwd=folder, env=run.user_env())
    run.wait_tile(run.wait_platform(), "memo")
    # The browser keeps its data under the data home, in the folder of this copy, not beside
    # the programs.
    digest = hashlib.sha256(os.path.realpath(run.folder.path).encode()).hexdigest()[:16]
    web_data = os.path.join(run.data, "kesto", "webdata", digest)
    harness.wait_until(lambda: os.path.isdir(web_data), 20,
                       f"browser data in {web_data}")
    strays = {"hsts-storage.sqlite", "storage", "mediakeys"} & set(os.listdir(run.folder.path))
    expect(not strays, f"browser data in the program folder: {strays}")

    # The updater's records of a newer platform stay; what is older rises to the download's.
    up_ini = os.path.join(run.folder.path, "up.ini")
    harness.wait_until(lambda: not run.updaters_running(), 60, "the updater to end")
    with open(up_ini, "wb") as f:
        f.write(b"[versions]\r\nmemo=1.0\r\npt=1.11\r\nup=1.9\r\n[feed]\r\nsequence=3\r\n")
    run.script(installer)
    expect(not run.folder_processes(), "the platform still runs after installing over it")
    state = harness.read_ini(up_ini)
    expect(state == {"versions": {"memo": "1.0", "pt": "1.11", "up": "1.10"},
                     "feed": {"sequence": "4"}}, f"up.ini after installing over it: {state}")

    run.script(os.path.join(run.folder.path, "uninstall.sh"))
    left = [f for f in installed_files(run) + [web_data] if os.path.exists(f)]
    expect(not left, f"left after uninstalling: {left}")
    stays = sorted(os.listdir(run.folder.path))
    expect({"app", "qmztx.ini", "up.ini"} <= set(stays) and "reg.qmz" not in stays,
           f"after uninstalling the folder holds {stays}")

    # Declined, the start at login is not installed.
    run.script(installer, "--no-autostart")
    expect(os.path.isfile(run.entry) and not os.path.exists(run.autostart),
           "--no-autostart still installed the start at login")


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for name in ("platform", "updater", "regtool", "packages", "server", "artifacts"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("--port", type=int, required=True)
    options = parser.parse_args(argv)
    case = "linux_download"
    return run_case(lambda: DownloadRun(options, case), {case: case_linux_download}, case)


if __name__ == "__main__":
    sys.exit(main())
