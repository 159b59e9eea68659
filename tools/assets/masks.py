"""Coverage masks (float32 arrays in 0..1) drawn with Pillow.

Shapes are drawn into 8-bit 'L' images and handed on as numpy arrays, so every
generator composes with plain arithmetic. Nothing here uses a transcendental
numpy function: those may round differently on other CPUs, and the images must
come out byte for byte the same wherever they are regenerated.
"""
import numpy as np
from PIL import Image, ImageDraw, ImageFilter


def to_array(image):
    return np.asarray(image, dtype=np.float32) / np.float32(255)


def to_image(mask):
    return Image.fromarray(np.rint(np.clip(mask, 0, 1) * 255).astype(np.uint8), "L")


def blank(width, height):
    return Image.new("L", (width, height), 0)


def polygons(width, height, polys, supersample=4):
    """Anti-aliased coverage of filled polygons, drawn large and reduced."""
    big = Image.new("L", (width * supersample, height * supersample), 0)
    draw = ImageDraw.Draw(big)
    for poly in polys:
        draw.polygon([(x * supersample, y * supersample) for x, y in poly], fill=255)
    return to_array(big.reduce(supersample))


def rectangles(width, height, rects, supersample=4):
    polys = [[(x0, y0), (x1, y0), (x1, y1), (x0, y1)] for x0, y0, x1, y1 in rects]
    return polygons(width, height, polys, supersample)


def tracked_width(text, font, tracking):
    """Advance width of a line drawn glyph by glyph with extra space after each glyph."""
    if not text:
        return 0.0
    return sum(font.getlength(ch) for ch in text) + tracking * (len(text) - 1)


def draw_text(image, x, baseline, text, font, tracking=0.0, fill=255):
    """Draws a line of text with its left end at x on the given baseline.

    Without tracking the line goes to FreeType whole, so the face's kerning applies;
    with tracking each glyph is placed on its own.
    """
    draw = ImageDraw.Draw(image)
    if tracking == 0:
        draw.text((x, baseline), text, font=font, fill=fill, anchor="ls")
        return
    for ch in text:
        draw.text((x, baseline), ch, font=font, fill=fill, anchor="ls")
        x += font.getlength(ch) + tracking


def text_width(text, font, tracking=0.0):
    if tracking == 0:
        return font.getlength(text)
    return tracked_width(text, font, tracking)


def ink_box(text, font):
    """(left, top, right, bottom) of the inked glyphs relative to the pen on the baseline."""
    return font.getbbox(text, anchor="ls")


def soften(mask, radius):
    """Gaussian-blurred copy of a mask (Pillow's blur is integer arithmetic, so stable)."""
    return to_array(to_image(mask).filter(ImageFilter.GaussianBlur(radius)))


def grow(mask, radius):
    """Mask widened by about radius pixels with rounded outer corners.

    Blurs the shape and keeps everything the blur reached with some weight; the
    ramp gives the new edge its anti-aliasing.
    """
    sigma = radius / 2.0
    blurred = soften(mask, sigma)
    # The blur falls off by about 0.054/sigma per pixel at the threshold, so this
    # slope keeps the new edge about a pixel and a half wide at any radius.
    slope = np.float32(max(12.0 * sigma, 4.0))
    return np.clip((blurred - np.float32(0.02)) * slope, 0, 1)


def union(*masks):
    out = masks[0]
    for mask in masks[1:]:
        out = np.maximum(out, mask)
    return out


def cut(mask, hole):
    return mask * (np.float32(1) - hole)
