#!/usr/bin/python3
"""Renders icon 128 (32x32 and 16x16) and bitmap 129 (128x39): the hiragana
su-do-ku in black, on a transparent ground for the icon and on light grey for the
bitmap; and the desktop icon in the hicolor theme, the same drawing as PNGs of
16 to 256 pixels and as scalable SVG outlines. Run with Debian's python3,
python3-pil, python3-fonttools and fonts-noto-cjk (`make art`); the files it writes
are committed, so the build needs none of these.

make-art.py [RESOURCE-DIR [ICON-DIR]]"""

import os
import sys

from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTCollection
from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
FONT_INDEX = 0  # the Japanese face of the collection
TEXT = "\u3059\u3069\u304f"  # su do ku
GREY = (192, 192, 192)
LEVELS = 16  # the resources are 16-colour images
APP_ID = "io.github.gridlark.Gridlark"
ICON_SIZES = (16, 32, 48, 64, 128, 256)
SVG_SIZE = 256  # the design grid of the scalable icon


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


def layout(text, width, height, margin):
    """The one drawing of the art: the font and the pen position (left end of the
    baseline) that centre text in width x height. Every image is drawn from it."""
    font = fitted_font(text, width - 2 * margin, height - 2 * margin)
    left, top, right, bottom = font.getbbox(text, anchor="ls")
    x = (width - (right - left)) // 2 - left
    y = (height - (bottom - top)) // 2 - top
    return font, x, y


def coverage(text, width, height, margin):
    """A greyscale mask of the drawing, quantised to 16 levels."""
    font, x, y = layout(text, width, height, margin)
    mask = Image.new("L", (width, height), 0)
    ImageDraw.Draw(mask).text((x, y), text, fill=255, font=font, anchor="ls")
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


def number(v):
    return f"{v:.2f}".rstrip("0").rstrip(".")


def svg_icon(size):
    """The drawing as glyph outlines: each character at the pen position that the
    raster images give it, scaled from font units to pixels."""
    font, x, y = layout(TEXT, size, size, 0)
    face = TTCollection(FONT)[FONT_INDEX]
    glyphs = face.getGlyphSet()
    cmap = face.getBestCmap()
    scale = font.size / face["head"].unitsPerEm
    paths = []
    for i, ch in enumerate(TEXT):
        pen = SVGPathPen(glyphs, ntos=number)
        origin = x + font.getlength(TEXT[:i])
        glyphs[cmap[ord(ch)]].draw(TransformPen(pen, (scale, 0, 0, -scale, origin, y)))
        paths.append(f'  <path d="{pen.getCommands()}"/>')
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
            f'viewBox="0 0 {size} {size}">\n'
            '  <title>Gridlark</title>\n'
            '  <g fill="#000000">\n' + "\n".join("  " + p for p in paths) + "\n  </g>\n</svg>\n")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    resources = sys.argv[1] if len(sys.argv) > 1 else here
    icons = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "..", "packaging", "icons", "hicolor")
    icon(32).save(os.path.join(resources, "icon128-32.png"), optimize=True)
    icon(16).save(os.path.join(resources, "icon128-16.png"), optimize=True)
    bitmap().save(os.path.join(resources, "bitmap129.png"), optimize=True)
    for size in ICON_SIZES:
        folder = os.path.join(icons, f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        icon(size).save(os.path.join(folder, APP_ID + ".png"), optimize=True)
    folder = os.path.join(icons, "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, APP_ID + ".svg"), "w", encoding="utf-8") as out:
        out.write(svg_icon(SVG_SIZE))


if __name__ == "__main__":
    main()
