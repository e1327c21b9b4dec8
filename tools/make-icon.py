#!/usr/bin/env python3
"""Writes the program's icon, frontends/win32/q308.ico: a vertical dimension
(two measured edges, the dimension line with an arrow at each end, and the
value standing beside it) in the sizes Windows asks for from 100 % to 200 %
scaling: 16, 24, 32 and 48 pixels in 16 colours, and 256 pixels as PNG.

The pictures are the character grids below; 48 is the 24 grid doubled and
256 the 32 grid taken eight times, so every line stays crisp. Run this again
after changing them; the build uses the committed icon.
"""
import struct
import sys
import zlib
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

ICON24 = """
........................
.gggggggggggggggggggggg.
.gwwwwwwwwwwwwwwwwwwwwg.
.gwkkkkkkkkkkkkkkkkkkwg.
.gwkkkkkkkkkkkkkkkkkkwg.
.gwwwwwwwwwwwwwwrwwwwwg.
.gwwwwwwwwwwwwwrrrwwwwg.
.gwwwwwwwwwwwwrrrrrwwwg.
.gwwbbbbbwwwwwwwrwwwwwg.
.gwwwwwbbwwwwwwwrwwwwwg.
.gwwwwwbbwwwwwwwrwwwwwg.
.gwwwbbbbwwwwwwwrwwwwwg.
.gwwwbbbbwwwwwwwrwwwwwg.
.gwwwwwbbwwwwwwwrwwwwwg.
.gwwwwwbbwwwwwwwrwwwwwg.
.gwwbbbbbwwwwwwwrwwwwwg.
.gwwwwwwwwwwwwrrrrrwwwg.
.gwwwwwwwwwwwwwrrrwwwwg.
.gwwwwwwwwwwwwwwrwwwwwg.
.gwkkkkkkkkkkkkkkkkkkwg.
.gwkkkkkkkkkkkkkkkkkkwg.
.gwwwwwwwwwwwwwwwwwwwwg.
.gggggggggggggggggggggg.
........................
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


def enlarged(grid, size, factor):
    """The grid with every cell taken factor times in each direction."""
    rows = rows_of(grid, size)
    return "\n".join("".join(c * factor for c in row) for row in rows for _ in range(factor))


def image(grid, size):
    """One 16-colour icon image: header, palette, colour bits and the transparency mask."""
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


def png(grid, size):
    """One image as a PNG file, the form Windows reads for 256 pixels."""
    rows = rows_of(grid, size)
    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for letter in row:
            r, g, b = PALETTE[COLOURS.get(letter, 0)]
            raw += bytes((r, g, b, 0 if letter == "." else 255))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            chunk(b"IEND", b""))


def main():
    default = Path(__file__).resolve().parent.parent / "frontends" / "win32" / "q308.ico"
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    # (size, colours, bits per pixel, image)
    images = [
        (32, 16, 4, image(ICON32, 32)),
        (16, 16, 4, image(ICON16, 16)),
        (24, 16, 4, image(ICON24, 24)),
        (48, 16, 4, image(enlarged(ICON24, 24, 2), 48)),
        (256, 0, 32, png(enlarged(ICON32, 32, 8), 256)),
    ]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, colours, bits, blob in images:
        side = size % 256  # 0 stands for 256
        data += struct.pack("<BBBBHHII", side, side, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    data += b"".join(image for _, _, _, image in images)
    out.write_bytes(data)


if __name__ == "__main__":
    main()
