#!/usr/bin/env python3
"""Draws the four cursor pictures, on white:

  0 a red horizontal ellipse outline
  1 a red circle outline
  2 a black arrow cursor with a grey edge
  3 a red arrow cursor with a grey edge

cursor_pictures.bmp is the strip of all four in 30 x 30 cells, side by side,
24-bit.  cursor_pictures_35.bmp, _40, _45, _50 and _60 are the same strip
drawn in larger cells, for captures of screens scaled to 175, 200, 225, 250
and 300 % (a picture is drawn 20 pixels large at 100 %), and for the key
panel's picture lists, whose 30-pixel cells grow with the display: drawn at
its size, the picture keeps its lines whole where a stretched one would
break them up.  They use the 16 standard colours.  picture_ellipse.bmp,
picture_circle.bmp, picture_black_arrow.bmp and picture_red_arrow.bmp show
one each at 16 x 16 in the 16 standard colours; pictures_24.bmp and
pictures_32.bmp are the four side by side at 24 and 32 pixels, which the
key panel shows at 150 and 200 %.
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

# The larger strips' cell sizes.
LARGE_CELLS = [35, 40, 45, 50, 60]

# The classic arrow, tip at the top left, in pixels of a 30-pixel cell.
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


def arrow(fill, scale):
    poly = [(x * scale, y * scale) for x, y in ARROW]
    # The grey edge grows with the picture: one pixel up to 45-pixel cells.
    edge = max(1, round(scale))

    def colour(x, y):
        if not in_polygon(x, y, poly):
            return None
        # A pixel within `edge` of the outside is part of the grey edge.
        for d in range(1, edge + 1):
            for dx, dy in ((-d, 0), (d, 0), (0, -d), (0, d)):
                if not in_polygon(x + dx, y + dy, poly):
                    return GREY
        return fill
    return colour


def small_arrow(fill):
    return lambda x, y: {"g": GREY, "#": fill}.get(SMALL_ARROW[int(y)][int(x)])


def outline(test):
    return lambda x, y: RED if test(x, y) else None


def cells(cell):
    """The four pictures for a cell of `cell` pixels."""
    s = cell / CELL
    return [
        outline(ring(14.5 * s, 14.5 * s, 13.5 * s, 8.5 * s, 2.0 * s)),
        outline(ring(14.5 * s, 14.5 * s, 12.5 * s, 12.5 * s, 2.0 * s)),
        arrow(BLACK, s),
        arrow(RED, s),
    ]


SMALL = 16
SMALL_PICTURES = [
    ("picture_ellipse.bmp", outline(ring(8, 8, 7.4, 4.8, 1.4))),
    ("picture_circle.bmp", outline(ring(8, 8, 7, 7, 1.4))),
    ("picture_black_arrow.bmp", small_arrow(BLACK)),
    ("picture_red_arrow.bmp", small_arrow(RED)),
]


# The small pictures at 150 and 200 %, drawn like the strips' pictures.
SMALL_STRIPS = [24, 32]


def strip_pixel(cell, pictures):
    def pixel(x, y):
        n, cx = divmod(x, cell)
        return pictures[n](cx + 0.5, y + 0.5) or WHITE
    return pixel


def write_strip(path, cell):
    pictures = cells(cell)
    width, height = cell * len(pictures), cell
    pixel = strip_pixel(cell, pictures)
    if cell == CELL:
        write_bmp(path, width, height, 24, [], rows24(width, height, pixel))
    else:
        index = lambda x, y: PALETTE.index(pixel(x, y))
        write_bmp(path, width, height, 4, PALETTE, rows4(width, height, index))


def write_small(path, draw):
    index = lambda x, y: PALETTE.index(draw(x + 0.5, y + 0.5) or WHITE)
    write_bmp(path, SMALL, SMALL, 4, PALETTE, rows4(SMALL, SMALL, index))


def main(folder):
    write_strip(os.path.join(folder, "cursor_pictures.bmp"), CELL)
    for cell in LARGE_CELLS:
        write_strip(os.path.join(folder, "cursor_pictures_%d.bmp" % cell), cell)
    for name, draw in SMALL_PICTURES:
        write_small(os.path.join(folder, name), draw)
    for size in SMALL_STRIPS:
        write_strip(os.path.join(folder, "pictures_%d.bmp" % size), size)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__)))
