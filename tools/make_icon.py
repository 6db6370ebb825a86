#!/usr/bin/env python3
"""Draws the application icon: a finder target (rings and a cross-hair) in one
32 x 32, 16-colour image, and writes it as res/quarvel.ico."""
import struct
import sys

SIZE = 32
# The standard 16-colour palette (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_BLUE, RED, WHITE = 0, 4, 9, 15


def pixel(x, y):
    """Colour index and whether the pixel is transparent."""
    cx = cy = 15.5
    d2 = (x - cx) ** 2 + (y - cy) ** 2
    if abs(x - cx) < 1 or abs(y - cy) < 1:
        return (BLACK, False) if d2 <= 15.5 ** 2 else (0, True)
    if d2 <= 3.5 ** 2:
        return RED, False
    for inner, outer, colour in ((7.5, 9.5, DARK_BLUE), (12.5, 15.5, DARK_BLUE)):
        if inner ** 2 <= d2 <= outer ** 2:
            return colour, False
    if d2 <= 15.5 ** 2:
        return WHITE, False
    return 0, True


def image_bytes():
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in range(SIZE - 1, -1, -1):  # bottom-up
        bits = 0
        for x in range(0, SIZE, 2):
            left, _ = pixel(x, row)
            right, _ = pixel(x + 1, row)
            xor.append((left << 4) | right)
        for x in range(SIZE):
            bits = (bits << 1) | (1 if pixel(x, row)[1] else 0)
        mask += struct.pack('>I', bits)
    return header + palette + bytes(xor) + bytes(mask)


def main(path):
    image = image_bytes()
    assert len(image) == 744, len(image)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(directory + entry + image)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/quarvel.ico')
