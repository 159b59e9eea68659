"""lettering.png: the line of lettering that lies on the ground between the cube rows.

8192 x 701, two palette entries: 0 transparent black, 1 opaque light grey. The
scene reads only its alpha, wraps it along the strip and sees rows 112 to 631
(the ground between x = -1 and x = 1), so the letters and the two rails stay in
that band. The rails run the full width and the words leave room at both ends,
so the wrap point is seamless.
"""
import numpy as np

import fonts
import masks
import png_files

SIZE = (8192, 701)
GREY = (239, 239, 239)
# Each phrase with its face: the group's name in the wordmark's face, the
# motto in tall condensed capitals.
PHRASES = [("VELMORAND", "sora-extrabold", 0.74), ("THE DUSK ARMY ROLLS ON", "bebas-bold", 0.70)]
CAP_HEIGHT = 340
CENTRE_ROW = 372       # the middle of the visible band
RAIL_ROWS = [(122, 154), (590, 622)]
DIAMOND_RADIUS = 60


def _diamond(cx, cy, r):
    return [(cx, cy - r), (cx + r, cy), (cx, cy + r), (cx - r, cy)]


def _faces():
    return [fonts.font(face, CAP_HEIGHT / cap_ratio) for _, face, cap_ratio in PHRASES]


def _layout(faces):
    """x positions of each phrase and separator, spread evenly along the strip.

    The strip reads: diamond, phrase, diamond, phrase, ... and wraps back to the
    first diamond, so each gap is the same on every side of every diamond.
    """
    widths = [face.getlength(text) for (text, _, _), face in zip(PHRASES, faces)]
    items = len(PHRASES) * 2  # one diamond before each phrase
    gap = (SIZE[0] - sum(widths) - len(PHRASES) * 2 * DIAMOND_RADIUS) / items
    if gap < DIAMOND_RADIUS:
        raise SystemExit("lettering: the phrases are too long for the strip")
    x = gap / 2
    placed = []
    for width in widths:
        placed.append(x + DIAMOND_RADIUS)
        x += 2 * DIAMOND_RADIUS + gap
        placed.append(x)
        x += width + gap
    return placed


def draw():
    faces = _faces()
    image = masks.blank(*SIZE)
    positions = _layout(faces)
    diamonds = []
    for (text, _, _), face, diamond_x, text_x in zip(PHRASES, faces, positions[0::2], positions[1::2]):
        diamonds.append(_diamond(diamond_x, CENTRE_ROW, DIAMOND_RADIUS))
        _, top, _, _ = masks.ink_box("E", face)
        masks.draw_text(image, text_x, CENTRE_ROW - top / 2, text, face)
    coverage = masks.to_array(image)
    coverage = masks.union(coverage, masks.polygons(*SIZE, diamonds, supersample=2))
    rails = [(0, r0, SIZE[0], r1) for r0, r1 in RAIL_ROWS]
    coverage = masks.union(coverage, masks.rectangles(*SIZE, rails, supersample=1))
    # The mask has hard edges by design: a pixel is either lettering or ground.
    return (coverage >= np.float32(0.5)).astype(np.uint8)


def build(out_dir):
    indices = draw()
    png_files.save_palette(indices, [(0, 0, 0), GREY], out_dir / "lettering.png", alphas=[0])
    return indices
