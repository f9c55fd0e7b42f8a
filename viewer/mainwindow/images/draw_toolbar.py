#!/usr/bin/env python3
"""Draws the main window's tool bar pictures (20 x 20, transparent background) as PNG files
next to this script. Shapes are polygons in a 20 x 20 box, filled in order with 4 x 4
subsamples per pixel for smooth edges. Run it again after changing a shape."""

import pathlib
import struct
import zlib

SIZE = 20
SUB = 4
NAVY = (31, 63, 143)
GREEN = (20, 120, 40)
INK = (60, 60, 60)
PAPER = (255, 236, 140)
RED = (200, 30, 30)


def left(x0, x1, cy=10.0, half=6.0):
    return [(x0, cy), (x1, cy - half), (x1, cy + half)]


def right(x0, x1, cy=10.0, half=6.0):
    return [(x1, cy), (x0, cy - half), (x0, cy + half)]


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def segment(a, b, width):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    length = (dx * dx + dy * dy) ** 0.5
    nx, ny = -dy / length * width / 2, dx / length * width / 2
    return [(ax + nx, ay + ny), (bx + nx, by + ny), (bx - nx, by - ny), (ax - nx, ay - ny)]


def polyline(points, width):
    return [segment(points[i], points[i + 1], width) for i in range(len(points) - 1)]


def note(x0):
    """A small note sheet with two lines of writing, its left edge at x0."""
    return [(rect(x0, 3, x0 + 9, 17), INK), (rect(x0 + 1, 4, x0 + 8, 16), PAPER),
            (rect(x0 + 2, 7, x0 + 7, 8), INK), (rect(x0 + 2, 11, x0 + 7, 12), INK)]


PICTURES = {
    "inizio": [(rect(3, 4, 5.5, 16), NAVY), (left(5.5, 16), NAVY)],
    "notaPrec": [(left(1, 9), NAVY)] + note(10),
    "indietroAuto": [(left(1, 10), GREEN), (left(9, 18), GREEN)],
    "indietro": [(left(4, 15), NAVY)],
    "avanti": [(right(5, 16), NAVY)],
    "avantiAuto": [(right(2, 11), GREEN), (right(10, 19), GREEN)],
    "notaSuc": note(1) + [(right(11, 19), NAVY)],
    "fine": [(right(4, 14.5), NAVY), (rect(14.5, 4, 17, 16), NAVY)],
    "video": [(rect(1, 5, 13, 15), INK), (rect(2.5, 6.5, 11.5, 13.5), (120, 140, 170)),
              ([(13, 8), (19, 5), (19, 15), (13, 12)], INK)],
    "notch": [(s, RED) for s in polyline([(1, 6), (7, 6), (10, 16), (13, 6), (19, 6)], 1.8)],
}


def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i, (xi, yi) in enumerate(poly):
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def render(shapes):
    pixels = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]
    for poly, colour in shapes:
        for py in range(SIZE):
            for px in range(SIZE):
                hits = sum(inside(poly, px + (sx + 0.5) / SUB, py + (sy + 0.5) / SUB)
                           for sx in range(SUB) for sy in range(SUB))
                if hits == 0:
                    continue
                a = hits / (SUB * SUB)
                r, g, b, da = pixels[py][px]
                da /= 255
                out = a + da * (1 - a)
                mix = [(c * a + d * da * (1 - a)) / out for c, d in zip(colour, (r, g, b))]
                pixels[py][px] = tuple(round(v) for v in mix) + (round(out * 255),)
    return [b"".join(bytes(p) for p in row) for row in pixels]


def png(rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + row for row in rows)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main():
    folder = pathlib.Path(__file__).resolve().parent
    for key, shapes in PICTURES.items():
        (folder / f"tool_{key}.png").write_bytes(png(render(shapes)))


if __name__ == "__main__":
    main()
