#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files.

    draw_icons.py OUTPUT_DIR   writes ewts.ico, small.ico and english.ico

EWTS mode is a yellow Tibetan letter KA on maroon, English mode a white EN on
blue: different in colour, in brightness and in shape, so that the two modes
are told apart at a glance at 16 x 16 in the notification area. Each picture
is drawn once at 16 x 16; the 32 x 32 images double every pixel, so that the
shell's shrinking of a 32 x 32 icon gives back the 16 x 16 drawing.

Images are stored as bitmaps (an XOR image with its palette and an AND mask):
Windows 2000 and XP cannot read icon images stored as PNG.
"""

import os
import struct
import sys

# '.' outside the rounded square (transparent), ' ' background, '#' letter.
# The one-pixel dark rim round the square is added by the drawing.
KA = [
    "................",
    "................",
    "..############..",
    "..############..",
    ".......##.......",
    ".......##.......",
    "..###########...",
    "..############..",
    "......##....##..",
    ".....##.....##..",
    "....##......##..",
    "...##.......##..",
    "..##........##..",
    "............##..",
    "................",
    "................",
]

EN = [
    "................",
    "................",
    "................",
    "..#####.##..##..",
    "..#####.###.##..",
    "..##....###.##..",
    "..##....######..",
    "..####..######..",
    "..####..##.###..",
    "..##....##.###..",
    "..##....##..##..",
    "..#####.##..##..",
    "..#####.##..##..",
    "................",
    "................",
    "................",
]

# The standard 16-colour palette of Windows, as (red, green, blue).
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, YELLOW, BLUE, WHITE = 0, 1, 11, 12, 15

# Palette indices of one 16-colour picture: rim, background, letter.
EWTS_COLOURS = (BLACK, MAROON, YELLOW)
ENGLISH_COLOURS = (BLACK, BLUE, WHITE)


def inside(x, y, size):
    """The rounded square: everything but two pixels at each corner."""
    last = size - 1
    corner = {(0, 0), (1, 0), (0, 1)}
    fx = x if x < size // 2 else last - x
    fy = y if y < size // 2 else last - y
    return (fx, fy) not in corner


def on_rim(x, y, size):
    if not inside(x, y, size):
        return False
    for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)):
        nx, ny = x + dx, y + dy
        if not (0 <= nx < size and 0 <= ny < size) or not inside(nx, ny, size):
            return True
    return False


def kind_of(art, x, y, scale):
    """'.', 'rim', 'back' or 'letter' for a pixel of the picture at the given scale."""
    if not inside(x // scale, y // scale, 16):
        return "."
    if on_rim(x // scale, y // scale, 16):
        return "rim"
    return "letter" if art[y // scale][x // scale] == "#" else "back"


def sixteen_colour(art, colours, scale):
    """(pixels, mask, palette, bits) for a 16-colour image."""
    rim, back, letter = colours
    index = {"rim": rim, "back": back, "letter": letter, ".": 0}
    size = 16 * scale
    pixels = [[index[kind_of(art, x, y, scale)] for x in range(size)] for y in range(size)]
    mask = [[kind_of(art, x, y, scale) == "." for x in range(size)] for y in range(size)]
    return pixels, mask, VGA, 4


def shaded_ewts():
    """The 32 x 32 256-colour EWTS picture: the same drawing, with the maroon
    darkening and the yellow warming towards the bottom."""
    size = 32
    palette = [(0, 0, 0)] * 256
    palette[1] = (48, 0, 0)
    for y in range(size):
        palette[16 + y] = (176 - 3 * y, 24 - y // 2, 24 - y // 2)
        palette[64 + y] = (255, 244 - 2 * y, 96 - 3 * y)
    pixels, mask = [], []
    for y in range(size):
        row = []
        for x in range(size):
            kind = kind_of(KA, x, y, 2)
            row.append({".": 0, "rim": 1, "back": 16 + y, "letter": 64 + y}[kind])
        pixels.append(row)
        mask.append([kind_of(KA, x, y, 2) == "." for x in range(size)])
    return pixels, mask, palette, 8


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def image_data(image):
    """The BITMAPINFOHEADER, palette, XOR rows and AND rows of one icon image."""
    pixels, mask, palette, bits = image
    size = len(pixels)
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):  # bitmaps are stored bottom-up
        if bits == 4:
            row = bytes((pixels[y][x] << 4) | pixels[y][x + 1] for x in range(0, size, 2))
        else:
            row = bytes(pixels[y])
        xor_rows.append(padded(row))
        mask_bits = bytearray(size // 8)
        for x in range(size):
            if mask[y][x]:
                mask_bits[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(padded(bytes(mask_bits)))
    xor, and_mask = b"".join(xor_rows), b"".join(and_rows)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette[: 1 << bits])
    # The height counts the XOR image and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + colours + xor + and_mask


def icon_file(images):
    datas = [image_data(image) for image in images]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for image, data in zip(images, datas):
        size, bits = len(image[0]), image[3]
        colour_count = 16 if bits == 4 else 0
        directory += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(data), offset)
        offset += len(data)
    return directory + b"".join(datas)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: draw_icons.py OUTPUT_DIR")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    icons = {
        # Class icon, EWTS mode in the notification area, About dialog.
        "ewts.ico": [sixteen_colour(KA, EWTS_COLOURS, 2), sixteen_colour(KA, EWTS_COLOURS, 1), shaded_ewts()],
        # The class's small icon: title bar and task bar.
        "small.ico": [sixteen_colour(KA, EWTS_COLOURS, 1), sixteen_colour(KA, EWTS_COLOURS, 2)],
        # English mode in the notification area.
        "english.ico": [sixteen_colour(EN, ENGLISH_COLOURS, 2)],
    }
    for name, images in icons.items():
        with open(os.path.join(out, name), "wb") as file:
            file.write(icon_file(images))


if __name__ == "__main__":
    main()
