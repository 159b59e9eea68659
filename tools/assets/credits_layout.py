"""Draws one credits page as a coverage mask of 1675 x 941.

Every page shares a frame: corner ticks, the section name and the group's name
along the top, a progress rule and the folio along the bottom. Inside it, the
page's kind decides the layout (see credits_pages for the kinds).
"""
import numpy as np
from PIL import Image, ImageDraw

import credits_pages
import fonts
import mark
import masks

W, H = 1675, 941
PAGE_COUNT = 81
EDGE_X, EDGE_Y = 108, 92          # furniture text
CONTENT_LEFT, CONTENT_RIGHT = 150, W - 150
CONTENT_WIDTH = CONTENT_RIGHT - CONTENT_LEFT
ROWS = {"upper": 0.41, "middle": 0.5, "lower": 0.6}
BIG_CAP = 300
FACES = {"condensed": "bebas-regular", "display": "sora-extrabold", "title": "sora-light"}
SMALL = ("manrope-bold", 17, 5.0)
CAPTION = ("manrope-semibold", 22, 6.5)


def _cap_ratio(face_name):
    return -masks.ink_box("H", fonts.font(face_name, 1000))[1] / 1000


def _big_face(text, cap, max_width, style="condensed"):
    """The style's face at the largest size up to cap height that fits max_width."""
    face_name = FACES[style]
    size = cap / _cap_ratio(face_name)
    width = fonts.font(face_name, size).getlength(text)
    if width > max_width:
        size *= max_width / width
    return fonts.font(face_name, size)


def _cap_top(face):
    return masks.ink_box("H", face)[1]


def _small_text(image, x, baseline, text, style, align="left"):
    face_name, size, tracking = style
    face = fonts.font(face_name, size)
    width = masks.text_width(text, face, tracking)
    if align == "right":
        x -= width
    elif align == "center":
        x -= width / 2
    masks.draw_text(image, x, baseline, text, face, tracking)


def _frame(image, rects, number, section):
    tick, arm = 3, 30
    for cx, cy, sx, sy in [(64, 56, 1, 1), (W - 64, 56, -1, 1), (64, H - 56, 1, -1), (W - 64, H - 56, -1, -1)]:
        rects.append((min(cx, cx + sx * arm), min(cy, cy + sy * tick), max(cx, cx + sx * arm), max(cy, cy + sy * tick)))
        rects.append((min(cx, cx + sx * tick), min(cy, cy + sy * arm), max(cx, cx + sx * tick), max(cy, cy + sy * arm)))
    _small_text(image, EDGE_X, EDGE_Y, section, SMALL)
    _small_text(image, W - EDGE_X, EDGE_Y, f"{credits_pages.GROUP}  /  {credits_pages.TITLE}", SMALL, "right")
    _small_text(image, W - EDGE_X, H - EDGE_Y + 12, f"{number:02d} / {PAGE_COUNT - 1:02d}", SMALL, "right")
    # Progress rule: a hairline with the share of pages so far drawn thick.
    y = H - EDGE_Y + 6
    length = 360
    rects.append((EDGE_X, y - 1, EDGE_X + length, y))
    rects.append((EDGE_X, y - 4, EDGE_X + length * number / (PAGE_COUNT - 1), y + 3))


def _word(image, rects, page):
    face = _big_face(page["text"], BIG_CAP * page["scale"], CONTENT_WIDTH, page["face"])
    width = face.getlength(page["text"])
    left, _, right, _ = masks.ink_box(page["text"], face)
    if page["align"] == "left":
        x = CONTENT_LEFT - left
    elif page["align"] == "right":
        x = CONTENT_RIGHT - right
    else:
        x = (W - width) / 2
    top = _cap_top(face)
    baseline = H * ROWS[page["row"]] - top / 2
    masks.draw_text(image, x, baseline, page["text"], face)
    if page["caption"]:
        align = page["align"]
        anchor = {"left": x + left, "right": x + right, "center": W / 2}[align]
        _small_text(image, anchor, baseline + top - 34, page["caption"], CAPTION, align)


