#!/usr/bin/env python3
"""Writes app/win32/nivrano.ico: one 32 x 32 image in 16 colours.

The picture: a page whose text lines are aligned to the right, as Nivrano writes, with a
large blue nun (the first letter of the name in Hebrew) at its top right.
Run: python3 cmake/make_icon.py app/win32/nivrano.ico
"""
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# Picture characters and their palette entries; '.' is transparent.
INK = {'k': 0, 'g': 8, 's': 7, 'w': 15, 'b': 12, 'n': 4}

PICTURE = """
................................
.....kkkkkkkkkkkkkkkkkkkkk......
.....kwwwwwwwwwwwwwwwwwwwkk.....
.....kwwwwwwwwwwwwwwwwwwwksk....
.....kwwwwwwwwwbbbbbbbwwwksskk..
.....kwwwwwwwwwbbbbbbbbwwwwwwkg.
.....kwwwwwwwwwwwwwwwbbnwwwwwkg.
.....kwwwwwwwwwwwwwwwbbnwwwwwkg.
.....kwwwwwwwwwwwwwwwbbnwwwwwkg.
.....kwwwwwwwwwwwwwwwbbnwwwwwkg.
.....kwwwwwwwwwwwwwwwbbnwwwwwkg.
.....kwwwwwwwwwwwwwwwbbnwwwwwkg.
.....kwwwwwwwwwwwwwwwbbnwwwwwkg.
.....kwwwwwwwwwwwwwwwbbnwwwwwkg.
.....kwwwwwwwwwwwbbbbbbnwwwwwkg.
.....kwwwwwwwwwwwbbbbbbnwwwwwkg.
.....kwwwwwwwwwwwwnnnnnnwwwwwkg.
.....kwwwwwwwwwwwwwwwwwwwwwwwkg.
.....kwwwwgggggggggggggggwwwwkg.
.....kwwwwwwwwwwwwwwwwwwwwwwwkg.
.....kwwwwwwwwwgggggggggggwwwkg.
.....kwwwwwwwwwwwwwwwwwwwwwwwkg.
.....kwwwgggggggggggggggggwwwkg.
.....kwwwwwwwwwwwwwwwwwwwwwwwkg.
.....kwwwwwwwwwwwwwgggggggwwwkg.
.....kwwwwwwwwwwwwwwwwwwwwwwwkg.
.....kwwwwwggggggggggggggggwwkg.
.....kwwwwwwwwwwwwwwwwwwwwwwwkg.
.....kwwwwwwwwwwwwwwwwwwwwwwwkg.
.....kkkkkkkkkkkkkkkkkkkkkkkkkg.
......ggggggggggggggggggggggggg.
................................
"""


def rows():
    lines = [line for line in PICTURE.strip().split("\n")]
    assert len(lines) == 32 and all(len(line) == 32 for line in lines), "picture must be 32 x 32"
    return lines


def image_bytes(lines):
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour = bytearray()
    mask = bytearray()
    for line in reversed(lines):  # bottom-up, as in a BMP
        for x in range(0, 32, 2):
            hi = INK.get(line[x], 0)
            lo = INK.get(line[x + 1], 0)
            colour.append(hi << 4 | lo)
        bits = 0
        for x in range(32):
            bits = bits << 1 | (1 if line[x] == "." else 0)
        mask += struct.pack(">I", bits)  # rows of 32 bits are already 4-byte aligned
    return header + palette + bytes(colour) + bytes(mask)


def main(path):
    image = image_bytes(rows())
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "app/win32/nivrano.ico")
