"""A review sheet of all credits pages: nine across, numbered, white on dusk blue."""
from PIL import Image, ImageDraw

import fonts

COLUMNS = 9
THUMB = (335, 188)   # a fifth of a page
GAP = 14
LABEL = 26
BACKGROUND = (24, 28, 52)
PANEL = (40, 46, 80)


def build(pages, path):
    rows = (len(pages) + COLUMNS - 1) // COLUMNS
    width = COLUMNS * (THUMB[0] + GAP) + GAP
    height = rows * (THUMB[1] + LABEL + GAP) + GAP
    sheet = Image.new("RGB", (width, height), BACKGROUND)
    draw = ImageDraw.Draw(sheet)
    label_face = fonts.font("manrope-bold", 16)
    for number, page in enumerate(pages):
        col, row = number % COLUMNS, number // COLUMNS
        x = GAP + col * (THUMB[0] + GAP)
        y = GAP + row * (THUMB[1] + LABEL + GAP)
        thumb = Image.fromarray(page, "L").resize(THUMB, Image.LANCZOS)
        panel = Image.new("RGB", THUMB, PANEL)
        panel.paste((255, 255, 255), (0, 0), thumb)
        sheet.paste(panel, (x, y + LABEL))
        draw.text((x, y + LABEL - 6), f"page {number}  -  image {number // 3} {'RGB'[number % 3]}",
                  font=label_face, fill=(200, 205, 230), anchor="ls")
    sheet.save(path, "PNG", optimize=False, compress_level=9)
