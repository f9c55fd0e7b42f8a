#!/usr/bin/env python3
"""Draws the scroll bar's two 16 x 16 arrow pictures (black triangles on a transparent
background) as PNG files next to this script. Run it again after changing the shape."""

import pathlib
import struct
import zlib

SIZE = 16
# Column offset from the tip -> rows covered, for a triangle 4 columns wide and 8 rows high.
SPANS = {0: (7, 8), 1: (6, 9), 2: (5, 10), 3: (4, 11)}
TIP_LEFT = 6  # column of the left arrow's tip; the right arrow is its mirror image


def pixels(pointing_left):
    rows = []
    for y in range(SIZE):
        row = bytearray()
        for x in range(SIZE):
            offset = x - TIP_LEFT if pointing_left else (SIZE - 1 - TIP_LEFT) - x
            top, bottom = SPANS.get(offset, (SIZE, -1))
            row += bytes((0, 0, 0, 255)) if top <= y <= bottom else bytes(4)
        rows.append(bytes(row))
    return rows


def png(rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


here = pathlib.Path(__file__).resolve().parent
(here / "arrow_left.png").write_bytes(png(pixels(True)))
(here / "arrow_right.png").write_bytes(png(pixels(False)))
