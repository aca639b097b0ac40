#!/usr/bin/env python3
"""Draws the skin's background pictures (dark gradients with a soft glow), 1000 x 640 PNG.

Run from the repository root: python3 scripts/make_skin_backgrounds.py
Only the standard library is used.
"""
import math
import os
import struct
import zlib

WIDTH, HEIGHT = 1000, 640


def write_png(path, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    previous = bytes(WIDTH * 3)
    for row in rows:
        # Filter "Up": smooth vertical gradients become mostly zeros.
        raw.append(2)
        raw.extend((row[i] - previous[i]) & 0xFF for i in range(len(row)))
        previous = row
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def picture(top, bottom, glow, centre, radius, strength, stripes=0.0):
    cx, cy = centre[0] * WIDTH, centre[1] * HEIGHT
    for y in range(HEIGHT):
        base = mix(top, bottom, y / (HEIGHT - 1))
        row = bytearray()
        for x in range(WIDTH):
            d = math.hypot(x - cx, y - cy) / radius
            t = strength * max(0.0, 1.0 - d) ** 2
            if stripes:
                # Faint diagonal bands, quantised so that they compress well.
                t += stripes * (1 if ((x + y) // 40) % 2 else 0)
            c = mix(base, glow, min(1.0, t))
            row.extend(int(round(v)) for v in c)
        yield bytes(row)


PICTURES = {
    "common/background.png": ((0x1d, 0x21, 0x29), (0x10, 0x12, 0x16), (0x2f, 0x9b, 0xff),
                              (0.85, 0.0), 700, 0.22, 0.0),
    "common/skins/graphite.png": ((0x26, 0x28, 0x2d), (0x13, 0x14, 0x17), (0x8a, 0x93, 0xa3),
                                  (0.2, 0.1), 650, 0.12, 0.012),
    "common/skins/midnight.png": ((0x0f, 0x17, 0x2a), (0x08, 0x0b, 0x14), (0x3b, 0x5b, 0xdb),
                                  (0.5, 1.05), 800, 0.28, 0.0),
    "common/skins/ember.png": ((0x1c, 0x15, 0x15), (0x0e, 0x0b, 0x0c), (0xe0, 0x4a, 0x2a),
                               (0.05, 0.95), 750, 0.25, 0.0),
    "common/skins/aurora.png": ((0x0f, 0x1e, 0x1f), (0x10, 0x0e, 0x1c), (0x2a, 0xc8, 0xa0),
                                (0.75, 0.2), 720, 0.2, 0.0),
}

if __name__ == "__main__":
    skin = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "skin")
    for name, args in PICTURES.items():
        path = os.path.join(skin, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        write_png(path, list(picture(*args)))
        print(name, os.path.getsize(path))
