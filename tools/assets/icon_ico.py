"""icon.ico: the window icon for the Windows build, made from icon_16.png and icon_32.png.

Classic 256-colour entries (a BMP without its file header: height doubled for
the AND mask, a full 256-entry palette, rows bottom-up), which every Windows
version draws. There is no alpha channel: a pixel under half opacity is left
to the AND mask and drawn as palette entry 0, black, so it shows the desktop
through it; the rest keeps its colour.
"""
import struct

import numpy as np
from PIL import Image

SIZES = (16, 32)
PALETTE_ENTRIES = 256
OPAQUE_FROM = 128


def _padded(row_bytes):
    return (row_bytes + 3) // 4 * 4


def _opaque_palette(colours):
    """Up to 255 (r, g, b) entries and each colour's entry, 1-based (0 is the transparent black)."""
    unique, which = np.unique(colours, axis=0, return_inverse=True)
    if len(unique) <= PALETTE_ENTRIES - 1:
        return unique, which.reshape(-1) + 1
    strip = Image.fromarray(colours.astype(np.uint8)[None, :, :], "RGB")
    reduced = strip.quantize(colors=PALETTE_ENTRIES - 1, method=Image.Quantize.MEDIANCUT,
                             dither=Image.Dither.NONE)
    entries = np.asarray(reduced.getpalette()[:3 * (PALETTE_ENTRIES - 1)]).reshape(-1, 3)
    return entries, np.asarray(reduced, np.int64)[0] + 1


def entry(rgba):
    """The icon image of one size: header, palette, pixels, AND mask."""
    pixels = np.asarray(rgba.convert("RGBA"), np.int64)
    height, width = pixels.shape[:2]
    flat = pixels.reshape(-1, 4)
    opaque = flat[:, 3] >= OPAQUE_FROM
    indices = np.zeros(len(flat), np.uint8)
    entries, which = _opaque_palette(flat[opaque, :3])
    indices[opaque] = which
    indices = indices.reshape(height, width)

    palette = np.zeros((PALETTE_ENTRIES, 4), np.uint8)  # blue, green, red, reserved
    palette[1:1 + len(entries), :3] = np.asarray(entries)[:, ::-1]
    xor_rows = np.zeros((height, _padded(width)), np.uint8)
    xor_rows[:, :width] = indices
    bits = np.packbits(~opaque.reshape(height, width), axis=1)
    and_rows = np.zeros((height, _padded(bits.shape[1])), np.uint8)
    and_rows[:, :bits.shape[1]] = bits
    image = xor_rows[::-1].tobytes() + and_rows[::-1].tobytes()
    info = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 8, 0, len(image), 0, 0, 0, 0)
    return info + palette.tobytes() + image


def ico(images):
    """The file: directory, one 16-byte record per image, then the images."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    records, bodies = b"", b""
    for rgba in images:
        body = entry(rgba)
        width, height = rgba.size
        # 0 colours means 256 or more; 0 as a side means 256 pixels.
        records += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 8, len(body), offset)
        bodies += body
        offset += len(body)
    return directory + records + bodies


def build(assets_dir):
    images = [Image.open(assets_dir / f"icon_{size}.png") for size in SIZES]
    (assets_dir / "icon.ico").write_bytes(ico(images))
