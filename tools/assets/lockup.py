"""The group's logo, drawn as a lockup of the mark, the wordmark and a tagline.

Two arrangements share the same parts: stacked (mark above the word, for the
16:9 logo that dissolves into particles) and wide (mark beside the word, for the
banner in the sky). Both sit inside a dark die-cut outline with a soft shadow,
so they read against any sky and cast clean shapes into the sun shafts.
"""
import numpy as np

import canvas
import fonts
import mark
import masks
import palette

GROUP = "VELMORAND"
TAGLINE = "REAL-TIME ARTS COLLECTIVE"


class Parts:
    """Coverage masks of the pieces of one lockup, at the working resolution."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.lid = self.left = self.right = self.hull = None
        self.word = self.word_stripes = self.tag = self.rules = None
        self.word_box = self.tag_box = self.mark_box = None

    def add_mark(self, cx, cy, radius):
        lid, left, right = mark.faces(cx, cy, radius)
        w, h = self.width, self.height
        self.lid = masks.polygons(w, h, [lid])
        self.left = masks.polygons(w, h, [left])
        self.right = masks.polygons(w, h, [right])
        self.hull = masks.polygons(w, h, [mark.hull(cx, cy, radius)])
        self.mark_box = mark.bounds(cx, cy, radius)

    def add_word(self, x, baseline, size, tracking_em=0.02):
        face = fonts.font("sora-extrabold", size)
        image = masks.blank(self.width, self.height)
        masks.draw_text(image, x, baseline, GROUP, face, tracking_em * size)
        self.word = masks.to_array(image)
        left, top, right, _ = masks.ink_box(GROUP, face)
        width = masks.text_width(GROUP, face, tracking_em * size)
        self.word_box = (x + left, baseline + top, x + width, baseline)
        self.word_stripes = self._horizon_stripes(self.word_box)

    def _horizon_stripes(self, box):
        """Two thin horizontal cuts low in the letters, like a sun sinking into bands."""
        x0, top, x1, base = box
        cap = base - top
        cuts = [(0.66, 0.045), (0.80, 0.07)]
        rects = [(x0 - 4, top + cap * at, x1 + 4, top + cap * (at + thick)) for at, thick in cuts]
        return masks.rectangles(self.width, self.height, rects, supersample=2)

    def add_tagline(self, x, baseline, size, tracking_em, rule_gap, rule_to=None, rule_from=None):
        """Tagline in tracked capitals with hairline rules running out from either side."""
        face = fonts.font("manrope-bold", size)
        tracking = tracking_em * size
        image = masks.blank(self.width, self.height)
        masks.draw_text(image, x, baseline, TAGLINE, face, tracking)
        self.tag = masks.to_array(image)
        width = masks.text_width(TAGLINE, face, tracking)
        _, top, _, _ = masks.ink_box(TAGLINE, face)
        mid = baseline + top / 2
        thick = max(size * 0.09, 2)
        rects = []
        if rule_from is not None:
            rects.append((rule_from, mid - thick / 2, x - rule_gap, mid + thick / 2))
        if rule_to is not None:
            rects.append((x + width + rule_gap, mid - thick / 2, rule_to, mid + thick / 2))
        self.rules = masks.rectangles(self.width, self.height, rects, supersample=2)
        self.tag_box = (x, baseline + top, x + width, baseline)

    def silhouette(self):
        return masks.union(self.hull, self.word, self.tag, self.rules)


def paint(parts, outline, shadow_offset, shadow_radius):
    """Lays shadow, outline and the coloured parts onto a fresh canvas."""
    w, h = parts.width, parts.height
    outer = masks.grow(parts.silhouette(), outline)
    out = canvas.Canvas(w, h)
    dx, dy = shadow_offset
    shadow = np.roll(masks.soften(outer, shadow_radius), (dy, dx), axis=(0, 1))
    out.paint(shadow, palette.INK, opacity=0.55)
    out.paint(outer, palette.INK)
    _paint_mark(out, parts)
    x0, top, x1, base = parts.word_box
    word_fill = canvas.linear_gradient(w, h, (0, top), (0, base), palette.WORDMARK)
    out.paint(masks.cut(parts.word, parts.word_stripes), word_fill)
    x0, top, x1, base = parts.tag_box
    tag_fill = canvas.linear_gradient(w, h, (x0, 0), (x1, 0), palette.TAGLINE)
    out.paint(masks.union(parts.tag, parts.rules), tag_fill)
    return out


def _paint_mark(out, parts):
    w, h = parts.width, parts.height
    x0, y0, x1, y1 = parts.mark_box
    cx, mid = (x0 + x1) / 2, (y0 + y1) / 2
    out.paint(parts.lid, canvas.linear_gradient(w, h, (cx, y0), (cx, mid), palette.LID))
    out.paint(parts.left, canvas.linear_gradient(w, h, (x0, mid - (y1 - y0) * 0.1), (cx, y1), palette.LEFT_SIDE))
    out.paint(parts.right, canvas.linear_gradient(w, h, (x1, mid - (y1 - y0) * 0.1), (cx, y1), palette.RIGHT_SIDE))

