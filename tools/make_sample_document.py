#!/usr/bin/env python3
"""Writes samples/Sample.qbx, the sample menu document. Its links are
relative to the document's own folder, as the editor writes them relative to
the menu program: the document, its picture and its file stand together as
they would on the CD. Run by hand when the sample changes."""
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FIRST_CHILD, NEXT_SIBLING, PARENT, END_OF_TREE = 0, 1, 2, 99
CL_WINDOW_TEXT = 0x80000008


def category(name, *children, selected=False):
    return (name, None, children, selected)


def entry(name, text, linked_file="", picture="", selected=False):
    return (name, (text, linked_file, picture), (), selected)


SAMPLE_TREE = [
    category("Software",
             entry("Text editor",
                   "A small editor for plain text files.\r\nIt starts from the CD without installing anything.",
                   "files\\readme.txt", "pictures\\editor.bmp", selected=True),
             entry("Image viewer", "Shows pictures of every common format."),
             category("Extras", entry("Fonts", "A collection of free fonts."))),
    category("Documents",
             entry("Manual", "The manual of the CD, with a chapter for every program on it.",
                   "files\\readme.txt")),
]


def block(text):
    data = text.encode("cp1252")
    return struct.pack("<i", len(data)) + data


def node(item, tag):
    name, data, children, selected = item
    out = bytes([tag]) + block(name)
    if data is None:
        out += b"\0"
    else:
        out += b"\1" + b"".join(block(s) for s in data)
    out += bytes([1 if selected else 0])
    return out + siblings(children)


def siblings(items):
    """The items as a run of siblings, then a step back up to their parent."""
    out = b""
    for i, item in enumerate(items):
        out += node(item, FIRST_CHILD if i == 0 else NEXT_SIBLING)
    if items:
        out += bytes([PARENT])
    return out


def font(name, size, color=CL_WINDOW_TEXT, charset=0, pitch=0, ppi=96, style=0):
    data = name.encode("cp1252")
    return (struct.pack("<BI", charset, color) + bytes([len(data)]) + data +
            struct.pack("<BiiB", pitch, ppi, size, style))


def document():
    out = siblings(SAMPLE_TREE) + bytes([END_OF_TREE])
    out += block("Quillory sample CD")
    out += struct.pack("<iii", 0xD8E9EC, 0xFFFFFF, 0xFFFFFF)  # window, page, tree colours
    out += bytes([1] * 7)  # switches
    return out + font("Arial Black", 18) + font("Arial", 11)


def main():
    folder = os.path.join(ROOT, "samples")
    with open(os.path.join(folder, "Sample.qbx"), "wb") as f:
        f.write(document())


if __name__ == "__main__":
    main()
