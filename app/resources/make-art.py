#!/usr/bin/python3
"""Renders icon 128 (32x32 and 16x16) and bitmap 129 (128x39): the hiragana
su-do-ku in black, on a transparent ground for the icon and on light grey for the
bitmap. Run with Debian's python3, python3-pil and fonts-noto-cjk; the PNGs it
writes are committed, so the build needs none of these."""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
FONT_INDEX = 0  # the Japanese face of the collection
TEXT = "\u3059\u3069\u304f"  # su do ku
GREY = (192, 192, 192)
LEVELS = 16  # the resources are 16-colour images


def fitted_font(text, width, height):
    """The largest size at which text fits in width x height."""
    size = height
    while size > 4:
        font = ImageFont.truetype(FONT, size, index=FONT_INDEX)
        left, top, right, bottom = font.getbbox(text)
        if right - left <= width and bottom - top <= height:
            return font
        size -= 1
    return ImageFont.truetype(FONT, 4, index=FONT_INDEX)


def coverage(text, width, height, margin):
    """A greyscale mask of text centred in width x height, quantised to 16 levels."""
    font = fitted_font(text, width - 2 * margin, height - 2 * margin)
    left, top, right, bottom = font.getbbox(text)
    mask = Image.new("L", (width, height), 0)
    x = (width - (right - left)) // 2 - left
    y = (height - (bottom - top)) // 2 - top
    ImageDraw.Draw(mask).text((x, y), text, fill=255, font=font)
    step = 255 // (LEVELS - 1)
    return mask.point(lambda v: round(v / step) * step)


def icon(size):
    mask = coverage(TEXT, size, size, 0)
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    image.putalpha(mask)
    return image


def bitmap():
    mask = coverage(TEXT, 128, 39, 3)
    ground = Image.new("RGB", (128, 39), GREY)
    ink = Image.new("RGB", (128, 39), (0, 0, 0))
    return Image.composite(ink, ground, mask).convert("P", palette=Image.ADAPTIVE, colors=LEVELS)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    icon(32).save(os.path.join(out, "icon128-32.png"), optimize=True)
    icon(16).save(os.path.join(out, "icon128-16.png"), optimize=True)
    bitmap().save(os.path.join(out, "bitmap129.png"), optimize=True)


if __name__ == "__main__":
    main()
