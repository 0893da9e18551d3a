#!/usr/bin/env python3
"""Draws the six record-layout previews of the HTML export dialog, each a
45 x 30 picture in the 16 standard colours: one record's block as the pages
show it, a framed header bar for the comment above, and below it a cyan
image area and a text area of grey lines side by side in the layout's order.
The linked layouts (3, 4 and 6) add a small window in front, with an arrow
from the image pointing to it.

  layout_1.bmp  image | text          layout_4.bmp  text | image, linked
  layout_2.bmp  text | image          layout_5.bmp  image alone
  layout_3.bmp  image | text, linked  layout_6.bmp  image alone, linked

Writes 4-bit bottom-up BMPs with a 16-entry colour table:
    python3 resources/make_layout_previews.py resources
"""
import os
import sys

from bitmaps import bmp_bytes, rows4

WIDTH, HEIGHT = 45, 30

# The 16 colours of the standard palette, in their usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, TEAL, SILVER, GREY, RED, GREEN, YELLOW, CYAN, WHITE = 0, 4, 6, 7, 8, 9, 2, 11, 14, 15


class Picture:
    def __init__(self):
        self.px = [[WHITE] * WIDTH for _ in range(HEIGHT)]

    def fill(self, x0, y0, x1, y1, c):
        for y in range(max(y0, 0), min(y1, HEIGHT - 1) + 1):
            for x in range(max(x0, 0), min(x1, WIDTH - 1) + 1):
                self.px[y][x] = c

    def frame(self, x0, y0, x1, y1, c):
        self.fill(x0, y0, x1, y0, c)
        self.fill(x0, y1, x1, y1, c)
        self.fill(x0, y0, x0, y1, c)
        self.fill(x1, y0, x1, y1, c)

    def bmp(self):
        return bmp_bytes(WIDTH, HEIGHT, 4, PALETTE, rows4(WIDTH, HEIGHT, lambda x, y: self.px[y][x]))


def header_bar(p):
    """The comment: a framed bar across the top with a line of text in it."""
    p.fill(1, 1, 43, 6, SILVER)
    p.frame(1, 1, 43, 6, BLACK)
    p.fill(4, 3, 24, 4, NAVY)


def image_area(p, x0, x1):
    """A picture: cyan sky with a sun and a green hill, in a teal frame."""
    p.fill(x0, 8, x1, 28, CYAN)
    p.fill(x1 - 5, 11, x1 - 3, 13, YELLOW)
    for y in range(20, 28):
        half = (y - 19) * 2
        mid = x0 + (x1 - x0) // 3
        p.fill(max(mid - half, x0), y, min(mid + half, x1), y, GREEN)
    p.frame(x0, 8, x1, 28, TEAL)


def text_area(p, x0, x1):
    """The description: grey lines of text, the last one short."""
    p.frame(x0, 8, x1, 28, SILVER)
    ys = [11, 14, 17, 20, 23]
    for i, y in enumerate(ys):
        end = x1 - 2 if i < len(ys) - 1 else x0 + (x1 - x0) // 2
        p.fill(x0 + 2, y, end, y, GREY)


def small_window(p, x0, y0):
    """A window opened by the link: navy title bar, a picture inside."""
    x1, y1 = x0 + 15, y0 + 11
    p.fill(x0, y0, x1, y1, WHITE)
    p.frame(x0, y0, x1, y1, BLACK)
    p.fill(x0 + 1, y0 + 1, x1 - 1, y0 + 2, NAVY)
    p.fill(x0 + 3, y0 + 4, x1 - 3, y1 - 2, CYAN)


def arrow(p, x_from, x_to, y):
    """A red arrow along row y, its head at x_to."""
    step = 1 if x_to > x_from else -1
    p.fill(min(x_from, x_to), y, max(x_from, x_to), y, RED)
    for k in range(1, 3):
        p.fill(x_to - step * k, y - k, x_to - step * k, y + k, RED)


def layout(image_side, linked):
    p = Picture()
    header_bar(p)
    if image_side == "left":
        image_area(p, 1, 21)
        text_area(p, 23, 43)
        if linked:
            small_window(p, 27, 14)
            arrow(p, 12, 26, 19)
    elif image_side == "right":
        text_area(p, 1, 21)
        image_area(p, 23, 43)
        if linked:
            small_window(p, 2, 14)
            arrow(p, 32, 18, 19)
    else:
        image_area(p, 1, 43)
        if linked:
            small_window(p, 27, 14)
            arrow(p, 12, 26, 19)
    return p


LAYOUTS = [
    ("layout_1.bmp", "left", False),
    ("layout_2.bmp", "right", False),
    ("layout_3.bmp", "left", True),
    ("layout_4.bmp", "right", True),
    ("layout_5.bmp", "alone", False),
    ("layout_6.bmp", "alone", True),
]


def main(folder):
    for name, side, linked in LAYOUTS:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(layout(side, linked).bmp())


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__)))
