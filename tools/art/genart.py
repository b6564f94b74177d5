#!/usr/bin/env python3
"""Draws the main program's splash bitmap (400x250, 8-bit) and program icon (16/32 px).

usage: genart.py OUTPUT_DIR   -> OUTPUT_DIR/splash.bmp, OUTPUT_DIR/lorvex.ico
The files are committed; run this again only to change the artwork.
"""
import struct
import sys

FONT = {  # 5x7 glyphs, one string per row, '#' = ink
    'A': [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    'C': [" ####", "#    ", "#    ", "#    ", "#    ", "#    ", " ####"],
    'E': ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
    'I': [" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    'L': ["#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"],
    'M': ["#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"],
    'N': ["#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"],
    'O': [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    'R': ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    'S': [" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "],
    'T': ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "],
    'V': ["#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "],
    'X': ["#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"],
    '0': [" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "],
    '2': [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    '.': ["     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "],
    '-': ["     ", "     ", "     ", "#####", "     ", "     ", "     "],
    ' ': ["     "] * 7,
}

W, H = 400, 250


def splash():
    # palette: 0-127 background gradient (deep blue to teal), 128 white, 129 shadow,
    # 130 envelope paper, 131 envelope lines, 132 accent
    pal = []
    for i in range(128):
        t = i / 127.0
        pal.append((int(20 + 10 * t), int(40 + 90 * t), int(90 + 80 * t)))
    pal += [(255, 255, 255), (10, 20, 50), (246, 242, 228), (120, 110, 90), (240, 180, 40)]
    pal += [(0, 0, 0)] * (256 - len(pal))
    px = [[int(127 * (y / (H - 1)) * 0.6 + 127 * (x / (W - 1)) * 0.4) for x in range(W)] for y in range(H)]

    def rect(x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(H, y1)):
            for x in range(max(0, x0), min(W, x1)):
                px[y][x] = c

    def line(x0, y0, x1, y1, c, w=2):
        n = max(abs(x1 - x0), abs(y1 - y0)) or 1
        for i in range(n + 1):
            x = x0 + (x1 - x0) * i // n
            y = y0 + (y1 - y0) * i // n
            rect(x, y, x + w, y + w, c)

    def text(s, x, y, scale, c, shadow=None):
        for ch in s:
            g = FONT[ch]
            for gy, row in enumerate(g):
                for gx, v in enumerate(row):
                    if v == '#':
                        if shadow is not None:
                            rect(x + gx * scale + 2, y + gy * scale + 2, x + (gx + 1) * scale + 2, y + (gy + 1) * scale + 2, shadow)
                        rect(x + gx * scale, y + gy * scale, x + (gx + 1) * scale, y + (gy + 1) * scale, c)
            x += 6 * scale

    # envelope
    ex, ey, ew, eh = 26, 78, 104, 70
    rect(ex + 4, ey + 4, ex + ew + 4, ey + eh + 4, 129)
    rect(ex, ey, ex + ew, ey + eh, 130)
    line(ex, ey, ex + ew // 2, ey + eh // 2 + 4, 131)
    line(ex + ew - 2, ey, ex + ew // 2, ey + eh // 2 + 4, 131)
    line(ex, ey + eh - 2, ex + 40, ey + eh // 2 - 2, 131)
    line(ex + ew - 2, ey + eh - 2, ex + ew - 40, ey + eh // 2 - 2, 131)
    rect(ex + ew - 24, ey + 8, ex + ew - 8, ey + 26, 132)
    # title and subtitle
    text("LORVEX", 158, 80, 6, 128, shadow=129)
    text("E-MAIL CLIENT", 160, 142, 2, 128)
    text("VERSION 2.0", 160, 164, 2, 132)
    rect(0, H - 10, W, H, 132)

    stride = (W + 3) & ~3
    pixels = bytearray()
    for y in range(H - 1, -1, -1):
        row = bytes(px[y]) + b'\0' * (stride - W)
        pixels += row
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in pal)
    off = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', off + len(pixels), 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, W, H, 1, 8, 0, len(pixels), 3780, 3780, 256, 0)
    return header + info + palette + bytes(pixels)


def icon_image(n):
    # blue rounded square with a white envelope, 32-bit with alpha
    img = [[(0, 0, 0, 0)] * n for _ in range(n)]
    r = n // 6
    for y in range(n):
        for x in range(n):
            dx = max(r - x, 0, x - (n - 1 - r))
            dy = max(r - y, 0, y - (n - 1 - r))
            if dx * dx + dy * dy <= r * r:
                t = y / (n - 1)
                img[y][x] = (int(30 + 20 * t), int(70 + 80 * t), int(150 + 60 * t), 255)
    m = n // 8
    x0, y0, x1, y1 = m, n // 4, n - m, n - n // 4
    for y in range(y0, y1):
        for x in range(x0, x1):
            img[y][x] = (250, 248, 240, 255)
    # flap: two diagonals from the top corners to the middle
    for i in range((x1 - x0) // 2 + 1):
        for x, y in ((x0 + i, y0 + i * (y1 - y0) // (x1 - x0)), (x1 - 1 - i, y0 + i * (y1 - y0) // (x1 - x0))):
            if 0 <= y < n:
                img[y][x] = (110, 100, 80, 255)
    data = bytearray()
    for y in range(n - 1, -1, -1):
        for (rr, gg, bb, aa) in img[y]:
            data += bytes((bb, gg, rr, aa))
    mask_stride = ((n + 31) // 32) * 4
    mask = b'\0' * (mask_stride * n)
    hdr = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, len(data) + len(mask), 0, 0, 0, 0)
    return hdr + bytes(data) + mask


def icon():
    sizes = [32, 16]
    images = [icon_image(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    off = 6 + 16 * len(sizes)
    for n, im in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(im), off)
        off += len(im)
    return out + b''.join(images)


if __name__ == '__main__':
    d = sys.argv[1] if len(sys.argv) > 1 else '.'
    open(d + '/splash.bmp', 'wb').write(splash())
    open(d + '/lorvex.ico', 'wb').write(icon())
