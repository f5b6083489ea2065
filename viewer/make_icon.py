#!/usr/bin/env python3
"""Draws the viewer's icon (a hash sign under a magnifying glass on a blue tile) and writes
velkscope.ico with images of 256, 64, 48, 32 and 16 pixels. Standard library only.

    python3 make_icon.py [output.ico] [--preview preview.png]
"""
import math
import struct
import sys
import zlib

SIZES = [256, 64, 48, 32, 16]


def capsule(px, py, ax, ay, bx, by):
    """Distance from (px, py) to the segment a-b."""
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def rounded_box(px, py, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def over(dst, colour, alpha):
    """Premultiplied 'over' of a straight colour with the given coverage."""
    r, g, b, a = dst
    return (colour[0] * alpha + r * (1 - alpha), colour[1] * alpha + g * (1 - alpha),
            colour[2] * alpha + b * (1 - alpha), alpha + a * (1 - alpha))


TOP = (0x4C, 0x8D, 0xF6)
BOTTOM = (0x1B, 0x4F, 0xC9)
EDGE = (0x14, 0x3C, 0x9A)
WHITE = (0xFF, 0xFF, 0xFF)
RING = (0xF8, 0xB1, 0x2C)
RING_DARK = (0xB4, 0x6A, 0x05)
HANDLE = (0x3A, 0x2A, 0x1A)

HASH_BARS = [  # slanted uprights and the two crossbars of the hash sign
    (0.38, 0.17, 0.31, 0.63),
    (0.58, 0.17, 0.51, 0.63),
    (0.19, 0.31, 0.71, 0.31),
    (0.17, 0.49, 0.69, 0.49),
]
LENS = (0.63, 0.63, 0.205)  # centre and radius of the glass


def sample(x, y):
    pixel = (0.0, 0.0, 0.0, 0.0)
    tile = rounded_box(x, y, 0.05, 0.05, 0.95, 0.95, 0.19)
    if tile < 0:
        pixel = over(pixel, mix(TOP, BOTTOM, (y - 0.05) / 0.9), 1.0)
        if tile > -0.025:
            pixel = over(pixel, EDGE, 0.55)
    lx, ly, lr = LENS
    lens_distance = math.hypot(x - lx, y - ly)
    if min(capsule(x, y, *bar) for bar in HASH_BARS) < 0.045:
        pixel = over(pixel, WHITE, 1.0)
    if lens_distance < lr - 0.035:  # the glass brightens what lies under it
        pixel = over(pixel, (0xE6, 0xF0, 0xFF), 0.30)
    if capsule(x, y, lx + lr * 0.72, ly + lr * 0.72, 0.93, 0.93) < 0.055:
        pixel = over(pixel, HANDLE, 1.0)
    ring = abs(lens_distance - lr)
    if ring < 0.05:
        pixel = over(pixel, RING_DARK, 1.0)
        if ring < 0.032:
            pixel = over(pixel, RING, 1.0)
    return pixel


def render(size):
    grid = 4 if size >= 128 else 8
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(grid):
                for sx in range(grid):
                    s = sample((px + (sx + 0.5) / grid) / size, (py + (sy + 0.5) / grid) / size)
                    for i in range(4):
                        acc[i] += s[i]
            n = grid * grid
            a = acc[3] / n
            if a <= 0:
                row.append((0, 0, 0, 0))
            else:  # back from premultiplied
                row.append(tuple(int(round(min(255, acc[i] / n / a))) for i in range(3)) +
                           (int(round(a * 255)),))
        rows.append(row)
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(rows):
    """32-bit BGRA image with its AND mask, bottom-up, as icon resources store them."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(rows) for p in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main():
    args = sys.argv[1:]
    preview = None
    if "--preview" in args:
        i = args.index("--preview")
        preview = args[i + 1]
        del args[i:i + 2]
    out = args[0] if args else "velkscope.ico"

    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png(rows) if size >= 256 else dib(rows)))
        if preview and size == 256:
            with open(preview, "wb") as f:
                f.write(png(rows))

    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = b""
    for size, data in images:
        dim = 0 if size >= 256 else size
        directory += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset + len(blobs))
        blobs += data
    with open(out, "wb") as f:
        f.write(directory + blobs)


if __name__ == "__main__":
    main()
