#!/usr/bin/env python3
"""Draws the main window's pictures:

  gyrolens.ico   the program icon (16, 32 and 48 pixels): a lens in a blue
                 ring with a red record dot
  toolbar.bmp    six 16 x 15 toolbar images side by side on light grey
                 (192, 192, 192, shown as the button face): batch comment,
                 delete, move up, move down, capture, HTML export

    python3 resources/make_main_images.py resources
"""
import math
import os
import struct
import sys

from bitmaps import rows24, write_bmp

GREY = (192, 192, 192)


# --- the icon -----------------------------------------------------------------

def lens(size):
    """RGBA rows, top first, of the icon at `size` pixels."""
    c = (size - 1) / 2.0
    outer, ring = size * 0.47, size * 0.36
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            d = math.hypot(x - c, y - c)
            if d > outer:
                row.append((0, 0, 0, 0))
                continue
            if d > outer - max(1.0, size / 24):
                row.append((20, 40, 90, 255))            # dark rim
            elif d > ring:
                t = (y / size)
                row.append((int(60 + 80 * (1 - t)), int(120 + 80 * (1 - t)), 230, 255))  # blue ring
            else:
                # glass: dark blue-black with a highlight at the upper left
                hx, hy = c - ring * 0.4, c - ring * 0.4
                h = max(0.0, 1 - math.hypot(x - hx, y - hy) / (ring * 0.45))
                base = (25, 30, 55)
                row.append(tuple(int(base[i] + (235 - base[i]) * h) for i in range(3)) + (255,))
        pixels.append(row)
    # the record dot at the lower right
    r = max(1.5, size * 0.11)
    dx, dy = c + ring * 0.45, c + ring * 0.45
    for y in range(size):
        for x in range(size):
            if math.hypot(x - dx, y - dy) <= r:
                pixels[y][x] = (230, 30, 30, 255)
    return pixels


def ico_image(size):
    rows = lens(size)
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def write_icon(path, sizes=(16, 32, 48)):
    images = [ico_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


# --- the toolbar strip --------------------------------------------------------

W, H = 16, 15


def draw(art, palette):
    """A 16 x 15 image from 15 strings of 16 characters."""
    assert len(art) == H and all(len(r) == W for r in art), art
    return lambda x, y: palette.get(art[y][x], GREY)


BATCH = [  # two stacked notes and a pencil
    "................",
    ".kkkkkkkk.......",
    ".kwwwwwwk.......",
    ".kwkkkkwkkkk....",
    ".kwwwwwkwwwwk...",
    ".kwkkkkkwkkwk...",
    ".kwwwwwkwwwwk...",
    ".kkkkkkkwkkwk.yy",
    ".......kwwwwkyyb",
    ".......kwkkwyyb.",
    ".......kwwwyyb..",
    ".......kkkyyb...",
    "..........pb....",
    "..........k.....",
    "................",
]
DELETE = [
    "................",
    "..rr........rr..",
    ".rRRr......rRRr.",
    "..rRRr....rRRr..",
    "...rRRr..rRRr...",
    "....rRRrrRRr....",
    ".....rRRRRr.....",
    "......rRRr......",
    ".....rRRRRr.....",
    "....rRRrrRRr....",
    "...rRRr..rRRr...",
    "..rRRr....rRRr..",
    ".rRRr......rRRr.",
    "..rr........rr..",
    "................",
]
UP = [
    "................",
    ".......gg.......",
    "......gGGg......",
    ".....gGGGGg.....",
    "....gGGGGGGg....",
    "...gGGGGGGGGg...",
    "..gggggGGggggg..",
    "......gGGg......",
    "......gGGg......",
    "......gGGg......",
    "......gGGg......",
    "......gGGg......",
    "......gGGg......",
    "......gggg......",
    "................",
]
DOWN = list(reversed(UP))
CAPTURE = [  # a camera
    "................",
    "................",
    ".....kkkkk......",
    "....kwwwwwk.....",
    ".kkkkkkkkkkkkkk.",
    ".kssssskkksssrk.",
    ".ksssskbbbksssk.",
    ".ksssskbBBbkssk.",
    ".ksssskbBBbkssk.",
    ".ksssskbbbbkssk.",
    ".kssssskbbkssk..",
    ".ksssssskkssssk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
]
CAPTURE = [r if len(r) == 16 else r + "." for r in CAPTURE]
HTML = [  # a page with a globe
    ".kkkkkkkkk......",
    ".kwwwwwwwkk.....",
    ".kwkkkkwwkwk....",
    ".kwwwwwwwkkkk...",
    ".kwkkkkkwwwwk...",
    ".kwwwwbbbbwwk...",
    ".kwkkbBcBBbwk...",
    ".kwwbBccBBBbk...",
    ".kwwbccBBcBbk...",
    ".kwwbBBBccBbk...",
    ".kwwbBBcccBbk...",
    ".kwwwbBBcBbwk...",
    ".kwwwwbbbbwwk...",
    ".kkkkkkkkkkkk...",
    "................",
]
PALETTE = {
    "k": (0, 0, 0), "w": (255, 255, 255), "y": (240, 200, 40), "b": (30, 60, 160),
    "p": (250, 160, 160), "r": (128, 0, 0), "R": (230, 30, 30), "g": (0, 100, 0),
    "G": (40, 180, 60), "s": (110, 110, 120), "B": (60, 140, 230), "c": (60, 170, 80),
}
TOOLBAR = [draw(a, PALETTE) for a in (BATCH, DELETE, UP, DOWN, CAPTURE, HTML)]


def main(folder):
    write_icon(os.path.join(folder, "gyrolens.ico"))
    width = W * len(TOOLBAR)
    write_bmp(os.path.join(folder, "toolbar.bmp"), width, H, 24, [],
              rows24(width, H, lambda x, y: TOOLBAR[x // W](x % W, y)))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
