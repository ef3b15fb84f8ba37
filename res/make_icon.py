#!/usr/bin/env python3
"""Draws res/kantrell.ico: three lock-key lights on a dark key cap, 47 x 37 pixels, 24 bits.

The icon holds exactly one image, stored as a DIB: a 40-byte header whose height (74) counts the
colour image and its mask, 37 rows of 144 bytes of colour (141 used, padded to 4 bytes), then 37
rows of 8 bytes of 1-bit mask; 5,664 bytes. Run it again after changing the drawing:
    python3 res/make_icon.py
"""
import os
import struct

WIDTH, HEIGHT = 47, 37
BODY = (52, 56, 64)
BODY_EDGE = (96, 102, 114)
LIGHT_OFF_RIM = (30, 34, 38)
LABEL = (200, 204, 210)
LIGHTS = [  # (centre x, lit colour): Num Lock, Caps Lock, Scroll Lock
    (10, (70, 230, 90)),
    (23, (70, 230, 90)),
    (36, (250, 190, 40)),
]


def inside_rounded(x, y, left, top, right, bottom, radius):
    """True when pixel (x, y) lies inside the rounded rectangle."""
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def pixel(x, y):
    """Colour (r, g, b) of a pixel, or None where the icon is transparent. y = 0 is the top."""
    if not inside_rounded(x, y, 0, 2, WIDTH - 1, HEIGHT - 3, 6):
        return None
    colour = BODY
    if not inside_rounded(x, y, 1, 3, WIDTH - 2, HEIGHT - 4, 5):
        colour = BODY_EDGE
    for centre, lit in LIGHTS:
        d2 = (x - centre) ** 2 + (y - 13) ** 2
        if d2 <= 16:
            glow = 1.0 - d2 / 40.0
            colour = tuple(min(255, int(c * glow + 255 * (1 - glow) * 0.35)) for c in lit)
        elif d2 <= 25:
            colour = LIGHT_OFF_RIM
        # a short label bar under each light
        if 24 <= y <= 25 and abs(x - centre) <= 4:
            colour = LABEL
    return colour


def icon_bytes():
    colour_rows = []
    mask_rows = []
    for y in reversed(range(HEIGHT)):  # DIB rows run bottom-up
        row = bytearray()
        mask = 0
        for x in range(WIDTH):
            c = pixel(x, y)
            if c is None:
                row += bytes(3)
                mask |= 1 << (63 - x)  # transparent: mask bit set
            else:
                r, g, b = c
                row += bytes((b, g, r))
        row += bytes(144 - len(row))
        colour_rows.append(bytes(row))
        mask_rows.append(mask.to_bytes(8, "big"))
    image_size = 37 * 144 + 37 * 8
    header = struct.pack("<IiiHHIIiiII", 40, WIDTH, 2 * HEIGHT, 1, 24, 0, image_size, 0, 0, 0, 0)
    image = header + b"".join(colour_rows) + b"".join(mask_rows)
    assert len(image) == 5664
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", WIDTH, HEIGHT, 0, 0, 1, 24, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "kantrell.ico"), "wb") as out:
        out.write(icon_bytes())
