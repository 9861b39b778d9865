#!/usr/bin/env python3
"""Writes src/res/tintwise.ico: 16x16, 16 colours, fully opaque.

The picture is eight solid 8x4 blocks, two to a row, drawn from PICTURE
below with one letter per block. Run it again after changing the picture;
the native tests check the checked-in file against the same blocks.
"""
import pathlib
import struct

# The standard 16-colour palette, in its usual order (R, G, B).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
INDEX = {"red": 9, "lime": 10, "yellow": 11, "blue": 12, "magenta": 13, "cyan": 14,
         "black": 0, "white": 15}

# Top to bottom, left block then right block.
PICTURE = [
    ("red", "blue"),
    ("lime", "cyan"),
    ("yellow", "magenta"),
    ("black", "white"),
]


def pixel_rows():
    for left, right in PICTURE:
        for _ in range(4):
            yield [INDEX[left]] * 8 + [INDEX[right]] * 8


def main():
    rows = list(pixel_rows())
    xor = b"".join(bytes((row[x] << 4) | row[x + 1] for x in range(0, 16, 2))
                   for row in reversed(rows))  # bottom-up, 8 bytes a row
    and_mask = bytes(4 * 16)  # all 0: every pixel opaque
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, 16, 32, 1, 4, 0, len(xor) + len(and_mask), 0, 0, 16, 0)
    image = header + palette + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 16, 16, 16, 0, 1, 4, len(image), 22)
    out = pathlib.Path(__file__).resolve().parent.parent / "src" / "res" / "tintwise.ico"
    out.write_bytes(directory + image)
    print(f"wrote {out} ({len(directory + image)} bytes)")


if __name__ == "__main__":
    main()
