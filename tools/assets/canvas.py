"""A premultiplied RGBA working canvas for the logo pictures.

Layers are painted over each other as (coverage mask, colour field) pairs; the
canvas keeps colour premultiplied by alpha so that the final reduction to the
texture size filters colour and coverage together without dark fringes.
"""
import numpy as np
from PIL import Image

F1 = np.float32(1)


def linear_gradient(width, height, start, end, stops):
    """Colour field that runs through stops [(t, (r, g, b)), ...] from point start to end."""
    ys, xs = np.mgrid[0:height, 0:width].astype(np.float32)
    dx, dy = end[0] - start[0], end[1] - start[1]
    length2 = np.float32(dx * dx + dy * dy)
    t = ((xs - start[0]) * np.float32(dx) + (ys - start[1]) * np.float32(dy)) / length2
    t = np.clip(t, 0, 1)
    field = np.zeros((height, width, 3), np.float32)
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        inside = (t >= t0) & (t <= t1)
        k = (t - np.float32(t0)) / np.float32(max(t1 - t0, 1e-6))
        for ch in range(3):
            value = np.float32(c0[ch]) + (np.float32(c1[ch]) - np.float32(c0[ch])) * k
            field[..., ch] = np.where(inside, value, field[..., ch])
    return field


def flat(width, height, colour):
    field = np.empty((height, width, 3), np.float32)
    field[...] = np.asarray(colour, np.float32)
    return field


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.premul = np.zeros((height, width, 3), np.float32)
        self.alpha = np.zeros((height, width), np.float32)

    def paint(self, mask, colour, opacity=1.0):
        """Lays a colour (a field or one (r, g, b)) over the canvas through a mask."""
        if not isinstance(colour, np.ndarray):
            colour = flat(self.width, self.height, colour)
        m = mask * np.float32(opacity)
        keep = F1 - m
        self.premul = self.premul * keep[..., None] + colour * m[..., None]
        self.alpha = self.alpha * keep + m

    def to_rgba(self, size, background):
        """Reduces the canvas to size and returns straight-alpha RGBA bytes as an image.

        The reduction averages areas (a box filter): a ringing filter would leave
        alpha just below 255 inside solid shapes. Fully transparent pixels take
        the background colour, the colour of the
        picture's outer edge, so that linear filtering in the intro adds no fringe.
        """
        planes = [Image.fromarray(self.premul[..., ch], "F") for ch in range(3)]
        planes.append(Image.fromarray(self.alpha, "F"))
        small = [np.asarray(p.resize(size, Image.BOX), np.float32) for p in planes]
        alpha = np.clip(small[3], 0, 1)
        alpha_bytes = np.rint(alpha * 255).astype(np.uint8)
        out = np.zeros((size[1], size[0], 4), np.uint8)
        safe = np.maximum(alpha, np.float32(1e-6))
        for ch in range(3):
            straight = np.clip(small[ch] / safe, 0, 255)
            straight = np.where(alpha_bytes == 0, np.float32(background[ch]), straight)
            out[..., ch] = np.rint(straight).astype(np.uint8)
        out[..., 3] = alpha_bytes
        return Image.fromarray(out, "RGBA")
