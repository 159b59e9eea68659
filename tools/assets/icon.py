"""icon_16.png and icon_32.png: the mark for the window, as 256-colour palette images;
icon_48.png to icon_256.png: the same mark for desktop menus, in full RGBA.

Each size is drawn from the mark's geometry with its own proportions: at 16
pixels the gaps and the lift are widened so the lid still parts from the V.
"""
import numpy as np
from PIL import Image

import canvas
import mark
import masks
import palette
import png_files

WORK = 8  # supersampling for the drawing; the icon is tiny
# The larger sizes a desktop's icon theme asks for; 16 and 32 are the window's.
MENU_SIZES = (48, 64, 128, 256)


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


ALPHA_STEP = 16  # partly transparent pixels are kept at this many alpha levels


def to_palette(rgba):
    """Indices and palette entries (at most 256) for an RGBA image.

    Entry 0 is fully transparent. Partly transparent pixels, the anti-aliased
    rim, are grouped by alpha level, each group with its mean colour. Opaque
    pixels are reduced with Pillow's median cut in the entries that remain, so
    the inside of the icon stays exactly opaque.
    """
    pixels = np.asarray(rgba).reshape(-1, 4).astype(np.int64)
    alpha = pixels[:, 3]
    indices = np.zeros(len(pixels), np.uint8)
    colours = [(0, 0, 0, 0)]
    rim = (alpha > 0) & (alpha < 255)
    levels = np.clip((alpha + ALPHA_STEP // 2) // ALPHA_STEP * ALPHA_STEP, ALPHA_STEP, 255 - ALPHA_STEP // 2)
    for level in sorted(set(levels[rim].tolist())):
        group = rim & (levels == level)
        mean = (pixels[group, :3].sum(axis=0) + group.sum() // 2) // group.sum()
        indices[group] = len(colours)
        colours.append((*(int(v) for v in mean), int(level)))
    solid = alpha == 255
    strip = Image.fromarray(pixels[solid, :3].astype(np.uint8)[None, :, :], "RGB")
    reduced = strip.quantize(colors=256 - len(colours), method=Image.Quantize.MEDIANCUT,
                             dither=Image.Dither.NONE)
    entries = reduced.getpalette()
    used = np.asarray(reduced, np.int64)[0]
    first = len(colours)
    for entry in range(int(used.max()) + 1):
        colours.append((*entries[3 * entry:3 * entry + 3], 255))
    indices[solid] = used + first
    return indices.reshape(rgba.size[1], rgba.size[0]), colours


def build(out_dir):
    images = {}
    for size in (16, 32):
        rgba = draw(size)
        indices, colours = to_palette(rgba)
        alphas = [a for _, _, _, a in colours]
        while alphas and alphas[-1] == 255:  # opaque entries need no transparency entry
            alphas.pop()
        png_files.save_palette(indices, [c[:3] for c in colours], out_dir / f"icon_{size}.png", alphas)
        images[size] = rgba
    return images


def build_menu_sizes(out_dir):
    for size in MENU_SIZES:
        png_files.save_rgba(draw(size), out_dir / f"icon_{size}.png")
