#!/usr/bin/env python3
"""Writes vavizorur.ico: a white "V" on a blue disc, 16x16 and 32x32, 32-bit colour.

The icon is committed; run this only to change it: python3 make_icon.py vavizorur.ico
"""
import struct
import sys


def pixel(x, y, size):
    """BGRA of one pixel; (x, y) from the top-left corner."""
    c = (size - 1) / 2.0
    fx, fy = (x - c) / size, (y - c) / size
    if fx * fx + fy * fy > 0.25:
        return (0, 0, 0, 0)  # outside the disc: transparent
    # The V: two strokes from the top corners to the bottom centre.
    top, bottom = -0.30, 0.30
    if top <= fy <= bottom:
        t = (fy - top) / (bottom - top)
        half = 0.30 * (1.0 - t)  # the strokes' distance from the centre line
        width = 0.085
        if abs(abs(fx) - half) <= width:
            return (255, 255, 255, 255)
    return (160, 80, 20, 255)  # blue (B, G, R, A)


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up
        rows.append(b"".join(bytes(pixel(x, y, size)) for x in range(size)))
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b"\0" * (mask_row * size)  # alpha decides transparency
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask),
                         0, 0, 0, 0)
    return header + xor + and_mask


def main(path):
    sizes = [16, 32]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "vavizorur.ico")
