#!/usr/bin/env python3
"""Writes the themed buttons' kind glyphs (controls/glyphs/*.bmp): 4-bit
bitmaps of two square cells side by side, the picture and its disabled
look. The shapes are drawn here from lines, discs and boxes; olive is the
background, which the buttons take as transparent (the bottom-left
pixel)."""
import math
import os
import struct

# The 16 colours of 4-bit pictures, in their usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (128, 128, 128), (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, GRAY, SILVER, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)


class Cell:
    def __init__(self, size, height):
        self.width, self.height = size, height
        self.pixels = [[OLIVE] * size for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def line(self, points, colour, thickness):
        """A polyline of round-ended strokes."""
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            for y in range(self.height):
                for x in range(self.width):
                    if segment_distance(x + 0.5, y + 0.5, x0, y0, x1, y1) <= thickness / 2:
                        self.put(x, y, colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(self.height):
            for x in range(self.width):
                if math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius:
                    self.put(x, y, colour)

    def ring(self, cx, cy, radius, colour, thickness, start=0.0, end=360.0):
        for y in range(self.height):
            for x in range(self.width):
                dx, dy = x + 0.5 - cx, y + 0.5 - cy
                angle = math.degrees(math.atan2(-dy, dx)) % 360
                inside = start <= angle <= end if start <= end else (angle >= start or angle <= end)
                if inside and abs(math.hypot(dx, dy) - radius) <= thickness / 2:
                    self.put(x, y, colour)

    def box(self, left, top, right, bottom, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, colour)


def segment_distance(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / length))
    return math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))


def check(c, dx=0.0, dy=0.0):
    c.line([(3 + dx, 9 + dy), (7 + dx, 13 + dy), (15 + dx, 4 + dy)], GREEN, 2.6)


def ok(c):
    check(c)


def cancel(c):
    c.line([(4, 4), (14, 14)], RED, 2.6)
    c.line([(14, 4), (4, 14)], RED, 2.6)


def help_(c):
    c.ring(9, 6.5, 3.8, NAVY, 2.2, 330, 200)
    c.line([(11.5, 9.5), (9, 11), (9, 12.5)], NAVY, 2.2)
    c.box(8, 14, 11, 17, NAVY)


def yes(c):
    check(c)


def no(c):
    c.ring(9, 9, 6, RED, 2.0)
    c.line([(5, 13), (13, 5)], RED, 2.0)


def close(c):
    # An open door in its frame.
    c.box(3, 1, 13, 17, TEAL)
    c.box(4, 2, 12, 17, BLACK)
    for y in range(1, 18):
        for x in range(4, 9):
            if y >= 1 + (x - 4) // 2 and y <= 17 - (x - 4) // 3:
                c.put(x, y, MAROON)
    c.put(7, 9, YELLOW)


def abort(c):
    c.disc(9, 9, 8, MAROON)
    c.disc(9, 9, 7, RED)
    c.line([(6, 6), (12, 12)], WHITE, 2.0)
    c.line([(12, 6), (6, 12)], WHITE, 2.0)


def retry(c):
    c.ring(9, 9.5, 5.5, GREEN, 2.2, 110, 20)
    for y in range(0, 8):
        for x in range(9, 17):
            # The arrow head at the upper end of the ring.
            if abs(y - 3.5) <= (x - 9) * 0.55:
                c.put(x - 2, y, GREEN)


def ignore(c):
    c.line([(2, 14), (4, 8), (9, 4), (14, 8), (15, 13)], BLUE, 2.0)
    c.line([(12, 12), (15, 14), (17, 10)], BLUE, 2.0)
    c.box(8, 10, 11, 17, GRAY)
    c.box(9, 11, 10, 16, SILVER)


def all_(c):
    check(c, -2, -1)
    check(c, 2, 3)


KINDS = [
    ("BBOKX", ok, 18), ("BBCANCELX", cancel, 18), ("BBHELPX", help_, 18), ("BBYESX", yes, 18),
    ("BBNOX", no, 18), ("BBCLOSEX", close, 18), ("BBABORTX", abort, 18), ("BBRETRYX", retry, 18),
    ("BBIGNOREX", ignore, 18), ("BBALLX", all_, 19),
]


def disabled(cell):
    """The embossed look: the shape in grey with a white line below right."""
    result = Cell(cell.width, cell.height)
    ink = [[cell.pixels[y][x] != OLIVE for x in range(cell.width)] for y in range(cell.height)]
    for y in range(cell.height):
        for x in range(cell.width):
            if ink[y][x]:
                result.put(x, y, GRAY)
            elif x > 0 and y > 0 and ink[y - 1][x - 1]:
                result.put(x, y, WHITE)
    return result


def bmp_bytes(cells):
    width = sum(c.width for c in cells)
    height = cells[0].height
    stride = ((width * 4 + 31) // 32) * 4
    rows = []
    for y in reversed(range(height)):  # bottom-up
        indexes = [i for c in cells for i in c.pixels[y]]
        if len(indexes) % 2:
            indexes.append(0)
        row = bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, len(indexes), 2))
        rows.append(row + bytes(stride - len(row)))
    bits = b"".join(rows)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(bits), 2835, 2835, 16, 16)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return header + info + palette + bits


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "controls", "glyphs")
    os.makedirs(folder, exist_ok=True)
    for name, draw, height in KINDS:
        cell = Cell(18, height)
        draw(cell)
        with open(os.path.join(folder, name.lower() + ".bmp"), "wb") as f:
            f.write(bmp_bytes([cell, disabled(cell)]))


if __name__ == "__main__":
    main()
