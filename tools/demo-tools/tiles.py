"""Tile pictures of the demo tools: 155 x 140 GIFs drawn from simple shapes.

Everything outside the rounded tile is #808080, the colour the platform's image list treats
as transparent; the GIF marks the same colour transparent for the web pages.
"""

import math
import struct

WIDTH, HEIGHT = 155, 140
TRANSPARENT = (0x80, 0x80, 0x80)
WHITE = (255, 255, 255)
INK = (0x44, 0x44, 0x44)
SHADE = (0xDD, 0xDD, 0xDD)
RED = (0xE8, 0x4C, 0x3D)
LINE_BLUE = (0x9F, 0xD8, 0xF5)
YELLOW = (0xFF, 0xC8, 0x3D)


class Canvas:
    def __init__(self, background):
        self.colours = [TRANSPARENT]
        self.pixels = bytearray(WIDTH * HEIGHT)
        self.fill_round_rect(2, 2, WIDTH - 2, HEIGHT - 2, 16, background)

    def index_of(self, colour):
        if colour not in self.colours:
            if len(self.colours) == 16:
                raise ValueError("a tile uses at most 16 colours")
            self.colours.append(colour)
        return self.colours.index(colour)

    def plot(self, x, y, index):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            self.pixels[y * WIDTH + x] = index

    def fill(self, inside, colour, box=(0, 0, WIDTH, HEIGHT)):
        index = self.index_of(colour)
        x0, y0, x1, y1 = (max(0, int(v)) for v in box)
        for y in range(y0, min(y1 + 1, HEIGHT)):
            for x in range(x0, min(x1 + 1, WIDTH)):
                if inside(x + 0.5, y + 0.5):
                    self.plot(x, y, index)

    def fill_rect(self, left, top, right, bottom, colour):
        self.fill(lambda x, y: left <= x < right and top <= y < bottom, colour,
                  (left, top, right, bottom))

    def fill_round_rect(self, left, top, right, bottom, radius, colour):
        def inside(x, y):
            if not (left <= x < right and top <= y < bottom):
                return False
            cx = min(max(x, left + radius), right - radius)
            cy = min(max(y, top + radius), bottom - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2

        self.fill(inside, colour, (left, top, right, bottom))

    def fill_circle(self, cx, cy, radius, colour):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2, colour,
                  (cx - radius, cy - radius, cx + radius, cy + radius))

    def line(self, x0, y0, x1, y1, width, colour):
        length = math.hypot(x1 - x0, y1 - y0) or 1.0

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * (x1 - x0) + (y - y0) * (y1 - y0)) / length ** 2))
            return math.hypot(x - (x0 + t * (x1 - x0)), y - (y0 + t * (y1 - y0))) <= width / 2

        self.fill(inside, colour, (min(x0, x1) - width, min(y0, y1) - width,
                                   max(x0, x1) + width, max(y0, y1) + width))

    def gif(self):
        palette = self.colours + [(0, 0, 0)] * (16 - len(self.colours))
        header = b"GIF89a" + struct.pack("<HHBBB", WIDTH, HEIGHT, 0xF3, 0, 0)
        header += b"".join(bytes(c) for c in palette)
        # Graphic control extension: colour 0 transparent.
        control = b"\x21\xf9\x04\x01\x00\x00\x00\x00"
        image = b"\x2c" + struct.pack("<HHHHB", 0, 0, WIDTH, HEIGHT, 0)
        data = lzw_encode(self.pixels, 4)
        blocks = b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255]
                          for i in range(0, len(data), 255))
        return header + control + image + bytes([4]) + blocks + b"\x00\x3b"


def lzw_encode(indices, min_code_size):
    """GIF's variable-width LZW of the colour indices."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out, bit_buffer, bit_count = bytearray(), 0, 0

    def emit(code, size):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {bytes([i]): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, code_size = fresh_table()
    emit(clear, code_size)
    word = b""
    for value in indices:
        candidate = word + bytes([value])
        if candidate in table:
            word = candidate
            continue
        emit(table[word], code_size)
        if next_code < 4096:
            table[candidate] = next_code
            if next_code == 1 << code_size:
                code_size += 1
            next_code += 1
        else:
            emit(clear, code_size)
            table, next_code, code_size = fresh_table()
        word = bytes([value])
    if word:
        emit(table[word], code_size)
    emit(end, code_size)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def draw_calculator(c):
    c.fill_round_rect(42, 16, 114, 124, 8, SHADE)
    c.fill_round_rect(40, 14, 112, 122, 8, WHITE)
    c.fill_rect(48, 22, 104, 44, INK)
    c.fill_rect(86, 30, 99, 36, YELLOW)
    for row in range(4):
        for column in range(3):
            colour = RED if (row, column) == (3, 2) else SHADE
            left, top = 48 + column * 20, 52 + row * 17
            c.fill_round_rect(left, top, left + 16, top + 13, 3, colour)


def draw_memo(c):
    c.fill_rect(40, 18, 112, 124, SHADE)
    c.fill_rect(36, 14, 108, 120, WHITE)
    for y in range(34, 114, 14):
        c.fill_rect(42, y, 102, y + 2, LINE_BLUE)
    c.fill_rect(50, 14, 52, 120, RED)
    c.line(88, 96, 122, 42, 9, YELLOW)
    c.line(88, 96, 84, 106, 5, INK)


def draw_clock(c):
    c.fill_circle(79, 72, 50, SHADE)
    c.fill_circle(77, 70, 50, WHITE)
    for hour in range(12):
        angle = hour * math.pi / 6
        x, y = 77 + 42 * math.sin(angle), 70 - 42 * math.cos(angle)
        c.fill_circle(x, y, 3 if hour % 3 == 0 else 1.8, INK)
    c.line(77, 70, 77, 38, 5, INK)
    c.line(77, 70, 101, 82, 4, INK)
    c.line(77, 70, 62, 104, 2, RED)
    c.fill_circle(77, 70, 4, RED)


PICTOGRAMS = {"calculator": draw_calculator, "memo": draw_memo, "clock": draw_clock}


def draw(pictogram, background):
    canvas = Canvas(background)
    PICTOGRAMS[pictogram](canvas)
    return canvas.gif()
