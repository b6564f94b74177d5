#!/usr/bin/env python3
"""Draws the main window's toolbar strip (14 images of 20x20, 24-bit) and the splitter's
column-sizing cursor (32x32, monochrome).

usage: gentoolbar.py OUTPUT_DIR   -> OUTPUT_DIR/toolbar.bmp, OUTPUT_DIR/splitsize.cur
The files are committed; run this again only to change the artwork.
Image order: new folder, delete folder, new message, delete message, search, mailbox setup,
send, retrieve, address book, mailing lists, signature, dialer, filter, about.
"""
import struct
import sys

W = H = 20
BG = (192, 192, 192)  # the toolbar maps this grey to the button face
K = (0, 0, 0)
WHITE = (255, 255, 255)
YEL = (240, 200, 60)
DYEL = (170, 130, 20)
RED = (200, 30, 30)
GRN = (20, 140, 40)
BLUE = (30, 70, 170)
LBLUE = (150, 180, 230)
GREY = (110, 110, 110)


class Img:
    def __init__(self):
        self.p = [[BG] * W for _ in range(H)]

    def px(self, x, y, c):
        if 0 <= x < W and 0 <= y < H:
            self.p[y][x] = c

    def rect(self, x0, y0, x1, y1, fill, edge=K):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                border = x in (x0, x1) or y in (y0, y1)
                self.px(x, y, edge if border and edge else fill)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.px(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def thick(self, x0, y0, x1, y1, c):
        self.line(x0, y0, x1, y1, c)
        self.line(x0 + 1, y0, x1 + 1, y1, c)

    def circle(self, cx, cy, r, c, fill=None):
        for y in range(H):
            for x in range(W):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if fill and d < r - 0.5:
                    self.px(x, y, fill)
                elif abs(d - r) < 0.6:
                    self.px(x, y, c)


def folder(im):
    im.rect(2, 5, 8, 7, YEL, DYEL)
    im.rect(2, 7, 16, 16, YEL, DYEL)


def page(im):
    im.rect(4, 2, 15, 17, WHITE, K)
    for y in (6, 9, 12):
        im.line(6, y, 13, y, LBLUE)


def cross(im, x, y):
    im.thick(x, y, x + 6, y + 6, RED)
    im.thick(x + 6, y, x, y + 6, RED)


def envelope(im):
    im.rect(1, 5, 14, 14, WHITE, K)
    im.line(1, 5, 7, 10, K)
    im.line(14, 5, 8, 10, K)


def draw(n):
    im = Img()
    if n == 0:  # new folder
        folder(im)
        im.rect(12, 1, 18, 7, GRN, GRN)
        im.line(15, 2, 15, 6, WHITE)
        im.line(13, 4, 17, 4, WHITE)
    elif n == 1:  # delete folder
        folder(im)
        cross(im, 11, 1)
    elif n == 2:  # new message
        page(im)
        im.thick(11, 14, 17, 4, BLUE)
        im.px(10, 15, K)
    elif n == 3:  # delete message
        page(im)
        cross(im, 11, 11)
    elif n == 4:  # search
        im.circle(8, 8, 5, K, LBLUE)
        im.thick(12, 12, 17, 17, GREY)
    elif n == 5:  # mailbox setup
        im.rect(3, 7, 15, 14, BLUE, K)
        im.rect(8, 14, 9, 18, GREY, None)
        im.line(13, 3, 13, 7, K)
        im.rect(13, 3, 16, 5, RED, None)
    elif n == 6:  # send
        envelope(im)
        im.thick(12, 16, 18, 16, GRN)
        im.line(16, 14, 18, 16, GRN)
        im.line(16, 18, 18, 16, GRN)
    elif n == 7:  # retrieve
        envelope(im)
        im.thick(16, 11, 16, 18, GRN)
        im.line(14, 16, 16, 18, GRN)
        im.line(18, 16, 16, 18, GRN)
    elif n == 8:  # address book
        im.rect(4, 2, 15, 17, BLUE, K)
        im.rect(6, 2, 6, 17, LBLUE, None)
        im.circle(11, 9, 3, WHITE)
        im.px(11, 9, WHITE)
    elif n == 9:  # mailing lists
        for y in (4, 9, 14):
            im.rect(3, y, 5, y + 2, BLUE, None)
            im.thick(8, y + 1, 16, y + 1, K)
    elif n == 10:  # signature
        im.line(2, 16, 17, 16, GREY)
        pts = [(2, 13), (5, 8), (7, 13), (10, 7), (12, 13), (15, 9), (17, 12)]
        for a, b in zip(pts, pts[1:]):
            im.line(a[0], a[1], b[0], b[1], BLUE)
    elif n == 11:  # dialer
        im.rect(3, 9, 16, 16, GREY, K)
        im.rect(2, 5, 17, 8, K, None)
        im.rect(2, 5, 4, 10, K, None)
        im.rect(15, 5, 17, 10, K, None)
        im.circle(9.5, 12.5, 2, WHITE)
    elif n == 12:  # filter
        for y in range(3, 11):
            im.line(2 + (y - 3), y, 17 - (y - 3), y, BLUE)
        im.rect(9, 10, 10, 17, BLUE, None)
    elif n == 13:  # about
        im.circle(9.5, 9.5, 8, BLUE, LBLUE)
        im.thick(9, 8, 9, 14, BLUE)
        im.rect(9, 4, 10, 5, BLUE, None)
    return im


def write_bmp(path, images):
    width = W * len(images)
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(H - 1, -1, -1):
        line = bytearray()
        for im in images:
            for x in range(W):
                r, g, b = im.p[y][x]
                line += bytes((b, g, r))
        line += b"\0" * (row - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def write_cursor(path):
    size = 32
    ink = set()
    cy = 15
    for x in range(6, 26):       # the arrow shaft
        ink.add((x, cy))
    for y in range(8, 23):       # the bar
        ink.add((15, y))
        ink.add((16, y))
    for i in range(5):           # arrow heads
        for d in range(-i, i + 1):
            ink.add((2 + i, cy + d))
            ink.add((29 - i, cy + d))
    outline = set()
    for (x, y) in ink:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                outline.add((x + dx, y + dy))
    xor_rows, and_rows = [], []
    for y in range(size - 1, -1, -1):
        xr = ar = 0
        for x in range(size):
            bit = 1 << (31 - x)
            if (x, y) in ink:
                pass                 # black: and 0, xor 0
            elif (x, y) in outline:
                xr |= bit            # white: and 0, xor 1
            else:
                ar |= bit            # transparent: and 1, xor 0
        xor_rows.append(struct.pack(">I", xr))
        and_rows.append(struct.pack(">I", ar))
    bits = b"".join(xor_rows) + b"".join(and_rows)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(bits), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info + palette + bits
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 15, cy, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(head + entry + image)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    write_bmp(out + "/toolbar.bmp", [draw(n) for n in range(14)])
    write_cursor(out + "/splitsize.cur")