def _split(image, rects, page):
    text = "".join(page["parts"])
    face = _big_face(text, BIG_CAP * page["scale"], CONTENT_WIDTH, page["face"])
    x0 = (W - face.getlength(text)) / 2
    baseline = H / 2 - _cap_top(face) / 2
    for index, part in enumerate(page["parts"]):
        if index in page["show"]:
            prefix = "".join(page["parts"][:index])
            masks.draw_text(image, x0 + face.getlength(prefix), baseline, part, face)
    if page["caption"]:
        _small_text(image, W / 2, baseline + 70, page["caption"], CAPTION, "center")


def _stack(image, rects, page):
    lines = page["lines"]
    face = min((_big_face(line, 190, CONTENT_WIDTH) for line in lines), key=lambda f: f.size)
    cap = -_cap_top(face)
    gap = 0.3 * cap
    first_baseline = H / 2 - (len(lines) * cap + (len(lines) - 1) * gap) / 2 + cap
    for index, line in enumerate(lines):
        if index in page["show"]:
            x = (W - face.getlength(line)) / 2
            masks.draw_text(image, x, first_baseline + index * (cap + gap), line, face)


def _roster(image, rects, page):
    face = _big_face("", 78, CONTENT_WIDTH)
    number_face = ("manrope-bold", 20, 2.0)
    pitch = 112
    names = page["names"]
    widest = max(face.getlength(name) for name in names)
    indent = 64
    block_width = indent + widest
    if page["column"] is None:
        left = (W - block_width) / 2
    else:
        left = [W / 2 - 80 - block_width, W / 2 + 80][page["column"]]
    title_baseline = H / 2 - (len(names) * pitch) / 2 - 10
    _small_text(image, left, title_baseline, page["title"], CAPTION)
    rects.append((left, title_baseline + 18, left + block_width, title_baseline + 20))
    cap = -_cap_top(face)
    for index, name in enumerate(names):
        baseline = title_baseline + 46 + cap + index * pitch
        _small_text(image, left, baseline - cap + 20, f"{page['first'] + index:02d}", number_face)
        masks.draw_text(image, left + indent, baseline, name, face)


def _emblem(image, rects, page):
    lid, left, right = mark.faces(W / 2, H / 2, 250)
    scale = 4
    big = Image.new("L", (W * scale, H * scale), 0)
    draw = ImageDraw.Draw(big)
    draw.polygon([(x * scale, y * scale) for x, y in lid], fill=255)
    for face in (left, right):
        draw.polygon([(x * scale, y * scale) for x, y in face], outline=255, width=14 * scale)
    image.paste(255, (0, 0), big.reduce(scale))


def _spark(image, rects, page):
    """A four-pointed star: a flash of light between two names."""
    cx, cy, r, waist = W / 2, H / 2, 330, 34
    points = []
    for i in range(4):
        dx, dy = [(0, -1), (1, 0), (0, 1), (-1, 0)][i]
        ex, ey = [(1, -1), (1, 1), (-1, 1), (-1, -1)][i]
        points += [(cx + dx * r, cy + dy * r), (cx + ex * waist, cy + ey * waist)]
    image.paste(255, (0, 0), masks.to_image(masks.polygons(W, H, [points])))


def _verse(image, rects, page):
    face = _big_face(page["line"], 170, CONTENT_WIDTH)
    x = (W - face.getlength(page["line"])) / 2
    top = _cap_top(face)
    baseline = H / 2 - top / 2
    masks.draw_text(image, x, baseline, page["line"], face)
    caption_baseline = baseline + top - 44
    _small_text(image, W / 2, caption_baseline, page["caption"], CAPTION, "center")
    rects.append((W / 2 - 30, baseline + 64, W / 2 + 30, baseline + 67))


_KINDS = {"word": _word, "split": _split, "stack": _stack, "roster": _roster,
          "emblem": _emblem, "spark": _spark, "verse": _verse}


def draw(number):
    """Coverage (float32, 0..1) of page number 0..80."""
    page = credits_pages.PAGES[number]
    image = masks.blank(W, H)
    rects = []
    _frame(image, rects, number, page["section"])
    _KINDS[page["kind"]](image, rects, page)
    coverage = masks.to_array(image)
    if rects:
        coverage = masks.union(coverage, masks.rectangles(W, H, rects))
    return coverage


def to_bytes(coverage):
    return np.rint(np.clip(coverage, 0, 1) * 255).astype(np.uint8)
