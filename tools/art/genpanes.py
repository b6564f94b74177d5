#!/usr/bin/env python3
"""Draws the folder pane's bitmaps, the message list's row icons and the two drag cursors.

usage: genpanes.py OUTPUT_DIR
  folder bitmaps (16x16, 24-bit): fold_user.bmp, fold_user_sel.bmp, fold_system.bmp, fold_system_sel.bmp
  row icons (36x16, 24-bit):      mesg_read.bmp, mesg_new.bmp, mesg_files.bmp, mesg_new_files.bmp
  cursors (32x32, monochrome):    drag_none.cur, drag_folder.cur
The files are committed; run this again only to change the artwork.
"""
import os
import struct
import sys

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def bmp24(path, px):
    h, w = len(px), len(px[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for (r, g, b) in px[y]:
            row += bytes((b, g, r))
        row += b'\0' * (stride - len(row))
        data += row
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def canvas(w, h, c=WHITE):
    return [[c for _ in range(w)] for _ in range(h)]


def rect(px, x0, y0, x1, y1, c):
    for y in range(max(0, y0), min(len(px), y1)):
        for x in range(max(0, x0), min(len(px[0]), x1)):
            px[y][x] = c


def frame(px, x0, y0, x1, y1, c):
    rect(px, x0, y0, x1, y0 + 1, c)
    rect(px, x0, y1 - 1, x1, y1, c)
    rect(px, x0, y0, x0 + 1, y1, c)
    rect(px, x1 - 1, y0, x1, y1, c)


def folder(body, edge, back):
    px = canvas(16, 16, back)
    rect(px, 1, 3, 7, 5, edge)          # tab
    rect(px, 1, 4, 15, 14, body)        # body
    frame(px, 1, 4, 15, 14, edge)
    rect(px, 2, 6, 14, 7, tuple(min(255, v + 50) for v in body))   # highlight line
    return px


def envelope(px, x0, y0, w, h, paper, ink):
    rect(px, x0, y0, x0 + w, y0 + h, paper)
    frame(px, x0, y0, x0 + w, y0 + h, ink)
    for i in range(w // 2):
        y = y0 + i * (h - 2) // (w // 2)
        px[min(y0 + h - 1, y)][x0 + i] = ink
        px[min(y0 + h - 1, y)][x0 + w - 1 - i] = ink


def clip(px, x0, y0, ink):
    # a paper clip: two nested loops
    frame(px, x0, y0, x0 + 5, y0 + 11, ink)
    frame(px, x0 + 1, y0 + 2, x0 + 4, y0 + 9, ink)


def row_icon(new, files):
    px = canvas(36, 16)
    paper = (255, 244, 200) if new else (236, 236, 236)
    ink = (150, 60, 0) if new else (96, 96, 96)
    envelope(px, 2, 3, 18, 11, paper, ink)
    if new:
        rect(px, 20, 1, 24, 5, (220, 40, 40))      # the "new" dot
    if files:
        clip(px, 27, 2, (40, 70, 160))
    return px


def cursor(path, art, hot):
    """art: 32 strings of 32 chars: '#' black, 'o' white, anything else transparent."""
    xor_rows, and_rows = [], []
    for line in art:
        line = (line + ' ' * 32)[:32]
        x_bits = a_bits = 0
        for ch in line:
            x_bits = (x_bits << 1) | (1 if ch == 'o' else 0)
            a_bits = (a_bits << 1) | (0 if ch in '#o' else 1)
        xor_rows.append(struct.pack('>I', x_bits))
        and_rows.append(struct.pack('>I', a_bits))
    image = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 1, 0, 256, 0, 0, 2, 0)
    image += bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image += b''.join(reversed(xor_rows)) + b''.join(reversed(and_rows))
    head = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', 32, 32, 2, 0, hot[0], hot[1], len(image), 22)
    with open(path, 'wb') as f:
        f.write(head + entry + image)


ARROW = [
    "#",
    "##",
    "#o#",
    "#oo#",
    "#ooo#",
    "#oooo#",
    "#ooooo#",
    "#oooooo#",
    "#ooooooo#",
    "#oooooooo#",
    "#ooooo#####",
    "#oo#oo#",
    "#o# #oo#",
    "##  #oo#",
    "#    #oo#",
    "     #oo#",
    "      ##",
]


def drag_folder():
    art = [r for r in ARROW] + [""] * (32 - len(ARROW))
    box = ["##########", "#oooooooo#", "#o#oooo#o#", "#oo#oo#oo#", "#ooo##ooo#", "#oooooooo#", "##########"]
    for i, line in enumerate(box):
        y = 17 + i
        art[y] = (art[y] + ' ' * 32)[:10] + line
    return art


def drag_none():
    art = [""] * 32
    r_out, r_in = 10.5, 7.5
    cx = cy = 12
    for y in range(32):
        row = ''
        for x in range(32):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            on_slash = abs((x - cx) - (y - cy)) <= 1.5 and d < r_out
            if d <= r_out and (d >= r_in or on_slash):
                row += '#' if (d >= r_out - 1 or (d <= r_in + 1 and not on_slash)) else 'o'
            else:
                row += ' '
        art[y] = row
    return art


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else '.'
    os.makedirs(out, exist_ok=True)
    user, user_edge = (240, 200, 90), (150, 110, 20)
    special, special_edge = (110, 160, 230), (30, 70, 140)
    sel_back = (200, 215, 240)
    bmp24(os.path.join(out, 'fold_user.bmp'), folder(user, user_edge, WHITE))
    bmp24(os.path.join(out, 'fold_user_sel.bmp'), folder(user, user_edge, sel_back))
    bmp24(os.path.join(out, 'fold_system.bmp'), folder(special, special_edge, WHITE))
    bmp24(os.path.join(out, 'fold_system_sel.bmp'), folder(special, special_edge, sel_back))
    bmp24(os.path.join(out, 'mesg_read.bmp'), row_icon(False, False))
    bmp24(os.path.join(out, 'mesg_new.bmp'), row_icon(True, False))
    bmp24(os.path.join(out, 'mesg_files.bmp'), row_icon(False, True))
    bmp24(os.path.join(out, 'mesg_new_files.bmp'), row_icon(True, True))
    cursor(os.path.join(out, 'drag_none.cur'), drag_none(), (12, 12))
    cursor(os.path.join(out, 'drag_folder.cur'), drag_folder(), (0, 0))


if __name__ == '__main__':
    main()
