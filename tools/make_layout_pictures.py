#!/usr/bin/env python3
"""Draws the programs' small pictures (tree-node images, tab images, image
buttons, page pictures) and prints them as layout values. Run by hand when a
picture changes; the layouts keep the output."""
import math
import struct
import sys

FUCHSIA = (255, 0, 255)


class Canvas:
    def __init__(self, w, h, bg=FUCHSIA):
        self.w, self.h = w, h
        self.px = [[bg for _ in range(w)] for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1):
            self.put(x, y0, c)
            self.put(x, y1 - 1, c)
        for y in range(y0, y1):
            self.put(x0, y, c)
            self.put(x1 - 1, y, c)

    def disc(self, cx, cy, r, c, inner=0):
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if inner <= d <= r:
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, c, width=1):
        n = max(abs(x1 - x0), abs(y1 - y0), 1) * 2
        for i in range(n + 1):
            x = x0 + (x1 - x0) * i / n
            y = y0 + (y1 - y0) * i / n
            for dx in range(width):
                for dy in range(width):
                    self.put(int(x) + dx, int(y) + dy, c)


def bmp24(c):
    row = (c.w * 3 + 3) // 4 * 4
    data = b''
    for y in range(c.h - 1, -1, -1):
        line = b''.join(bytes((b, g, r)) for (r, g, b) in c.px[y])
        data += line + b'\0' * (row - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b'BM' + struct.pack('<IHHI', 14 + 40 + len(data), 0, 0, 54) + header + data


def bmp1(mask, w, h):
    row = (w + 31) // 32 * 4
    data = b''
    for y in range(h - 1, -1, -1):
        bits = bytearray(row)
        for x in range(w):
            if mask[y][x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        data += bytes(bits)
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 1, 0, len(data), 2835, 2835, 2, 2)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    return b'BM' + struct.pack('<IHHI', 14 + 40 + 8 + len(data), 0, 0, 62) + header + palette + data


def strip(images):
    w, h = images[0].w, images[0].h
    s = Canvas(w * len(images), h)
    for i, img in enumerate(images):
        for y in range(h):
            for x in range(w):
                s.px[y][i * w + x] = img.px[y][x]
    mask = [[1 if s.px[y][x] == FUCHSIA else 0 for x in range(s.w)] for y in range(h)]
    for y in range(h):
        for x in range(s.w):
            if mask[y][x]:
                s.px[y][x] = (0, 0, 0)
    return struct.pack('<iiiI', w, h, len(images), 1) + bmp24(s) + bmp1(mask, s.w, h)


def with_disabled(c):
    # A button glyph of two cells: the picture, then its disabled look, the
    # dark pixels embossed (highlight one pixel down and right, then shadow).
    dark = [[c.px[y][x] != FUCHSIA and sum(c.px[y][x]) < 3 * 200 for x in range(c.w)] for y in range(c.h)]
    if not any(any(row) for row in dark):
        dark = [[c.px[y][x] != FUCHSIA for x in range(c.w)] for y in range(c.h)]
    s = Canvas(c.w * 2, c.h)
    for y in range(c.h):
        for x in range(c.w):
            s.px[y][x] = c.px[y][x]
    for colour, shift in ((WHITE, 1), (DISABLED_SHADOW, 0)):
        for y in range(c.h - shift):
            for x in range(c.w - shift):
                if dark[y][x]:
                    s.put(c.w + x + shift, y + shift, colour)
    return s


def glyph_from_bmp(data):
    # The canvas of a 24-bit bottom-up bitmap file (as bmp24 writes them).
    w, h = struct.unpack_from('<ii', data, 18)
    row = (w * 3 + 3) // 4 * 4
    c = Canvas(w, h)
    for y in range(h):
        line = data[54 + (h - 1 - y) * row:]
        for x in range(w):
            b, g, r = line[3 * x:3 * x + 3]
            c.px[y][x] = (r, g, b)
    return c


def add_disabled_cells(path):
    # Rewrites a layout's one-cell 16 x 16 button glyphs with their disabled
    # cell and NumGlyphs = 2.
    lines = open(path).read().split('\n')
    out, i = [], 0
    while i < len(lines):
        line = lines[i]
        if line.strip() != 'Glyph.Data = {':
            out.append(line)
            i += 1
            continue
        indent = line[:len(line) - len(line.lstrip())]
        j, hexdata = i + 1, ''
        while True:
            hexdata += lines[j].strip().rstrip('}')
            if lines[j].rstrip().endswith('}'):
                break
            j += 1
        data = bytes.fromhex(hexdata)
        w, h = struct.unpack_from('<ii', data, 18)
        if (w, h) != (16, 16):
            out.extend(lines[i:j + 1])
            i = j + 1
            continue
        out.append(line)
        body = hexlines(bmp24(with_disabled(glyph_from_bmp(data))), indent + '  ').split('\n')
        body[-1] += '}'
        out.extend(body)
        out.append(indent + 'NumGlyphs = 2')
        i = j + 1
    open(path, 'w').write('\n'.join(out))


def picture(c):
    name = b'TBitmap'
    return bytes((len(name),)) + name + bmp24(c)


def hexlines(data, indent):
    h = data.hex().upper()
    return '\n'.join(indent + h[i:i + 64] for i in range(0, len(h), 64))


# --- the pictures ---------------------------------------------------------

YELLOW, DARK_YELLOW = (250, 210, 70), (170, 130, 20)
BLUE, NAVY, WHITE, GREY = (40, 90, 200), (0, 0, 128), (255, 255, 255), (120, 120, 120)
RED, GREEN, SILVER = (200, 30, 30), (30, 150, 50), (200, 200, 210)
DISABLED_SHADOW = (128, 128, 128)


def folder(open_):
    c = Canvas(16, 16)
    c.rect(1, 3, 7, 5, DARK_YELLOW)
    c.rect(1, 4, 15, 14, YELLOW)
    c.frame(1, 4, 15, 14, DARK_YELLOW)
    if open_:
        c.rect(3, 7, 16, 14, (255, 235, 130))
        c.frame(3, 7, 16, 14, DARK_YELLOW)
    return c


def document(selected):
    c = Canvas(16, 16)
    c.rect(3, 1, 13, 15, WHITE)
    c.frame(3, 1, 13, 15, GREY)
    for y in (4, 6, 8, 10, 12):
        c.rect(5, y, 11, y + 1, BLUE)
    if selected:
        c.rect(0, 6, 4, 10, RED)
    return c


def cd(size, bg=FUCHSIA):
    c = Canvas(size, size, bg)
    r = size / 2 - 1
    c.disc(size / 2, size / 2, r, SILVER)
    c.disc(size / 2, size / 2, r * 0.75, (170, 200, 240), r * 0.45)
    c.disc(size / 2, size / 2, r * 0.2, bg)
    c.disc(size / 2, size / 2, r, GREY, r - 1)
    return c


def gear():
    c = Canvas(16, 16)
    c.disc(8, 8, 7, GREY)
    c.disc(8, 8, 3, FUCHSIA)
    for a in range(0, 360, 45):
        x = 8 + 7 * math.cos(math.radians(a))
        y = 8 + 7 * math.sin(math.radians(a))
        c.rect(int(x) - 1, int(y) - 1, int(x) + 1, int(y) + 1, FUCHSIA)
    return c


def tree_icon():
    c = Canvas(16, 16)
    c.rect(2, 2, 7, 6, YELLOW)
    c.frame(2, 2, 7, 6, DARK_YELLOW)
    c.rect(4, 6, 5, 13, GREY)
    c.rect(4, 8, 9, 9, GREY)
    c.rect(4, 12, 9, 13, GREY)
    c.rect(9, 7, 14, 10, BLUE)
    c.rect(9, 11, 14, 14, BLUE)
    return c


def exit_button():
    c = Canvas(32, 32)
    c.disc(16, 16, 15, RED)
    c.disc(16, 16, 15, (120, 0, 0), 14)
    c.line(10, 10, 22, 22, WHITE, 3)
    c.line(22, 10, 10, 22, WHITE, 3)
    return c


def info_button():
    c = Canvas(32, 32)
    c.disc(16, 16, 15, BLUE)
    c.disc(16, 16, 15, NAVY, 14)
    c.rect(14, 7, 18, 11, WHITE)
    c.rect(14, 13, 18, 25, WHITE)
    return c


def make_exe_button():
    c = cd(48)
    c.rect(26, 30, 36, 34, GREEN)
    for i in range(8):
        c.rect(36 + i, 26 + i, 37 + i, 38 - i, GREEN)
    return c


def plus(c, x, y, col=GREEN):
    c.rect(x - 3, y - 1, x + 4, y + 2, col)
    c.rect(x - 1, y - 3, x + 2, y + 4, col)


def arrow(up, col=BLUE):
    c = Canvas(16, 16)
    for i in range(7):
        y = 2 + i if up else 13 - i
        c.rect(8 - i, y, 9 + i, y + 1, col)
    if up:
        c.rect(6, 9, 11, 15, col)
    else:
        c.rect(6, 1, 11, 7, col)
    return c


def cross(col=RED):
    c = Canvas(16, 16)
    c.line(3, 3, 12, 12, col, 2)
    c.line(12, 3, 3, 12, col, 2)
    return c


def glyph_new_entry():
    c = document(False)
    plus(c, 11, 11)
    return c


def glyph_properties():
    c = document(False)
    c.line(7, 13, 14, 6, DARK_YELLOW, 2)
    return c


def glyph_new_category():
    c = folder(False)
    plus(c, 11, 11)
    return c


def glyph_preview():
    c = Canvas(16, 16)
    c.rect(1, 2, 15, 14, WHITE)
    c.frame(1, 2, 15, 14, GREY)
    c.rect(1, 2, 15, 4, NAVY)
    c.rect(3, 6, 7, 12, BLUE)
    c.rect(8, 6, 13, 7, GREY)
    c.rect(8, 8, 13, 9, GREY)
    return c


def glyph_font(col):
    c = Canvas(16, 16)
    c.line(2, 14, 7, 2, col, 2)
    c.line(8, 2, 13, 14, col, 2)
    c.rect(5, 9, 11, 11, col)
    return c


def glyph_execute():
    c = Canvas(16, 16)
    for i in range(6):
        c.rect(4 + i, 2 + i, 5 + i, 14 - i, GREEN)
    return c


def glyph_copy():
    c = document(False)
    d = Canvas(16, 16)
    for y in range(16):
        for x in range(16):
            if c.px[y][x] != FUCHSIA:
                d.put(x - 2, y - 1, c.px[y][x])
    for y in range(16):
        for x in range(16):
            if c.px[y][x] != FUCHSIA and 0 <= x + 2 < 16 and 0 <= y + 1 < 16:
                d.put(x + 2, y + 1, c.px[y][x])
    return d


def glyph_quit():
    c = Canvas(16, 16)
    c.rect(2, 1, 10, 15, (150, 100, 50))
    c.frame(2, 1, 10, 15, (90, 50, 20))
    c.rect(7, 8, 9, 9, YELLOW)
    c.line(10, 8, 15, 8, RED, 2)
    c.line(12, 5, 15, 8, RED, 2)
    c.line(12, 11, 15, 8, RED, 2)
    return c


def pressed(c):
    # The pressed look of an image button: the picture sunk one pixel
    # down and right, a little darker.
    p = Canvas(c.w, c.h)
    for y in range(c.h - 1):
        for x in range(c.w - 1):
            col = c.px[y][x]
            if col != FUCHSIA:
                col = tuple(v * 3 // 4 for v in col)
            p.px[y + 1][x + 1] = col
    return p


def main():
    what = sys.argv[1] if len(sys.argv) > 1 else 'all'
    if what == '--add-disabled-cells':
        for path in sys.argv[2:]:
            add_disabled_cells(path)
        return
    pieces = {
        'nodes': lambda: strip([folder(False), document(False), folder(True), document(True)]),
        'tabs': lambda: strip([tree_icon(), gear(), cd(16)]),
        'exit': lambda: picture(exit_button()),
        'info': lambda: picture(info_button()),
        'makeexe': lambda: picture(make_exe_button()),
        'glyph-new-entry': lambda: bmp24(with_disabled(glyph_new_entry())),
        'glyph-delete': lambda: bmp24(with_disabled(cross())),
        'glyph-properties': lambda: bmp24(with_disabled(glyph_properties())),
        'glyph-new-category': lambda: bmp24(with_disabled(glyph_new_category())),
        'glyph-preview': lambda: bmp24(with_disabled(glyph_preview())),
        'glyph-up': lambda: bmp24(with_disabled(arrow(True))),
        'glyph-down': lambda: bmp24(with_disabled(arrow(False))),
        'glyph-caption-font': lambda: bmp24(with_disabled(glyph_font(NAVY))),
        'glyph-main-font': lambda: bmp24(with_disabled(glyph_font(GREY))),
        'glyph-execute': lambda: bmp24(with_disabled(glyph_execute())),
        'glyph-install': lambda: bmp24(with_disabled(glyph_execute())),
        'glyph-copy': lambda: bmp24(with_disabled(glyph_copy())),
        'glyph-quit': lambda: bmp24(with_disabled(glyph_quit())),
        'exit-pressed': lambda: picture(pressed(exit_button())),
        'info-pressed': lambda: picture(pressed(info_button())),
        'makeexe-pressed': lambda: picture(pressed(make_exe_button())),
        'page': lambda: picture(cd(64)),
        'about': lambda: picture(cd(48)),
    }
    for name, make in pieces.items():
        if what in ('all', name):
            print(f'--- {name}')
            print(hexlines(make(), '      '))


if __name__ == '__main__':
    main()
