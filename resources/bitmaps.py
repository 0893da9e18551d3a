"""Bottom-up BMP files for the pictures the generators in this folder draw."""
import struct


def bmp_bytes(width, height, bits, palette, rows):
    """rows: the packed pixel rows, bottom row first, each padded to 4 bytes."""
    data = b"".join(rows)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 0, 0, len(palette),
                       len(palette))
    offset = 14 + len(info) + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + colours + data


def rows24(width, height, pixel):
    """24-bit rows of pixel(x, y) -> (r, g, b), bottom row first."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    return rows


def rows4(width, height, index):
    """4-bit rows of index(x, y) -> palette index, bottom row first."""
    stride = ((width + 1) // 2 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        line = [index(x, y) for x in range(width)] + [0]
        row = bytearray((line[x] << 4) | line[x + 1] for x in range(0, width, 2))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    return rows


def write_bmp(path, width, height, bits, palette, rows):
    with open(path, "wb") as f:
        f.write(bmp_bytes(width, height, bits, palette, rows))
