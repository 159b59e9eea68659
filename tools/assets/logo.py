"""logo.png: the stacked lockup, 1305 x 567, with an embedded sRGB profile.

The intro stretches this image over the centre half of a 16:9 screen before it
dissolves into particles, so it is drawn in a 16:9 space (1008 x 567) and then
widened to 1305 pixels: on screen the letters come out with their true shape.
"""
import fonts
import icc_srgb
import lockup
import masks
import palette
import png_files

SIZE = (1305, 567)
VIRTUAL_WIDTH = 1008  # 567 * 16 / 9
WORK = 3  # working resolution, in virtual pixels


def draw():
    w, h = VIRTUAL_WIDTH * WORK, SIZE[1] * WORK
    parts = lockup.Parts(w, h)
    s = WORK
    radius = 142 * s
    parts.add_mark(w / 2, 30 * s + radius * 1.08, radius)
    word_size = 128 * s
    face_width = masks.text_width(lockup.GROUP, fonts.font("sora-extrabold", word_size), 0.02 * word_size)
    word_base = 470 * s
    parts.add_word((w - face_width) / 2, word_base, word_size)
    tag_size = 19 * s
    tag_width = masks.text_width(lockup.TAGLINE, fonts.font("manrope-bold", tag_size), 0.42 * tag_size)
    x0, _, x1, _ = parts.word_box
    parts.add_tagline((w - tag_width) / 2, 528 * s, tag_size, 0.42, 16 * s, rule_to=x1, rule_from=x0)
    out = lockup.paint(parts, outline=12 * s, shadow_offset=(0, 6 * s), shadow_radius=5 * s)
    return out.to_rgba(SIZE, palette.INK)


def build(out_dir):
    image = draw()
    png_files.save_rgba(image, out_dir / "logo.png", icc_profile=icc_srgb.profile())
    return image
