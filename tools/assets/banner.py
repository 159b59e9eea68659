"""banner.png: the wide lockup, 1920 x 473, that hangs in the sky of the first scene.

The scene maps it onto a plane with square pixels, so it is drawn as it is seen.
"""
import fonts
import lockup
import masks
import palette
import png_files

SIZE = (1920, 473)
WORK = 3


def draw():
    s = WORK
    w, h = SIZE[0] * s, SIZE[1] * s
    parts = lockup.Parts(w, h)
    radius = 182 * s
    parts.add_mark(40 * s + radius * 0.866, h / 2, radius)
    word_x = 440 * s
    word_size = 204 * s
    word = fonts.font("sora-extrabold", word_size)
    word_width = masks.text_width(lockup.GROUP, word, 0.02 * word_size)
    parts.add_word(word_x, 300 * s, word_size)
    tag_size = 30 * s
    tag = fonts.font("manrope-bold", tag_size)
    tag_width = masks.text_width(lockup.TAGLINE, tag, 0.42 * tag_size)
    word_right = word_x + word_width
    parts.add_tagline(word_right - tag_width, 382 * s, tag_size, 0.42, 22 * s, rule_from=word_x)
    out = lockup.paint(parts, outline=14 * s, shadow_offset=(0, 6 * s), shadow_radius=5 * s)
    return out.to_rgba(SIZE, palette.INK)


def build(out_dir):
    image = draw()
    png_files.save_rgba(image, out_dir / "banner.png")
    return image
