"""Writes the generated images as PNG files with fixed encoder settings.

Pillow writes no time stamps or text chunks unless asked, and zlib at a fixed
level gives the same bytes for the same pixels, which is what makes the images
reproducible.
"""
from PIL import Image

COMPRESSION = 9


def save_rgba(image, path, icc_profile=None):
    assert image.mode == "RGBA"
    options = {"optimize": False, "compress_level": COMPRESSION}
    if icc_profile is not None:
        options["icc_profile"] = icc_profile
    image.save(path, "PNG", **options)


def save_palette(indices, colours, path, transparent_index=None):
    """Saves an 8-bit palette image; colours lists (r, g, b) per used entry.

    With transparent_index 0 the transparency chunk holds a single entry, so only
    entry 0 is transparent and every later entry stays opaque.
    """
    image = Image.fromarray(indices, "P")
    flat_palette = [c for colour in colours for c in colour]
    image.putpalette(flat_palette, rawmode="RGB")
    options = {"optimize": False, "compress_level": COMPRESSION, "bits": 8}
    if transparent_index is not None:
        options["transparency"] = transparent_index
    image.save(path, "PNG", **options)


def save_palette_rgba(indices, colours_rgba, path):
    """Saves an 8-bit palette image whose entries carry their own alpha (a full tRNS chunk)."""
    image = Image.fromarray(indices, "P")
    image.putpalette([c for colour in colours_rgba for c in colour[:3]], rawmode="RGB")
    alphas = bytes(colour[3] for colour in colours_rgba)
    image.save(path, "PNG", optimize=False, compress_level=COMPRESSION, bits=8, transparency=alphas)
