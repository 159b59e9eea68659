"""Writes the generated images as PNG files with fixed encoder settings.

RGBA images go through Pillow, which writes no time stamps or text chunks unless
asked. Palette images are written here chunk by chunk, because Pillow pads an
8-bit palette to 256 entries (or drops to fewer bits per pixel); the intro's
palette images list exactly the entries they use, at 8 bits per pixel. zlib at
a fixed level gives the same bytes for the same pixels either way.
"""
import struct
import zlib

import numpy as np

COMPRESSION = 9


def save_rgba(image, path, icc_profile=None):
    assert image.mode == "RGBA"
    options = {"optimize": False, "compress_level": COMPRESSION}
    if icc_profile is not None:
        options["icc_profile"] = icc_profile
    image.save(path, "PNG", **options)


def _chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def save_palette(indices, colours, path, alphas=()):
    """Saves an 8-bit palette image.

    colours lists (r, g, b) for each palette entry in order; alphas gives the
    opacity of the first len(alphas) entries (the transparency chunk), every
    later entry being opaque.
    """
    indices = np.ascontiguousarray(indices, np.uint8)
    height, width = indices.shape
    if not 1 <= len(colours) <= 256 or int(indices.max()) >= len(colours):
        raise ValueError("palette image: indices and palette do not agree")
    # Filter type 0 on every row: palette data gains nothing from prediction.
    raw = b"".join(b"\0" + indices[y].tobytes() for y in range(height))
    parts = [b"\x89PNG\r\n\x1a\n",
             _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)),
             _chunk(b"PLTE", bytes(c for colour in colours for c in colour))]
    if alphas:
        parts.append(_chunk(b"tRNS", bytes(alphas)))
    parts.append(_chunk(b"IDAT", zlib.compress(raw, COMPRESSION)))
    parts.append(_chunk(b"IEND", b""))
    with open(path, "wb") as out:
        out.write(b"".join(parts))
