#!/usr/bin/env python3
"""Draws the preview tool bar's button strip and packs it as resources/report/PreviewButtons.gz.

The strip is a 24-bit BMP of 25 cells of 16 x 16 (400 x 16 pixels, 19,254 bytes), magenta where
a button is transparent (the image list masks each cell with its bottom-left pixel). It is
packed as one gzip member named "1" whose MTIME field holds the big-endian Adler-32 of the BMP,
the form the report engine's resource reader expects. Run from anywhere; rewrites the file.
"""
import os
import struct
import zlib

W, H, CELLS = 16, 16, 25
BG = (255, 0, 255)
INK, GREY, WHITE = (0, 0, 0), (128, 128, 128), (255, 255, 255)
BLUE, NAVY, RED = (0, 0, 200), (0, 0, 128), (200, 0, 0)
YELLOW, GREEN = (230, 200, 60), (0, 128, 0)

px = [[BG] * (W * CELLS) for _ in range(H)]


def dot(c, x, y, col):
    if 0 <= x < W and 0 <= y < H:
        px[y][c * W + x] = col


def box(c, x0, y0, x1, y1, fill=None, edge=INK):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            border = x in (x0, x1) or y in (y0, y1)
            if border and edge:
                dot(c, x, y, edge)
            elif not border and fill:
                dot(c, x, y, fill)


def hline(c, x0, x1, y, col=INK):
    for x in range(x0, x1 + 1):
        dot(c, x, y, col)


def vline(c, x, y0, y1, col=INK):
    for y in range(y0, y1 + 1):
        dot(c, x, y, col)


def page(c, fill=WHITE):
    box(c, 3, 1, 12, 14, fill)


def triangle(c, x0, right, col=NAVY):
    for i in range(5):
        x = x0 + i if right else x0 - i
        vline(c, x, 3 + i, 12 - i, col)


def magnifier(c):
    for x in range(2, 11):
        for y in range(1, 10):
            d = (x - 6) ** 2 + (y - 5) ** 2
            if 12 <= d <= 20:
                dot(c, x, y, INK)
            elif d < 12:
                dot(c, x, y, WHITE)
    for i in range(4):
        dot(c, 10 + i, 9 + i, INK)
        dot(c, 11 + i, 9 + i, INK)


def draw():
    box(0, 1, 4, 14, 13, YELLOW); hline(0, 2, 6, 3)              # open: folder
    box(1, 1, 1, 14, 14, BLUE); box(1, 4, 2, 11, 7, WHITE)        # save: disk
    box(2, 4, 1, 11, 6, WHITE); box(2, 1, 6, 14, 12, GREY)        # print: printer
    page(3); hline(3, 6, 14, 8, GREEN); dot(3, 13, 7, GREEN); dot(3, 13, 9, GREEN)  # export
    magnifier(4)                                                   # find
    for x, y in ((1, 1), (9, 1), (1, 9), (9, 9)):                  # thumbnails
        box(5, x, y, x + 5, y + 5, WHITE)
    page(6)                                                        # spare
    page(7); box(7, 5, 3, 10, 12, None, GREY)                      # page settings
    vline(8, 4, 3, 12, NAVY); triangle(8, 10, False)              # first
    triangle(9, 10, False)                                         # prior
    triangle(10, 5, True)                                          # next
    triangle(11, 5, True); vline(11, 11, 3, 12, NAVY)             # last
    vline(12, 3, 2, 13); [hline(12, 3, 7, y) for y in (4, 9, 13)]  # outline: tree
    [box(12, 8, y - 1, 12, y + 1, WHITE) for y in (4, 9, 13)]
    box(13, 3, 3, 12, 12, WHITE); hline(13, 5, 10, 7)              # collapse
    box(14, 3, 3, 12, 12, WHITE); hline(14, 5, 10, 7); vline(14, 7, 5, 10)  # expand
    magnifier(15); hline(15, 4, 8, 5); vline(15, 6, 3, 7)          # zoom in
    magnifier(16); hline(16, 4, 8, 5)                              # zoom out
    for c in range(17, 21):                                        # spare
        page(c)
    for i in range(10):                                            # edit: pencil
        dot(21, 3 + i, 12 - i, YELLOW); dot(21, 4 + i, 12 - i, INK)
    box(22, 1, 2, 14, 13, WHITE)                                   # full screen
    for x, y, dx, dy in ((3, 4, 1, 1), (12, 4, -1, 1), (3, 11, 1, -1), (12, 11, -1, -1)):
        hline(22, min(x, x + 2 * dx), max(x, x + 2 * dx), y); vline(22, x, min(y, y + 2 * dy), max(y, y + 2 * dy))
    box(23, 1, 3, 14, 12, WHITE)                                   # e-mail: envelope
    for i in range(7):
        dot(23, 1 + i, 3 + i, INK); dot(23, 14 - i, 3 + i, INK)
    page(24); box(24, 4, 8, 11, 12, RED, None)                     # PDF
    for c in range(CELLS):                                         # mask corner stays clear
        dot(c, 0, H - 1, BG)


def bmp():
    row = W * CELLS * 3
    data = bytearray()
    for y in reversed(range(H)):
        for r, g, b in px[y]:
            data += bytes((b, g, r))
        data += bytes((-row) % 4)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W * CELLS, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def gzip_member(data, name):
    deflate = zlib.compressobj(9, zlib.DEFLATED, -15)
    raw = deflate.compress(data) + deflate.flush()
    header = b"\x1f\x8b\x08\x08" + struct.pack(">I", zlib.adler32(data)) + b"\x02\x03" + name + b"\0"
    trailer = struct.pack("<II", zlib.crc32(data), len(data) & 0xFFFFFFFF)
    return header + raw + trailer


draw()
image = bmp()
assert len(image) == 19254
out = os.path.join(os.path.dirname(__file__), "..", "resources", "report", "PreviewButtons.gz")
with open(out, "wb") as f:
    f.write(gzip_member(image, b"1"))
