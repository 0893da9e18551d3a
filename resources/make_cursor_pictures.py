#!/usr/bin/env python3
"""Draws the four cursor pictures, on white:

  0 a red horizontal ellipse outline
  1 a red circle outline
  2 a black arrow cursor with a grey edge
  3 a red arrow cursor with a grey edge

cursor_pictures.bmp is the strip of all four in 30 x 30 cells, side by side,
24-bit; picture_ellipse.bmp, picture_circle.bmp, picture_black_arrow.bmp and
picture_red_arrow.bmp show one each at 16 x 16 in the 16 standard colours.
All are bottom-up BMP files, which the resource compiler takes as they are:
    python3 resources/make_cursor_pictures.py [folder]
(the default folder is the script's own).
"""
import os
import sys

from bitmaps import rows24, rows4, write_bmp

CELL = 30
WHITE = (255, 255, 255)
RED = (255, 0, 0)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)

# The classic arrow, tip at the top left, in cell pixels.
ARROW = [(2, 2), (2, 24), (7.5, 18.5), (11.5, 27), (15, 25.5), (11, 17.5), (18.5, 17.5)]
# The same arrow for a 16-pixel cell, drawn by hand: scaled down, the
# polygon's grey edge would break up.  g grey edge, # fill, . white.
SMALL_ARROW = [
    "................",
    "..g.............",
    "..gg............",
    "..g#g...........",
    "..g##g..........",
    "..g###g.........",
    "..g####g........",
    "..g#####g.......",
    "..g######g......",
    "..g#######g.....",
    "..g####gggg.....",
    "..g##g##g.......",
    "..g#g.g##g......",
    "..gg..g##g......",
    "..g....g##g.....",
    "........gg......",
]

# The 16 standard colours; the small pictures use white, red, black and grey.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


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


def small_arrow(fill):
    return lambda x, y: {"g": GREY, "#": fill}.get(SMALL_ARROW[int(y)][int(x)])


def outline(test):
    return lambda x, y: RED if test(x, y) else None


CELLS = [
    outline(ring(14.5, 14.5, 13.5, 8.5, 2.0)),
    outline(ring(14.5, 14.5, 12.5, 12.5, 2.0)),
    arrow(BLACK),
    arrow(RED),
]


SMALL = 16
SMALL_PICTURES = [
    ("picture_ellipse.bmp", outline(ring(8, 8, 7.4, 4.8, 1.4))),
    ("picture_circle.bmp", outline(ring(8, 8, 7, 7, 1.4))),
    ("picture_black_arrow.bmp", small_arrow(BLACK)),
    ("picture_red_arrow.bmp", small_arrow(RED)),
]


def strip_pixel(x, y):
    cell, cx = divmod(x, CELL)
    c = CELLS[cell](cx + 0.5, y + 0.5)
    return c if c else WHITE



def write_strip(path):
    width, height = CELL * len(CELLS), CELL
    write_bmp(path, width, height, 24, [], rows24(width, height, strip_pixel))


def write_small(path, draw):
    index = lambda x, y: PALETTE.index(draw(x + 0.5, y + 0.5) or WHITE)
    write_bmp(path, SMALL, SMALL, 4, PALETTE, rows4(SMALL, SMALL, index))


def main(folder):
    write_strip(os.path.join(folder, "cursor_pictures.bmp"))
    for name, draw in SMALL_PICTURES:
        write_small(os.path.join(folder, name), draw)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__)))
