"""blue_noise.png: four independent 64 x 64 blue-noise rank textures, one per channel.

Each channel is a void-and-cluster dither array: every pixel gets a rank 0..4095
from the order in which the algorithm fills the torus, always into the largest
void, so any threshold of it is an evenly spread point set. The rank divided by
16 is stored, so each channel holds every value 0..255 exactly 16 times.

The energy field is kept in integers (a Gaussian kernel scaled and rounded once
with Python's math.exp), so ties and choices come out the same on any machine.
"""
import math

import numpy as np
from PIL import Image

import png_files

SIZE = 64
SIGMA = 1.5
INITIAL_SHARE = 0.1
SEEDS = (0x7e1, 0x30a, 0x5d9, 0x14c)  # one generator seed per channel


def _kernel():
    """Gaussian energy of a point at (0, 0) on the torus, as integers."""
    d = [min(i, SIZE - i) for i in range(SIZE)]
    scale = 1 << 24
    rows = [[round(scale * math.exp(-(dy * dy + dx * dx) / (2 * SIGMA * SIGMA))) for dx in d] for dy in d]
    return np.array(rows, np.int64)


class _Field:
    """A binary pattern on the torus with the summed kernel energy of its points."""

    def __init__(self, kernel, pattern):
        self.kernel = kernel
        self.pattern = pattern.copy()
        self.energy = np.zeros(pattern.shape, np.int64)
        for y, x in zip(*np.nonzero(pattern)):
            self.energy += np.roll(kernel, (y, x), axis=(0, 1))

    def toggle(self, index):
        y, x = divmod(int(index), SIZE)
        sign = -1 if self.pattern[y, x] else 1
        self.pattern[y, x] = not self.pattern[y, x]
        self.energy += sign * np.roll(self.kernel, (y, x), axis=(0, 1))

    def tightest_cluster(self):
        return int(np.argmax(np.where(self.pattern, self.energy, np.iinfo(np.int64).min)))

    def largest_void(self):
        return int(np.argmin(np.where(self.pattern, np.iinfo(np.int64).max, self.energy)))


def _initial_pattern(kernel, rng):
    """A random point set relaxed until moving the tightest point fills no larger void."""
    count = int(SIZE * SIZE * INITIAL_SHARE)
    pattern = np.zeros((SIZE, SIZE), bool)
    pattern.flat[rng.choice(SIZE * SIZE, count, replace=False)] = True
    field = _Field(kernel, pattern)
    while True:
        cluster = field.tightest_cluster()
        field.toggle(cluster)
        void = field.largest_void()
        if void == cluster:
            field.toggle(cluster)
            return field.pattern
        field.toggle(void)


def ranks(seed):
    """Void-and-cluster ranks 0..SIZE*SIZE-1 for one channel."""
    kernel = _kernel()
    rng = np.random.RandomState(seed)
    start = _initial_pattern(kernel, rng)
    count = int(start.sum())
    rank = np.zeros(SIZE * SIZE, np.int64)
    # Remove the initial points tightest first: they get the ranks below count.
    field = _Field(kernel, start)
    for r in range(count - 1, -1, -1):
        index = field.tightest_cluster()
        field.toggle(index)
        rank[index] = r
    # Then fill the largest voids until the torus is full.
    field = _Field(kernel, start)
    for r in range(count, SIZE * SIZE):
        index = field.largest_void()
        field.toggle(index)
        rank[index] = r
    return rank.reshape(SIZE, SIZE)


def draw():
    per_value = SIZE * SIZE // 256
    channels = [(ranks(seed) // per_value).astype(np.uint8) for seed in SEEDS]
    return Image.fromarray(np.stack(channels, axis=-1), "RGBA")


def build(out_dir):
    image = draw()
    png_files.save_rgba(image, out_dir / "blue_noise.png")
    return image
