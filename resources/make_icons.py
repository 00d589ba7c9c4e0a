#!/usr/bin/env python3
"""Draws Kitwright's icons and writes them as .ico files (no imaging library needed).

Run from anywhere: python3 resources/make_icons.py. The generated files are committed, so the
build does not need Python; run this again only when the artwork changes.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SUPER = 4  # samples per pixel edge


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def bar(ax, ay, bx, by, half):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half * half
    return inside


def triangle(p, q, r):
    def side(a, b, x, y):
        return (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0])

    def inside(x, y):
        s1, s2, s3 = side(p, q, x, y), side(q, r, x, y), side(r, p, x, y)
        return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)
    return inside


def solid(rgb):
    return lambda x, y: rgb


def vertical(top, bottom):
    return lambda x, y: tuple(int(round(top[i] + (bottom[i] - top[i]) * y)) for i in range(3))


# Each picture is a list of (shape, colour) layers, painted in order, in unit coordinates.
def program_icon():
    return [
        (rounded_rect(0.06, 0.06, 0.94, 0.94, 0.18), vertical((0x4A, 0x8C, 0xE0), (0x1C, 0x48, 0x94))),
        (rect(0.24, 0.40, 0.76, 0.80), solid((0xF4, 0xF1, 0xE8))),
        (rect(0.20, 0.30, 0.80, 0.42), solid((0xFF, 0xFF, 0xFF))),
        (rect(0.44, 0.30, 0.56, 0.80), solid((0xF2, 0x9A, 0x2E))),
        (bar(0.30, 0.74, 0.70, 0.20, 0.055), solid((0x3B, 0x3B, 0x44))),
        (circle(0.70, 0.20, 0.11), solid((0x3B, 0x3B, 0x44))),
        (circle(0.74, 0.16, 0.055), vertical((0x4A, 0x8C, 0xE0), (0x1C, 0x48, 0x94))),
    ]


def info_icon():
    return [
        (circle(0.5, 0.5, 0.46), vertical((0x4A, 0x8C, 0xE0), (0x1C, 0x48, 0x94))),
        (circle(0.5, 0.27, 0.08), solid((0xFF, 0xFF, 0xFF))),
        (rect(0.42, 0.40, 0.58, 0.80), solid((0xFF, 0xFF, 0xFF))),
    ]


def folder_icon():
    return [
        (rounded_rect(0.06, 0.18, 0.46, 0.34, 0.04), solid((0xD9, 0xA4, 0x1E))),
        (rounded_rect(0.06, 0.26, 0.94, 0.86, 0.05), vertical((0xFB, 0xD2, 0x5A), (0xE0, 0xA8, 0x22))),
    ]


def document_icon():
    layers = [
        (rect(0.16, 0.06, 0.84, 0.94), solid((0x70, 0x70, 0x78))),
        (rect(0.21, 0.11, 0.79, 0.89), solid((0xFF, 0xFF, 0xFF))),
    ]
    for i in range(5):
        y = 0.24 + i * 0.13
        layers.append((rect(0.30, y, 0.70, y + 0.05), solid((0x3A, 0x6E, 0xC0))))
    return layers


def window_icon():
    return [
        (rect(0.06, 0.12, 0.94, 0.88), solid((0x1C, 0x48, 0x94))),
        (rect(0.11, 0.30, 0.89, 0.83), solid((0xFF, 0xFF, 0xFF))),
        (rect(0.70, 0.17, 0.86, 0.25), solid((0xFF, 0xFF, 0xFF))),
        (triangle((0.36, 0.42), (0.36, 0.74), (0.64, 0.58)), solid((0x2E, 0xA0, 0x4E))),
    ]


def shortcut_icon():
    return [
        (rect(0.10, 0.10, 0.90, 0.90), solid((0x60, 0x60, 0x68))),
        (rect(0.15, 0.15, 0.85, 0.85), solid((0xFF, 0xFF, 0xFF))),
        (bar(0.30, 0.72, 0.58, 0.44, 0.07), solid((0x2E, 0xA0, 0x4E))),
        (triangle((0.44, 0.30), (0.74, 0.30), (0.74, 0.60)), solid((0x2E, 0xA0, 0x4E))),
    ]


def render(layers, size):
    """RGBA rows, top row first."""
    pixels = []
    n = SUPER * SUPER
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPER):
                for sx in range(SUPER):
                    x = (px + (sx + 0.5) / SUPER) / size
                    y = (py + (sy + 0.5) / SUPER) / size
                    colour = None
                    for inside, paint in layers:
                        if inside(x, y):
                            colour = paint(x, y)
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            if acc[3]:
                row.append((int(acc[0] / acc[3]), int(acc[1] / acc[3]), int(acc[2] / acc[3]),
                            int(round(255 * acc[3] / n))))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def png(pixels):
    size = len(pixels)
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def cube256():
    levels = [0, 51, 102, 153, 204, 255]
    palette = [(r, g, b) for r in levels for g in levels for b in levels]
    palette += [(v, v, v) for v in range(8, 248, 6)][: 256 - len(palette)]
    return palette + [(0, 0, 0)] * (256 - len(palette))


def nearest(palette, rgb):
    return min(range(len(palette)), key=lambda i: sum((palette[i][k] - rgb[k]) ** 2 for k in range(3)))


def and_mask(pixels):
    size = len(pixels)
    stride = ((size + 31) // 32) * 4
    out = b""
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bytes(bits)
    return out


def dib(pixels, bpp):
    size = len(pixels)
    palette = [] if bpp == 32 else (VGA16 if bpp == 4 else cube256())
    body = b""
    for row in reversed(pixels):  # bottom-up
        if bpp == 32:
            line = b"".join(bytes((p[2], p[1], p[0], p[3])) for p in row)
        else:
            idx = [nearest(palette, p[:3]) if p[3] >= 128 else 0 for p in row]
            if bpp == 8:
                line = bytes(idx)
            else:
                line = bytes((idx[i] << 4) | (idx[i + 1] if i + 1 < size else 0) for i in range(0, size, 2))
        line += b"\x00" * ((4 - len(line) % 4) % 4)
        body += line
    mask = and_mask(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, len(body) + len(mask), 0, 0,
                         len(palette), 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + pal + body + mask


def write_ico(name, layers, formats):
    images = []
    for size, bpp in formats:
        pixels = render(layers, size)
        data = png(pixels) if size >= 256 else dib(pixels, bpp)
        images.append((size, bpp, data))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bpp, data in images:
        colours = 16 if bpp == 4 else 0
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bpp, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, _, data in images)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(out)


def main():
    # 48 and 64 px frames serve 144 and 192 dpi without stretching the 32 px one; the program
    # icon also has the small and large sizes of 120 dpi (20 and 40 px).
    program = [(16, 32), (20, 32), (24, 32), (32, 32), (40, 32), (48, 32), (64, 32), (256, 32), (16, 8), (32, 8),
               (16, 4), (32, 4)]
    page = [(16, 32), (24, 32), (32, 32), (48, 32), (64, 32), (16, 8), (32, 8)]
    write_ico("Kitwright.ico", program_icon(), program)
    write_ico("PageInformation.ico", info_icon(), page)
    write_ico("PageProgramFiles.ico", folder_icon(), page)
    write_ico("PageSystemFiles.ico", document_icon(), page)
    write_ico("PageExecutables.ico", window_icon(), page)
    write_ico("PageShortcuts.ico", shortcut_icon(), page)
    write_ico("About.ico", program_icon(), [(32, 32), (48, 32), (64, 32)])


if __name__ == "__main__":
    main()
