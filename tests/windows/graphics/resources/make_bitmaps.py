#!/usr/bin/env python3
"""Writes the small bitmaps that the Windows tests load from their own resources.

4 bits per pixel, uncompressed, bottom-up, as the uncompressed copies of the
screen saver's pictures beside it.
quarters.bmp: 8 x 6 pixels; the left half red, the right half blue, and the
top-left pixel green, so that orientation and scaling can be checked.
"""
import struct
from pathlib import Path

PALETTE = [(0, 0, 0), (255, 0, 0), (0, 0, 255), (0, 255, 0)] + [(0, 0, 0)] * 12


def bitmap(rows):
    """rows: top to bottom, each a list of palette indices."""
    height, width = len(rows), len(rows[0])
    stride = ((width * 4 + 31) // 32) * 4
    pixels = b""
    for row in reversed(rows):
        packed = bytearray(stride)
        for x, index in enumerate(row):
            packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
        pixels += bytes(packed)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    return header + info + palette + pixels


def quarters():
    rows = [[1] * 4 + [2] * 4 for _ in range(6)]
    rows[0][0] = 3
    return rows


if __name__ == "__main__":
    here = Path(__file__).resolve().parent
    (here / "quarters.bmp").write_bytes(bitmap(quarters()))
