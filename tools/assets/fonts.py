"""The typefaces the asset generators draw with, all from Debian font packages.

Every face is under the SIL Open Font License 1.1, which allows the fonts to be
bundled and embedded; the generators only rasterise them into the images.
"""
import os
import sys

from PIL import ImageFont

_FACES = {
    # Wide geometric sans: the wordmark, the ground lettering, the big title.
    "sora-extrabold": ("fonts-sora", "/usr/share/fonts/opentype/sora/Sora-ExtraBold.otf"),
    "sora-light": ("fonts-sora", "/usr/share/fonts/opentype/sora/Sora-Light.otf"),
    # Tall condensed capitals: the credits pages.
    "bebas-regular": ("fonts-bebas-neue", "/usr/share/fonts/opentype/bebas-neue/BebasNeue-Regular.otf"),
    "bebas-light": ("fonts-bebas-neue", "/usr/share/fonts/opentype/bebas-neue/BebasNeue-Light.otf"),
    "bebas-bold": ("fonts-bebas-neue", "/usr/share/fonts/opentype/bebas-neue/BebasNeue-Bold.otf"),
    # Small tracked captions and folios.
    "manrope-semibold": ("fonts-manrope", "/usr/share/fonts/truetype/manrope/Manrope-SemiBold.ttf"),
    "manrope-bold": ("fonts-manrope", "/usr/share/fonts/truetype/manrope/Manrope-Bold.ttf"),
}

_cache = {}


def font(face, size):
    """The face at a pixel size; exits with a message naming the package when it is missing."""
    key = (face, int(size))
    if key not in _cache:
        package, path = _FACES[face]
        if not os.path.exists(path):
            sys.exit(f"font {path} is missing: install the Debian package {package} "
                     f"(scripts/setup tools)")
        _cache[key] = ImageFont.truetype(path, int(size))
    return _cache[key]


def packages():
    return sorted({package for package, _ in _FACES.values()})
