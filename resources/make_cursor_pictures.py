#!/usr/bin/env python3
"""Draws the cursor-picture strip: four 30 x 30 cells on white, side by side.

  0 a red horizontal ellipse outline
  1 a red circle outline
  2 a black arrow cursor with a grey edge
  3 a red arrow cursor with a grey edge

Writes a 24-bit bottom-up BMP (the resource compiler takes it as is):
    python3 resources/make_cursor_pictures.py resources/cursor_pictures.bmp
"""
import struct
import sys

CELL = 30
WHITE = (255, 255, 255)
RED = (255, 0, 0)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)

# The classic arrow, tip at the top left, in cell pixels.
ARROW = [(2, 2), (2, 24), (7.5, 18.5), (11.5, 27), (15, 25.5), (11, 17.5), (18.5, 17.5)]


def ring(cx, cy, rx, ry, width):
    def inside(x, y):
        d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
        inner = ((x - cx) / (rx - width)) ** 2 + ((y - cy) / (ry - width)) ** 2
        return d <= 1.0 and inner >= 1.0
    return inside


def in_polygon(x, y, poly):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def arrow(fill):
    def colour(x, y):
        if not in_polygon(x, y, ARROW):
            return None
        # A pixel next to the outside is part of the grey edge.
        for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)):
            if not in_polygon(x + dx, y + dy, ARROW):
                return GREY
        return fill
    return colour


def outline(test):
    return lambda x, y: RED if test(x, y) else None


CELLS = [
    outline(ring(14.5, 14.5, 13.5, 8.5, 2.0)),
    outline(ring(14.5, 14.5, 12.5, 12.5, 2.0)),
    arrow(BLACK),
    arrow(RED),
]


def pixel(x, y):
    cell, cx = divmod(x, CELL)
    c = CELLS[cell](cx + 0.5, y + 0.5)
    return c if c else WHITE


def main(path):
    width, height = CELL * len(CELLS), CELL
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 0, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "cursor_pictures.bmp")
