#!/usr/bin/env python3
"""Draws Pelo's program icon and writes it as a Windows .ico file.

The icon group holds nine images, in this order: 48, 32 and 16 pixels square
at 4 bits per pixel (the 16 standard colours), the same sizes at 8 bits per
pixel and again at 24 bits per pixel. Transparency is the 1-bit AND mask.

The artwork is a smiling face, "^ ^" eyes and pink cheeks, on a speech
bubble: kaomoji to be said somewhere else. Only the standard library is used.

    python3 scripts/make_icon.py app/res/Pelo.ico
"""
import math
import struct
import sys

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 24)
SUPERSAMPLE = 4

OUTLINE = (70, 45, 20)
FACE = (255, 214, 80)
CHEEK = (250, 140, 150)
HIGHLIGHT = (255, 245, 200)

# The 16 colours of the standard VGA palette, in their usual order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def palette256():
    """The 16 standard colours, a 6x6x6 colour cube and a grey ramp."""
    colours = list(VGA16)
    steps = (0, 51, 102, 153, 204, 255)
    colours += [(r, g, b) for r in steps for g in steps for b in steps]
    colours += [(v, v, v) for v in range(8, 248, 10)][: 256 - len(colours)]
    colours += [(0, 0, 0)] * (256 - len(colours))
    return colours


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def shade(u, v):
    """Colour and coverage of the point (u, v) of the unit square, or None."""
    cx, cy, r = 0.5, 0.46, 0.40
    stroke = 0.055
    d = math.hypot(u - cx, v - cy)
    # The bubble's tail, bottom left: an outlined stroke joining the ring.
    tail = segment_distance(u, v, 0.30, 0.78, 0.14, 0.95)
    in_tail = tail < 0.07 and v > 0.70
    if d > r + stroke and not in_tail:
        return None
    if d > r or in_tail:
        return FACE if in_tail and tail < 0.035 else OUTLINE
    # Eyes: two "^" strokes.
    for ex in (0.36, 0.64):
        if (segment_distance(u, v, ex - 0.08, 0.44, ex, 0.34) < 0.035
                or segment_distance(u, v, ex, 0.34, ex + 0.08, 0.44) < 0.035):
            return OUTLINE
    # Mouth: a small smiling arc.
    md = math.hypot(u - 0.5, v - 0.50)
    if abs(md - 0.13) < 0.03 and v > 0.56:
        return OUTLINE
    # Cheeks.
    for ex in (0.27, 0.73):
        if math.hypot(u - ex, v - 0.56) < 0.06:
            return CHEEK
    if math.hypot(u - 0.38, v - 0.22) < 0.05:
        return HIGHLIGHT
    return FACE


def render(size):
    """Rows top to bottom of (r, g, b) or None for a transparent pixel."""
    rows = []
    n = SUPERSAMPLE
    for y in range(size):
        row = []
        for x in range(size):
            hits = []
            for sy in range(n):
                for sx in range(n):
                    c = shade((x + (sx + 0.5) / n) / size, (y + (sy + 0.5) / n) / size)
                    if c is not None:
                        hits.append(c)
            if len(hits) * 2 < n * n:
                row.append(None)
            else:
                row.append(tuple(sum(c[i] for c in hits) // len(hits) for i in range(3)))
        rows.append(row)
    return rows


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((colour[k] - palette[i][k]) ** 2 for k in range(3)))


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def encode(rows, depth):
    """The image as an icon resource: header, palette, colour bits, mask."""
    size = len(rows)
    palette = VGA16 if depth == 4 else palette256() if depth == 8 else []
    colour_rows = []
    mask_rows = []
    for row in reversed(rows):  # bottom-up
        if depth == 24:
            bits = b"".join(bytes((c[2], c[1], c[0])) if c else b"\0\0\0" for c in row)
        else:
            indices = [nearest(c, palette) if c else 0 for c in row]
            if depth == 8:
                bits = bytes(indices)
            else:
                bits = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        colour_rows.append(pad4(bits))
        mask = bytearray((size + 7) // 8)
        for x, c in enumerate(row):
            if c is None:
                mask[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(pad4(bytes(mask)))
    colour = b"".join(colour_rows)
    mask = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + table + colour + mask


def build_icon():
    images = []
    rendered = {size: render(size) for size in SIZES}
    for depth in DEPTHS:
        for size in SIZES:
            images.append((size, depth, encode(rendered[size], depth)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, depth, data in images:
        colours = 16 if depth == 4 else 0
        entries += struct.pack("<BBBBHHII", size, size, colours, 0, 1, depth, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, _, data in images)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    with open(sys.argv[1], "wb") as out:
        out.write(build_icon())


if __name__ == "__main__":
    main()
