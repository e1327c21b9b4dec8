#!/usr/bin/env python3
"""Writes the program's icon, platform/win32/q308.ico: a vertical dimension
(two measured edges, the dimension line with an arrow at each end, and the
value standing beside it), 32 x 32 and 16 x 16 pixels, 16 colours each.

The pictures are the character grids below. Run this again after changing
them; the build uses the committed icon.
"""
import struct
import sys
from pathlib import Path

# The standard 16-colour palette (red, green, blue) and the grid letters.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
COLOURS = {"k": 0, "s": 7, "g": 8, "r": 9, "b": 12, "w": 15}  # "." is transparent

ICON32 = """
................................
.gggggggggggggggggggggggggggggg.
.gwwwwwwwwwwwwwwwwwwwwwwwwwwwwg.
.gwwwwwwwwwwwwwwwwwwwwwwwwwwwwg.
.gwkkkkkkkkkkkkkkkkkkkkkkkkwwwg.
.gwkkkkkkkkkkkkkkkkkkkkkkkkwwwg.
.gwwwwwwwwwwwwwwwwwwwrwwwwwwwwg.
.gwwwwwwwwwwwwwwwwwwrrrwwwwwwwg.
.gwwwwwwwwwwwwwwwwwwrrrwwwwwwwg.
.gwwwwwwwwwwwwwwwwwrrrrrwwwwwwg.
.gwwwbbbbbbwwwwwwwwrrrrrwwwwwwg.
.gwwwbbbbbbwwwwwwwrrrrrrrwwwwwg.
.gwwwwwwwbbwwwwwwwwwwrwwwwwwwwg.
.gwwwwwwwbbwwwwwwwwwwrwwwwwwwwg.
.gwwwwwwwbbwwwwwwwwwwrwwwwwwwwg.
.gwwwwbbbbbwwwwwwwwwwrwwwwwwwwg.
.gwwwwbbbbbwwwwwwwwwwrwwwwwwwwg.
.gwwwwwwwbbwwwwwwwwwwrwwwwwwwwg.
.gwwwwwwwbbwwwwwwwwwwrwwwwwwwwg.
.gwwwwwwwbbwwwwwwwwwwrwwwwwwwwg.
.gwwwbbbbbbwwwwwwwrrrrrrrwwwwwg.
.gwwwbbbbbbwwwwwwwwrrrrrwwwwwwg.
.gwwwwwwwwwwwwwwwwwrrrrrwwwwwwg.
.gwwwwwwwwwwwwwwwwwwrrrwwwwwwwg.
.gwwwwwwwwwwwwwwwwwwrrrwwwwwwwg.
.gwwwwwwwwwwwwwwwwwwwrwwwwwwwwg.
.gwkkkkkkkkkkkkkkkkkkkkkkkkwwwg.
.gwkkkkkkkkkkkkkkkkkkkkkkkkwwwg.
.gwwwwwwwwwwwwwwwwwwwwwwwwwwwwg.
.gwwwwwwwwwwwwwwwwwwwwwwwwwwwwg.
.gggggggggggggggggggggggggggggg.
................................
"""

ICON16 = """
gggggggggggggggg
gwwwwwwwwwwwwwwg
gwkkkkkkkkkkkwwg
gwwwwwwwwwrwwwwg
gwwwwwwwwrrrwwwg
gwbbbwwwrrrrrwwg
gwwwbwwwwwrwwwwg
gwwbbwwwwwrwwwwg
gwwwbwwwwwrwwwwg
gwbbbwwwrrrrrwwg
gwwwwwwwwrrrwwwg
gwwwwwwwwwrwwwwg
gwkkkkkkkkkkkwwg
gwwwwwwwwwwwwwwg
gwwwwwwwwwwwwwwg
gggggggggggggggg
"""


def rows_of(grid, size):
    rows = [line for line in grid.split("\n") if line]
    assert len(rows) == size and all(len(r) == size for r in rows), f"{size}x{size} grid expected"
    return rows


def image(grid, size):
    """One icon image: header, palette, colour bits and the transparency mask."""
    rows = rows_of(grid, size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    colour_stride = (size * 4 + 31) // 32 * 4
    mask_stride = (size + 31) // 32 * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps run bottom-up
        line = bytearray(colour_stride)
        bits = bytearray(mask_stride)
        for x, letter in enumerate(row):
            index = COLOURS.get(letter, 0)
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if letter == ".":
                bits[x // 8] |= 0x80 >> (x % 8)
        colour += line
        mask += bits
    return header + palette + bytes(colour) + bytes(mask)


def main():
    default = Path(__file__).resolve().parent.parent / "platform" / "win32" / "q308.ico"
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    images = [(32, image(ICON32, 32)), (16, image(ICON16, 16))]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, blob in images:
        data += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    data += b"".join(blob for _, blob in images)
    out.write_bytes(data)


if __name__ == "__main__":
    main()
