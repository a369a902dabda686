#!/usr/bin/env python3
"""Writes fusebench.ico: the program's own icon, a chip with pins and a green
configuration bar, drawn here at 16, 32 and 48 pixels (32-bit, with an AND mask)."""
import struct
import sys
from pathlib import Path


def pixel(size, x, y):
    """Colour (r, g, b, a) of pixel (x, y) of the icon at Size pixels."""
    s = size / 32.0
    body = (6 * s, 5 * s, 26 * s, 27 * s)  # left, top, right, bottom of the chip
    # Pins: short stubs on the left and right edges, four per side.
    for i in range(4):
        top = (8 + i * 5) * s
        if top <= y < top + 2.5 * s and (2 * s <= x < body[0] or body[2] <= x < 30 * s):
            return (0xB0, 0xB4, 0xBC, 0xFF)
    if body[0] <= x < body[2] and body[1] <= y < body[3]:
        # The notch that marks pin 1.
        cx, cy = 16 * s, body[1]
        if (x - cx) ** 2 + (y - cy) ** 2 < (3 * s) ** 2:
            return (0x2A, 0x2E, 0x36, 0xFF)
        # Configuration bars: three rows, the middle one "set" in green.
        for row, colour in enumerate(((0xE8, 0xEA, 0xED), (0x3C, 0xC8, 0x5A), (0xE8, 0xEA, 0xED))):
            top = (11 + row * 5) * s
            if top <= y < top + 3 * s and 9 * s <= x < 23 * s:
                return colour + (0xFF,)
        edge = x < body[0] + s or x >= body[2] - s or y < body[1] + s or y >= body[3] - s
        return (0x1E, 0x22, 0x28, 0xFF) if edge else (0x3A, 0x40, 0x4C, 0xFF)
    return (0, 0, 0, 0)


def image(size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row = bytearray()
        mask = bytearray(stride)
        for x in range(size):
            r, g, b, a = pixel(size, x + 0.5, y + 0.5)
            row += bytes((b, g, r, a))
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    return header + b"".join(rows) + b"".join(mask_rows)


def main():
    sizes = (16, 32, 48)
    images = [image(size) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("fusebench.ico")
    target.write_bytes(bytes(out))


if __name__ == "__main__":
    main()
