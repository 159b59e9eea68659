"""credits_00.png ... credits_26.png: 81 credits pages, three to an image.

Page p lies in image p // 3, in the red, green or blue channel for p % 3; alpha
is opaque everywhere. Also writes a contact sheet of all pages for review.
"""
import numpy as np
from PIL import Image

import contact_sheet
import credits_layout
import png_files

IMAGES = 27


def draw_pages():
    return [credits_layout.to_bytes(credits_layout.draw(p)) for p in range(IMAGES * 3)]


def pack(pages, index):
    """The RGBA image that carries pages 3*index .. 3*index+2."""
    alpha = np.full(pages[0].shape, 255, np.uint8)
    rgba = np.stack(pages[3 * index:3 * index + 3] + [alpha], axis=-1)
    return Image.fromarray(rgba, "RGBA")


def build(out_dir, sheet_path):
    pages = draw_pages()
    for index in range(IMAGES):
        png_files.save_rgba(pack(pages, index), out_dir / f"credits_{index:02d}.png")
    contact_sheet.build(pages, sheet_path)
    return pages
