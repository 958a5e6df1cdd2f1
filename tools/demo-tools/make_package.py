#!/usr/bin/env python3
"""Makes the package of one demo tool: OUT/<key>/<key>.qmz, <key>.dat and <key>.gif.

    make_package.py --key memo --program PATH --out DIR

The .qmz is the tool's program, the .dat its GBK info file ([ini] bt = title, ms = one-line
description, CRLF line ends), the .gif its 155 x 140 tile. Each file is written beside its
final name and renamed into place, so a package folder never holds a half-written file.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tiles  # noqa: E402

# key: title, description, pictogram, tile colour
TOOLS = {
    "profit": ("利润计算器", "进价、扣点、运费，一算便知", "calculator", (0xFF, 0x8A, 0x00)),
    "memo": ("店铺备忘录", "随手记下今天的待办", "memo", (0x11, 0xB8, 0xFF)),
    "clock": ("上新时钟", "看好时间，准点上新", "clock", (0x2E, 0xC2, 0x7E)),
}


def write_whole(path, data, mode=0o644):
    temporary = path + ".part"
    with open(temporary, "wb") as f:
        f.write(data)
    os.chmod(temporary, mode)
    os.replace(temporary, path)


def info_file(title, description):
    return f"[ini]\r\nbt={title}\r\nms={description}\r\n".encode("gbk")


def main(argv=None):
    parser = argparse.ArgumentParser(description="Makes the package of one demo tool.")
    parser.add_argument("--key", required=True, choices=sorted(TOOLS))
    parser.add_argument("--program", required=True, help="the tool's built program")
    parser.add_argument("--out", required=True, help="folder that gets <key>/")
    options = parser.parse_args(argv)

    title, description, pictogram, colour = TOOLS[options.key]
    folder = os.path.join(options.out, options.key)
    os.makedirs(folder, exist_ok=True)
    base = os.path.join(folder, options.key)
    with open(options.program, "rb") as f:
        write_whole(base + ".qmz", f.read(), 0o755)
    write_whole(base + ".dat", info_file(title, description))
    write_whole(base + ".gif", tiles.draw(pictogram, colour))
    return 0


if __name__ == "__main__":
    sys.exit(main())
