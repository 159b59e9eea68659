"""Figures about the generated images, printed after each run for the record."""
import numpy as np
from PIL import Image


def _alpha(path):
    return np.asarray(Image.open(path).convert("RGBA"))[..., 3]


def shares(alpha):
    """(fully transparent, partly transparent) shares of an alpha plane, in percent."""
    total = alpha.size
    return (100.0 * np.count_nonzero(alpha == 0) / total,
            100.0 * np.count_nonzero((alpha > 0) & (alpha < 255)) / total)


def report(assets):
    lines = []
    for name in ("logo.png", "banner.png", "lettering.png"):
        clear, partial = shares(_alpha(assets / name))
        lines.append(f"{name}: {clear:.1f} % fully transparent, {partial:.1f} % partly")
    first = np.asarray(Image.open(assets / "credits_00.png").convert("RGBA"))
    set_share = [100.0 * np.count_nonzero(first[..., c] >= 128) / first[..., c].size for c in range(3)]
    lines.append("credits_00.png: %.1f %% / %.1f %% / %.1f %% of the pixels set in red / green / blue"
                 % tuple(set_share))
    return "\n".join(lines)
