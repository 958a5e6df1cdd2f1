#!/usr/bin/env python3
"""Lays out a program folder for the platform, as a seller would have it after installing.

    lay_out_folder.py --out FOLDER --platform KESTO --regtool REGTOOL --packages DIR
                      --port PORT [--updater UP.QMZ] [--tools memo,profit]

FOLDER gets the platform program (as "kesto"), the updater up.qmz (left out without
--updater, so the platform fetches it itself), a reg.qmz pointing at the demo site on
127.0.0.1:PORT, and app/<key>/ for each tool named. FOLDER must not exist yet, or be empty.
"""

import argparse
import os
import shutil
import subprocess
import sys

PLATFORM_NAME = "kesto"


def platform_info(port):
    """The six values of reg.qmz: service number, company, web site, purchase page, advert,
    spare field (which must not be empty: an empty last field is read as a missing one)."""
    site = f"127.0.0.1:{port}"
    return ["4702519", "Kesto演示店", site, f"http://{site}/pay/", f"http://{site}/ad/", "demo"]


def lay_out(out, platform, regtool, packages, port, updater=None, tools=()):
    if "app" in os.path.abspath(out).split(os.sep):
        # The platform's programs look for qmztx.ini two folders up from any folder named app
        # or below one; a program folder there would be mistaken for a tool's.
        raise ValueError(f"{out}: a program folder must not lie in a folder named app")
    os.makedirs(out, exist_ok=True)
    if os.listdir(out):
        raise ValueError(f"{out} is not empty")
    shutil.copy2(platform, os.path.join(out, PLATFORM_NAME))
    if updater:
        shutil.copy2(updater, os.path.join(out, "up.qmz"))
    subprocess.run([regtool, "write", os.path.join(out, "reg.qmz"), *platform_info(port)],
                   check=True)
    for key in tools:
        source = os.path.join(packages, key)
        if not os.path.isfile(os.path.join(source, key + ".qmz")):
            raise ValueError(f"no package {key} in {packages}")
        shutil.copytree(source, os.path.join(out, "app", key))
    return os.path.join(out, PLATFORM_NAME)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Lays out a program folder for the platform.")
    parser.add_argument("--out", required=True)
    parser.add_argument("--platform", required=True)
    parser.add_argument("--regtool", required=True)
    parser.add_argument("--packages", required=True)
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--updater")
    parser.add_argument("--tools", default="", help="comma-separated keys to install")
    options = parser.parse_args(argv)
    tools = [key for key in options.tools.split(",") if key]
    try:
        print(lay_out(options.out, options.platform, options.regtool, options.packages,
                      options.port, options.updater, tools))
    except (OSError, ValueError, subprocess.CalledProcessError) as error:
        sys.stderr.write(f"lay_out_folder: {error}\n")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
