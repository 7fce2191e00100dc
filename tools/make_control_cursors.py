#!/usr/bin/env python3
"""Writes the controls' two cursors (controls/cursors/*.cur): a pointing
hand and a hand dragging a sheet, 32x32 monochrome, drawn here as text:
'#' black, '.' white, ' ' transparent."""
import os
import struct

HAND = """
      ##
     #..#
     #..#
     #..#
     #..#
     #..###
     #..#..###
     #..#..#..##
  ## #..#..#..#.#
 #..##........#..#
 #...#...........#
  #..#...........#
   #.............#
   #.............#
    #............#
    #...........#
     #..........#
     #.........#
      #........#
      #........#
      ##########
"""

DRAG = """
      ##
     #..#
     #..#
     #..#
     #..#
     #..###
     #..#..###
     #..#..#..##
  ## #..#..#..#.#
 #..##........#..#
 #...#...........#
  #..#...........#
   #.............#
   #.............#
    #............#
    #...........#
     #..........#
     #.........#
      #........#
      #........# ###########
      ########## #.........#
                 #.#######.#
                 #.........#
                 #.#####...#
                 #.........#
                 ###########
"""


def cursor_bytes(art, hotspot):
    rows = art.strip("\n").split("\n")
    size = 32
    xor_rows, and_rows = [], []
    for y in range(size):
        line = rows[y] if y < len(rows) else ""
        xor_bits = and_bits = 0
        for x in range(size):
            ch = line[x] if x < len(line) else " "
            bit = 1 << (31 - x)
            if ch == " ":
                and_bits |= bit
            elif ch == ".":
                xor_bits |= bit
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    # Bottom-up rows, as bitmaps keep them.
    xor_data = b"".join(reversed(xor_rows))
    and_data = b"".join(reversed(and_rows))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + xor_data + and_data
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "controls", "cursors")
    os.makedirs(folder, exist_ok=True)
    for name, art, hotspot in (("hand.cur", HAND, (7, 1)), ("drag.cur", DRAG, (7, 1))):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(cursor_bytes(art, hotspot))


if __name__ == "__main__":
    main()
