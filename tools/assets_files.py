"""Byte-exact writers for the picture formats the game reads.

Every writer takes rows in the order the game's reader keeps them: row 0 of
the array is the first row stored in the file, which the game maps to
texture t = 0.
"""
import struct

import numpy as np

BMP_FILE_HEADER_SIZE = 14
BMP_INFO_HEADER_SIZE = 40
PIXELS_PER_METRE = 2835  # 72 dpi, what paint programs write

TGA_TRUE_COLOUR = 2
TGA_GREYSCALE = 3
TGA_TRUE_COLOUR_RLE = 10
TGA_TOP_LEFT_ORIGIN = 0x20
TGA_MAX_PACKET = 128


def write_bmp(path, rows):
    """24-bit BMP, 40-byte info header, no compression, positive height."""
    rows = np.ascontiguousarray(rows, dtype=np.uint8)
    height, width, _ = rows.shape
    row_size = (width * 3 + 3) & ~3
    data = np.zeros((height, row_size), dtype=np.uint8)
    data[:, :width * 3] = rows[:, :, ::-1].reshape(height, width * 3)
    offset = BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE
    header = struct.pack('<2sIHHI', b'BM', offset + data.size, 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', BMP_INFO_HEADER_SIZE, width, height, 1, 24,
                       0, data.size, PIXELS_PER_METRE, PIXELS_PER_METRE, 0, 0)
    with open(path, 'wb') as out:
        out.write(header + info + data.tobytes())


def _tga_header(image_type, width, height, bits):
    # No image ID, no colour map, origin (0, 0): the texture reader compares
    # the first 12 bytes exactly.
    return struct.pack('<BBBHHBHHHHBB', 0, 0, image_type, 0, 0, 0, 0, 0,
                       width, height, bits, TGA_TOP_LEFT_ORIGIN)


def _rle_packets(pixels):
    """Run-length packets over a list of pixel byte strings."""
    out = bytearray()
    i, count = 0, len(pixels)
    while i < count:
        run = 1
        while i + run < count and run < TGA_MAX_PACKET and pixels[i + run] == pixels[i]:
            run += 1
        if run > 1:
            out.append(0x80 | (run - 1))
            out += pixels[i]
            i += run
            continue
        start = i
        while i < count and i - start < TGA_MAX_PACKET and (
                i + 1 >= count or pixels[i + 1] != pixels[i]):
            i += 1
        out.append(i - start - 1)
        out += b''.join(pixels[start:i])
    return bytes(out)


def write_tga(path, rows, run_length=False):
    """24-bit true-colour TGA, type 10 when run_length, else type 2."""
    rows = np.ascontiguousarray(rows, dtype=np.uint8)
    height, width, _ = rows.shape
    bgr = np.ascontiguousarray(rows[:, :, ::-1]).reshape(-1, 3)
    if run_length:
        body = _rle_packets([p.tobytes() for p in bgr])
        image_type = TGA_TRUE_COLOUR_RLE
    else:
        body = bgr.tobytes()
        image_type = TGA_TRUE_COLOUR
    with open(path, 'wb') as out:
        out.write(_tga_header(image_type, width, height, 24) + body)


def write_grey_tga(path, rows):
    """8-bit greyscale TGA (type 3), the heightmap's format."""
    rows = np.ascontiguousarray(rows, dtype=np.uint8)
    height, width = rows.shape
    with open(path, 'wb') as out:
        out.write(_tga_header(TGA_GREYSCALE, width, height, 8) + rows.tobytes())
