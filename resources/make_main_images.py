#!/usr/bin/env python3
"""Draws the main window's pictures:

  gyrolens.ico   the program icon (16, 32 and 48 pixels): a lens in a blue
                 ring with a red record dot
  toolbar.bmp    six 16 x 15 toolbar images side by side on light grey
                 (192, 192, 192, shown as the button face): batch comment,
                 delete, move up, move down, capture, HTML export
  toolbar_24.bmp the same six at 24 x 24, for displays at 150 %
  toolbar_32.bmp new, open and save, then the same six, at 32 x 32, for
                 displays at 200 % (the common controls have the standard
                 pictures at 16 and 24 pixels only)

The 16-pixel images are drawn pixel by pixel; the larger ones from shapes
in the same 16-unit grid, each pixel taking the colour that covers most of
it, so that edges stay as sharp as the small ones' (a blended edge would
keep a grey rim where the button face replaces the light grey).

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


# --- the larger toolbar strips --------------------------------------------------

# Shapes in a 16 x 16 grid; each is (test(x, y) -> bool, colour), painted in
# order, later ones on top.  Outlines are an outer shape in the outline's
# colour with the inner one on it, `line` pixels in.

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            (xi, yi), (xj, yj) = points[i], points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def inset(test, d):
    """The part of a shape at least `d` grid units from its edge."""
    return lambda x, y: all(test(x + dx, y + dy) for dx, dy in ((-d, 0), (d, 0), (0, -d), (0, d),
                                                                 (-d * 0.7, -d * 0.7), (d * 0.7, d * 0.7),
                                                                 (-d * 0.7, d * 0.7), (d * 0.7, -d * 0.7)))


def outlined(test, fill, edge, line):
    return [(test, edge), (inset(test, line), fill)]


def bar(x0, y0, x1, y1, width):
    """A straight stroke from (x0, y0) to (x1, y1), `width` units wide."""
    dx, dy = x1 - x0, y1 - y0
    n = math.hypot(dx, dy)
    ox, oy = -dy / n * width / 2, dx / n * width / 2
    return polygon([(x0 + ox, y0 + oy), (x1 + ox, y1 + oy), (x1 - ox, y1 - oy), (x0 - ox, y0 - oy)])


C = PALETTE


def shapes_batch(line):
    back, front = rect(1, 1, 9.5, 8.5), rect(6.5, 4, 13, 12.5)
    out = outlined(back, C["w"], C["k"], line) + [(rect(2.5, y, 8, y + line), C["k"]) for y in (3, 5)]
    out += outlined(front, C["w"], C["k"], line) + [(rect(8, y, 11.5, y + line), C["k"]) for y in (6.5, 8.5)]
    pencil = polygon([(14, 6), (15.6, 7.6), (11.2, 12), (9.6, 10.4)])
    out += outlined(pencil, C["y"], C["b"], line)
    out += outlined(polygon([(9.6, 10.4), (11.2, 12), (8.6, 13.4)]), C["p"], C["k"], line)
    return out


def shapes_delete(line):
    out = []
    for stroke in (bar(2.5, 2.5, 13.5, 13.5, 3.2), bar(13.5, 2.5, 2.5, 13.5, 3.2)):
        out.append((stroke, C["r"]))
    for stroke in (bar(2.5, 2.5, 13.5, 13.5, 3.2), bar(13.5, 2.5, 2.5, 13.5, 3.2)):
        out.append((inset(stroke, line), C["R"]))
    return out


UP_ARROW = [(8, 1), (14.5, 7.5), (10.5, 7.5), (10.5, 14.5), (5.5, 14.5), (5.5, 7.5), (1.5, 7.5)]


def shapes_up(line):
    return outlined(polygon(UP_ARROW), C["G"], C["g"], line)


def shapes_down(line):
    return outlined(polygon([(x, 16 - y) for x, y in UP_ARROW]), C["G"], C["g"], line)


def shapes_capture(line):
    out = outlined(polygon([(4.5, 2.5), (10, 2.5), (11.5, 5), (3, 5)]), C["w"], C["k"], line)
    out += outlined(rect(1, 4.5, 15, 13), C["s"], C["k"], line)
    out += outlined(ellipse(8, 8.7, 3.4, 3.4), C["b"], C["k"], line)
    out += [(ellipse(7.4, 8.1, 1.5, 1.5), C["B"]), (rect(12, 6, 13.5, 7.5), C["R"])]
    return out


def page(line):
    out = outlined(polygon([(1.5, 0.5), (9, 0.5), (12.5, 4), (12.5, 15), (1.5, 15)]), C["w"], C["k"], line)
    out += outlined(polygon([(9, 0.5), (9, 4), (12.5, 4)]), C["w"], C["k"], line)
    return out


def shapes_html(line):
    out = page(line) + [(rect(3.5, y, 7.5, y + line), C["k"]) for y in (3, 5)]
    out += outlined(ellipse(8, 10.5, 4, 4), C["B"], C["b"], line)
    out += [(ellipse(6.8, 9.4, 1.6, 1.1), C["c"]), (ellipse(9.5, 12, 1.2, 1.6), C["c"])]
    return out


def shapes_new(line):
    return page(line)


def shapes_open(line):
    brown = (128, 90, 0)
    out = outlined(polygon([(1, 2.5), (6, 2.5), (7.5, 4.5), (13, 4.5), (13, 13.5), (1, 13.5)]), C["y"], brown,
                   line)
    out += outlined(polygon([(3.5, 7), (15.5, 7), (13, 13.5), (1, 13.5)]), (255, 230, 130), brown, line)
    return out


def shapes_save(line):
    out = outlined(rect(1.5, 1.5, 14.5, 14.5), C["b"], C["k"], line)
    out += outlined(rect(4, 1.5, 12, 7.5), C["w"], C["k"], line)
    out += outlined(rect(4.5, 10, 11.5, 14.5), (170, 170, 180), C["k"], line)
    out += [(rect(8.5, 11, 10, 13.5), C["b"])]
    return out


def render(shapes, size, samples=4):
    """A size x size image of `shapes`, each pixel the colour most of its
    samples show."""
    scale = 16.0 / size
    def pixel(x, y):
        counts = {}
        for sy in range(samples):
            for sx in range(samples):
                gx, gy = (x + (sx + 0.5) / samples) * scale, (y + (sy + 0.5) / samples) * scale
                colour = GREY
                for test, c in shapes:
                    if test(gx, gy):
                        colour = c
                counts[colour] = counts.get(colour, 0) + 1
        return max(counts, key=counts.get)
    return [[pixel(x, y) for x in range(size)] for y in range(size)]


OWN_SHAPES = [shapes_batch, shapes_delete, shapes_up, shapes_down, shapes_capture, shapes_html]
STANDARD_SHAPES = [shapes_new, shapes_open, shapes_save]


def write_strip(path, size, makers):
    # One pixel of outline at 24 pixels (1.5 per grid unit), two at 32.
    line = (size // 16) * 16.0 / size
    images = [render(make(line), size) for make in makers]
    width = size * len(images)
    write_bmp(path, width, size, 24, [], rows24(width, size, lambda x, y: images[x // size][y][x % size]))


def main(folder):
    write_icon(os.path.join(folder, "gyrolens.ico"))
    width = W * len(TOOLBAR)
    write_bmp(os.path.join(folder, "toolbar.bmp"), width, H, 24, [],
              rows24(width, H, lambda x, y: TOOLBAR[x // W](x % W, y)))
    write_strip(os.path.join(folder, "toolbar_24.bmp"), 24, OWN_SHAPES)
    write_strip(os.path.join(folder, "toolbar_32.bmp"), 32, STANDARD_SHAPES + OWN_SHAPES)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
