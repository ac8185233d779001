"""Camera-sized test pictures for the saver's picture loading: JPEGs of
1024 x 768, 4000 x 3000, 6000 x 4000 and 12000 x 6000 pixels, and the
12000 x 6000 one as Pillow decodes it, averaged down to 2048 x 1024, as the
reference for its reduced copy; and a progressive 5000 x 3000 JPEG, which
our own decoder leaves to the platform's.
usage: make_large_pictures.py <output folder>"""
import pathlib
import sys

import numpy as np
from PIL import Image


def photo(width, height):
    """Red on the left half, blue on the right (as the other test pictures),
    with faint green waves and some grain: the grain makes the file as
    costly to decode as a camera's, the waves show a reduced copy that is
    shifted or stretched. The same picture at every size."""
    x = np.linspace(0.0, 1.0, width, dtype=np.float32)[None, :]
    y = np.linspace(0.0, 1.0, height, dtype=np.float32)[:, None]
    left = x < 0.5
    ramps = (
        np.where(left, 247.0, 8.0) + 0.0 * y,
        15.0 + 12.0 * np.sin(60.0 * x) * np.cos(40.0 * y),
        np.where(left, 8.0, 247.0) + 0.0 * y,
    )
    grain = np.random.default_rng(7)
    pixels = np.empty((height, width, 3), dtype=np.uint8)
    for channel, ramp in enumerate(ramps):
        noisy = ramp + grain.integers(-8, 9, size=(height, width), dtype=np.int16)
        pixels[..., channel] = np.clip(noisy, 0, 255)
    return Image.fromarray(pixels, "RGB")


def main():
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for width, height in ((1024, 768), (4000, 3000), (6000, 4000), (12000, 6000)):
        photo(width, height).save(out / f"large-{width}x{height}.jpg", quality=90)
    photo(5000, 3000).save(out / "large-5000x3000-progressive.jpg", quality=90, progressive=True)
    decoded = Image.open(out / "large-12000x6000.jpg")
    decoded.load()
    decoded.reduce(4).resize((2048, 1024), Image.Resampling.BOX).save(out / "large-12000x6000-reduced.bmp")


if __name__ == "__main__":
    main()
