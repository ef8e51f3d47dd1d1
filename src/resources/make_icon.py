#!/usr/bin/env python3
"""Draws the Tintmark icon and writes it as an .ico file.

The icon is a thick ring with a short tail leaving it at the lower right, painted in three
horizontal bands (red, green, blue from the top) on a transparent background.

The file holds, in this order:
- the 16-colour images (4 bits per pixel over the standard palette, a 1-bit AND mask for
  transparency), the 32 x 32 one first: what every Windows reads, and what older systems and
  displays of 256 colours or fewer take;
- 32-bit images (alpha, smooth edges) at the sizes Windows asks for at 100 % to 200 % scale and
  beyond, as bitmaps with an AND mask, which Windows XP reads and older systems draw through the
  mask, except the largest, which is PNG-compressed as Windows Vista and later read it. No older
  system asks for it: for any size they ask, a bitmap lies closer.

Usage: make_icon.py [--sizes 32,16,48] [OUTPUT]   (default OUTPUT: tintmark.ico beside this file)
"""

import argparse
import math
import os
import struct
import zlib

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
RED, GREEN, BLUE = 9, 10, 12
BANDS = (RED, GREEN, BLUE)

# Shape in unit coordinates (0..1 across the image, y downwards).
RING_CENTER = (0.41, 0.41)
RING_OUTER = 0.385
RING_INNER = 0.2
TAIL_END = (0.87, 0.87)
TAIL_HALF_WIDTH = 0.09
SUPERSAMPLE = 5

# The 32-bit images: the icon sizes of 100 %, 125 %, 150 % and 200 % scale, and Explorer's large
# views. From PNG_FROM on they are PNG-compressed.
TRUE_COLOR_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
PNG_FROM = 256
BAND_RGB = ((255, 0, 0), (0, 255, 0), (0, 0, 255))


def _distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def _inside_shape(x, y):
    cx, cy = RING_CENTER
    r = math.hypot(x - cx, y - cy)
    if RING_INNER <= r <= RING_OUTER:
        return True
    # The tail starts inside the ring's body, so it joins it without a gap.
    start = RING_INNER + (RING_OUTER - RING_INNER) * 0.5
    ax = cx + start * math.cos(math.pi / 4)
    ay = cy + start * math.sin(math.pi / 4)
    return _distance_to_segment(x, y, ax, ay, TAIL_END[0], TAIL_END[1]) <= TAIL_HALF_WIDTH


def draw(size):
    """Returns size rows (top first) of pixels: a palette index, or None where transparent."""
    covered = []
    n = SUPERSAMPLE
    for row in range(size):
        line = []
        for col in range(size):
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    if _inside_shape((col + (sx + 0.5) / n) / size, (row + (sy + 0.5) / n) / size):
                        hits += 1
            line.append(hits * 2 >= n * n)
        covered.append(line)

    rows_used = [row for row in range(size) if any(covered[row])]
    top, height = rows_used[0], rows_used[-1] - rows_used[0] + 1
    image = []
    for row in range(size):
        band = BANDS[min(2, (row - top) * 3 // height)] if row >= top else BANDS[0]
        image.append([band if on else None for on in covered[row]])
    return image


def _shape_rows():
    """The top and bottom of the shape in unit coordinates: the ring's top, the tail's round end."""
    top = RING_CENTER[1] - RING_OUTER
    bottom = TAIL_END[1] + TAIL_HALF_WIDTH
    return top, bottom


def draw_true_color(size):
    """Returns size rows (top first) of (red, green, blue, alpha): each row in its band's colour,
    so that the bands meet on a pixel's edge, and each pixel's coverage as its alpha."""
    top, bottom = _shape_rows()
    n = SUPERSAMPLE
    image = []
    for row in range(size):
        band = BAND_RGB[max(0, min(2, int(((row + 0.5) / size - top) * 3 / (bottom - top))))]
        line = []
        for col in range(size):
            hits = sum(_inside_shape((col + (sx + 0.5) / n) / size, (row + (sy + 0.5) / n) / size)
                       for sy in range(n) for sx in range(n))
            alpha = (hits * 255 + n * n // 2) // (n * n)
            line.append(band + (alpha,) if alpha else (0, 0, 0, 0))
        image.append(line)
    return image


def _row_bytes(bits_per_pixel, width):
    return ((width * bits_per_pixel + 31) // 32) * 4


def encode_image(image):
    """Encodes one image as the DIB an .ico entry holds: header, palette, XOR and AND bitmaps."""
    size = len(image)
    xor_stride = _row_bytes(4, size)
    and_stride = _row_bytes(1, size)
    xor_bits = bytearray()
    and_bits = bytearray()
    for row in reversed(image):  # bottom-up
        xor_row = bytearray(xor_stride)
        and_row = bytearray(and_stride)
        for col, index in enumerate(row):
            if index is None:
                and_row[col // 8] |= 0x80 >> (col % 8)
                index = 0
            xor_row[col // 2] |= index << (4 if col % 2 == 0 else 0)
        xor_bits += xor_row
        and_bits += and_row
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    return header + palette + bytes(xor_bits) + bytes(and_bits)


def encode_true_color(image):
    """Encodes a 32-bit image as an .ico entry's DIB: header, BGRA rows and the AND mask. The mask
    marks the fully transparent pixels, whose colour is 0, so that a system drawing through the
    mask alone shows the shape and leaves the background as it was."""
    size = len(image)
    and_stride = _row_bytes(1, size)
    xor_bits = bytearray()
    and_bits = bytearray()
    for row in reversed(image):  # bottom-up
        and_row = bytearray(and_stride)
        for col, (r, g, b, a) in enumerate(row):
            if a == 0:
                and_row[col // 8] |= 0x80 >> (col % 8)
            xor_bits += bytes((b, g, r, a))
        and_bits += and_row
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 0, 0)
    return header + bytes(xor_bits) + bytes(and_bits)


def _png_chunk(kind, data):
    return (struct.pack('>I', len(data)) + kind + data +
            struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))


def encode_png(image):
    """Encodes a 32-bit image as an RGBA PNG. Its runs of one colour compress best unfiltered."""
    size = len(image)
    raw = b''.join(b'\0' + bytes(v for pixel in row for v in pixel) for row in image)
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + _png_chunk(b'IHDR', header) +
            _png_chunk(b'IDAT', zlib.compress(raw, 9)) + _png_chunk(b'IEND', b''))


def encode_ico(sizes):
    # (size, colour count, bits per pixel, data) for each directory entry, in file order.
    entries = [(size, 16, 4, encode_image(draw(size))) for size in sizes]
    for size in TRUE_COLOR_SIZES:
        image = draw_true_color(size)
        data = encode_png(image) if size >= PNG_FROM else encode_true_color(image)
        entries.append((size, 0, 32, data))
    out = bytearray(struct.pack('<HHH', 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, colors, bits, data in entries:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, colors, 0, 1, bits, len(data),
                           offset)
        offset += len(data)
    for _, _, _, data in entries:
        out += data
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('output', nargs='?',
                        default=os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                             'tintmark.ico'))
    parser.add_argument('--sizes', default='32,16,48',
                        help='16-colour image sizes in file order (default: 32,16,48)')
    args = parser.parse_args()
    sizes = [int(s) for s in args.sizes.split(',')]
    with open(args.output, 'wb') as f:
        f.write(encode_ico(sizes))


if __name__ == '__main__':
    main()
