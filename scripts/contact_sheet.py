#!/usr/bin/env python3
"""Lays the replay tool's captures out on one contact sheet, each labelled with its
route time: how anyone judges a change to the route, the assets or the shading in
one look. Standard library only: PNG is read and written here with zlib.

Usage: contact_sheet.py OUT.png COLUMNS CAPTURE.png..."""

import re
import struct
import sys
import zlib

# A 3 x 5 pixel font for the labels: digits, the decimal point, "s" and a space.
GLYPHS = {
    "0": ["111", "101", "101", "101", "111"], "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"], "3": ["111", "001", "111", "001", "111"],
    "4": ["101", "101", "111", "001", "001"], "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"], "7": ["111", "001", "010", "010", "010"],
    "8": ["111", "101", "111", "101", "111"], "9": ["111", "101", "111", "001", "111"],
    ".": ["000", "000", "000", "000", "010"], "s": ["000", "011", "110", "011", "110"],
    " ": ["000", "000", "000", "000", "000"],
}
SCALE = 2   # label pixels per font pixel
GAP = 4     # pixels between the images


def read_png(path):
    """Width, height and rows of RGB bytes of an 8-bit RGB or RGBA PNG."""
    data = open(path, "rb").read()
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            idat += body
    if depth != 8 or colour not in (2, 6):
        sys.exit(f"contact_sheet: {path} is not an 8-bit RGB image")
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for x in range(stride):
            left = line[x - channels] if x >= channels else 0
            up = previous[x]
            corner = previous[x - channels] if x >= channels else 0
            if kind == 1:
                line[x] = (line[x] + left) & 255
            elif kind == 2:
                line[x] = (line[x] + up) & 255
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[x] = (line[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        previous = line
        rows.append(bytes(line) if channels == 3 else bytes(b for i, b in enumerate(line) if i % 4 != 3))
    return width, height, rows


def write_png(path, width, height, pixels):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    # Each row stored as its difference from the row above (PNG filter 2), which
    # compresses photographic rows far better than the raw bytes.
    stride = width * 3
    raw = bytearray()
    previous = bytes(stride)
    for y in range(height):
        row = pixels[y * stride:(y + 1) * stride]
        raw += b"\2" + bytes((a - b) & 255 for a, b in zip(row, previous))
        previous = row
    with open(path, "wb") as file:
        file.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                   + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def label(pixels, sheet_width, x0, y0, text):
    """White text on a dark box at (x0, y0), top left."""
    box_w, box_h = (4 * len(text) + 1) * SCALE, 7 * SCALE
    for y in range(box_h):
        for x in range(box_w):
            at = ((y0 + y) * sheet_width + x0 + x) * 3
            pixels[at:at + 3] = bytes(c // 4 for c in pixels[at:at + 3])
    for i, char in enumerate(text):
        for row, bits in enumerate(GLYPHS[char]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    for dy in range(SCALE):
                        for dx in range(SCALE):
                            x = x0 + ((4 * i + 1 + col) * SCALE) + dx
                            y = y0 + ((row + 1) * SCALE) + dy
                            at = (y * sheet_width + x) * 3
                            pixels[at:at + 3] = b"\xff\xff\xff"


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__.splitlines()[-1])
    out, columns, paths = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    images = [read_png(path) for path in paths]
    width, height = images[0][0], images[0][1]
    rows = (len(images) + columns - 1) // columns
    sheet_w, sheet_h = columns * width + (columns + 1) * GAP, rows * height + (rows + 1) * GAP
    pixels = bytearray(sheet_w * sheet_h * 3)
    for n, ((w, h, image_rows), path) in enumerate(zip(images, paths)):
        if (w, h) != (width, height):
            sys.exit(f"contact_sheet: {path} is {w}x{h}, not {width}x{height}")
        x0 = GAP + (n % columns) * (width + GAP)
        y0 = GAP + (n // columns) * (height + GAP)
        for y, row in enumerate(image_rows):
            at = ((y0 + y) * sheet_w + x0) * 3
            pixels[at:at + width * 3] = row
        seconds = re.search(r"t0*(\d+\.\d)\.png$", path)
        label(pixels, sheet_w, x0 + 2, y0 + 2, (seconds.group(1) if seconds else "") + " s")
    write_png(out, sheet_w, sheet_h, pixels)


if __name__ == "__main__":
    main()
