"""icon_16.png and icon_32.png: the mark for the window, as 256-colour palette images.

Each size is drawn from the mark's geometry with its own proportions: at 16
pixels the gaps and the lift are widened so the lid still parts from the V.
"""
import numpy as np
from PIL import Image

import canvas
import mark
import masks
import palette

WORK = 8  # supersampling for the drawing; the icon is tiny


def draw(size):
    big = size * WORK
    gap, lift = (0.16, 0.24) if size <= 16 else (0.1, 0.18)
    radius = big * 0.5 / (1 + lift / 2) - WORK * (0.9 if size <= 16 else 1.4)
    cx = cy = big / 2
    lid, left, right = mark.faces(cx, cy, radius, gap_ratio=gap, lift_ratio=lift)
    hull = masks.polygons(big, big, [mark.hull(cx, cy, radius, lift_ratio=lift)], supersample=1)
    out = canvas.Canvas(big, big)
    out.paint(masks.grow(hull, WORK * (0.9 if size <= 16 else 1.4)), palette.INK)
    x0, y0, x1, y1 = mark.bounds(cx, cy, radius, lift_ratio=lift)
    mid = (y0 + y1) / 2
    out.paint(masks.polygons(big, big, [lid], 1), canvas.linear_gradient(big, big, (cx, y0), (cx, mid), palette.LID))
    out.paint(masks.polygons(big, big, [left], 1),
              canvas.linear_gradient(big, big, (x0, mid), (cx, y1), palette.LEFT_SIDE))
    out.paint(masks.polygons(big, big, [right], 1),
              canvas.linear_gradient(big, big, (x1, mid), (cx, y1), palette.RIGHT_SIDE))
    return out.to_rgba((size, size), palette.INK)


def to_palette(rgba):
    """Indices and RGBA palette entries (at most 256) for an RGBA image.

    Fully transparent pixels share entry 0; the rest are reduced with Pillow's
    octree quantiser, which keeps alpha as a fourth component.
    """
    quantised = rgba.quantize(colors=255, method=Image.Quantize.FASTOCTREE, dither=Image.Dither.NONE)
    entries = quantised.getpalette("RGBA")
    entries = [tuple(entries[i:i + 4]) for i in range(0, len(entries), 4)]
    indices = np.asarray(quantised, np.uint8).astype(np.int32) + 1
    alpha = np.asarray(rgba)[..., 3]
    indices[alpha == 0] = 0
    used = sorted(set(np.unique(indices).tolist()) - {0})
    remap = {old: new for new, old in enumerate(used, start=1)}
    out = np.zeros(indices.shape, np.uint8)
    for old, new in remap.items():
        out[indices == old] = new
    colours = [(0, 0, 0, 0)] + [entries[old - 1] for old in used]
    return out, colours


def build(out_dir):
    import png_files
    images = {}
    for size in (16, 32):
        rgba = draw(size)
        indices, colours = to_palette(rgba)
        png_files.save_palette_rgba(indices, colours, out_dir / f"icon_{size}.png")
        images[size] = rgba
    return images
