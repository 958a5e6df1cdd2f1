#!/usr/bin/env python3
"""Puts the icon file together from raw pixels drawn by draw.sh: for each size, a palette image
(8 bits per pixel) first, then the same sizes at 32 bits per pixel, each with its AND mask.

Usage: make_icon.py WORKDIR OUT.ico SIZE...
WORKDIR holds iconN.rgba (straight RGBA) and iconN.rgb (the palette-reduced colours) per size.
"""
import struct
import sys


def rows_bottom_up(size):
    return range(size - 1, -1, -1)


def and_mask(alpha, size):
    """1 bits where the pixel is transparent, rows padded to 4 bytes, bottom row first."""
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for y in rows_bottom_up(size):
        row = bytearray(stride)
        for x in range(size):
            if alpha[y * size + x] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def bitmap_header(size, bits, palette_entries):
    image_bytes = size * ((size * bits + 31) // 32) * 4
    return struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, image_bytes, 0, 0,
                       palette_entries, 0)


def palette_image(rgba, rgb, size):
    alpha = rgba[3::4]
    colours = []
    index = {}
    pixels = bytearray()
    for i in range(size * size):
        colour = (0, 0, 0) if alpha[i] < 128 else tuple(rgb[i * 3:i * 3 + 3])
        if colour not in index:
            index[colour] = len(colours)
            colours.append(colour)
        pixels.append(index[colour])
    if len(colours) > 256:
        sys.exit('too many colours for an 8-bit image')
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in colours)
    palette += bytes(4 * (256 - len(colours)))
    stride = ((size + 3) // 4) * 4
    body = b''.join(bytes(pixels[y * size:(y + 1) * size]) + bytes(stride - size)
                    for y in rows_bottom_up(size))
    return bitmap_header(size, 8, 256) + palette + body + and_mask(alpha, size)


def true_colour_image(rgba, size):
    body = bytearray()
    for y in rows_bottom_up(size):
        for x in range(size):
            r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
            body += bytes((b, g, r, a))
    return bitmap_header(size, 32, 0) + bytes(body) + and_mask(rgba[3::4], size)


def main():
    work, target, sizes = sys.argv[1], sys.argv[2], [int(s) for s in sys.argv[3:]]
    images = []
    for bits in (8, 32):
        for size in sizes:
            rgba = open(f'{work}/icon{size}.rgba', 'rb').read()
            if bits == 8:
                rgb = open(f'{work}/icon{size}.rgb', 'rb').read()
                images.append((size, bits, palette_image(rgba, rgb, size)))
            else:
                images.append((size, bits, true_colour_image(rgba, size)))
    offset = 6 + 16 * len(images)
    directory = b''
    for size, bits, data in images:
        directory += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, bits, len(data),
                                 offset)
        offset += len(data)
    with open(target, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)) + directory +
                b''.join(data for _, _, data in images))


main()
