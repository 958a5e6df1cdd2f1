"""The applications the demo site offers, read from a folder of packages.

A package is a folder <key>/ holding the application file <key>.qmz, its info file <key>.dat
(GBK INI text: section "ini", key "bt" the title, key "ms" a one-line description) and its
tile <key>.gif. The key is what the platform and the updater call the application.
"""

import os
import re

KEY_PATTERN = re.compile(r"^[a-z0-9_-]{1,32}$")
PACKAGE_SUFFIXES = (".qmz", ".dat", ".gif")


class App:
    def __init__(self, key, title, description, folder):
        self.key = key
        self.title = title
        self.description = description
        self.folder = folder

    def file_path(self, name):
        """Path of one of the package's files, or None when the name is not one of them."""
        if name not in (self.key + suffix for suffix in PACKAGE_SUFFIXES):
            return None
        path = os.path.join(self.folder, name)
        return path if os.path.isfile(path) else None


def read_info(path):
    """Values of section [ini] of a GBK info file; a missing or unreadable file gives {}."""
    try:
        with open(path, "rb") as f:
            text = f.read().decode("gbk", errors="replace")
    except OSError:
        return {}
    values, in_section = {}, False
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("["):
            in_section = line.lower() == "[ini]"
        elif in_section and "=" in line:
            key, value = line.split("=", 1)
            values.setdefault(key.strip().lower(), value.strip())
    return values


def load(packages_dir):
    """Every package below the folder that has its application file, ordered by key."""
    apps = []
    if not packages_dir or not os.path.isdir(packages_dir):
        return apps
    for key in sorted(os.listdir(packages_dir)):
        folder = os.path.join(packages_dir, key)
        if not KEY_PATTERN.match(key) or not os.path.isfile(os.path.join(folder, key + ".qmz")):
            continue
        info = read_info(os.path.join(folder, key + ".dat"))
        apps.append(App(key, info.get("bt", key), info.get("ms", ""), folder))
    return apps
