"""Test pictures for photos shown upright and for PNG.

- upright-<o>-<w>x<h>.jpg: JPEGs stored at w x h and tagged with EXIF
  orientation o (3, 6, 8), which a viewer shows with red in the top-left
  quadrant, green top right, blue bottom left and yellow bottom right.
- upright-6-halves-1200x800.jpg: stored landscape, tagged 6, shown as a
  portrait picture red on its left half and blue on its right.
- large-6000x4000-orientation6.jpg: the camera-sized photo of
  make_large_pictures.py stored the same, tagged 6.
- png-*.png: PNGs of an RGBA picture with a transparent and a
  half-transparent area, as 8-bit RGBA, 16-bit RGBA, a 4-bit palette with
  transparent entries, and Adam7-interlaced RGB; each with
  png-*-on-black.bmp, Pillow's decode composited on black.
- png-10000x5000.png: the quadrant picture, RGB.
usage: make_upright_pictures.py <output folder>"""
import pathlib
import struct
import sys
import zlib

import numpy as np
from PIL import Image, ImageOps

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import make_large_pictures  # noqa: E402

# As a viewer shows them: top left, top right, bottom left, bottom right.
QUADRANTS = ((230, 30, 30), (30, 200, 30), (30, 30, 230), (230, 220, 30))

# What a viewer does to the stored pixels (Pillow's transpose), and the
# opposite, which makes the stored pixels from the upright picture.
UNDO = {3: Image.Transpose.ROTATE_180, 6: Image.Transpose.ROTATE_90, 8: Image.Transpose.ROTATE_270}


def quadrants(width, height):
    pixels = np.empty((height, width, 3), dtype=np.uint8)
    top, left = height // 2, width // 2
    pixels[:top, :left] = QUADRANTS[0]
    pixels[:top, left:] = QUADRANTS[1]
    pixels[top:, :left] = QUADRANTS[2]
    pixels[top:, left:] = QUADRANTS[3]
    return pixels


def halves(width, height):
    pixels = np.empty((height, width, 3), dtype=np.uint8)
    pixels[:, : width // 2] = (255, 0, 0)
    pixels[:, width // 2 :] = (0, 0, 255)
    return pixels


def save_tagged(upright, orientation, path, **options):
    """Stores an upright picture so that a viewer turning it as
    `orientation` says shows it upright again."""
    stored = upright.transpose(UNDO[orientation])
    exif = Image.Exif()
    exif[0x0112] = orientation
    stored.save(path, exif=exif.tobytes(), **options)
    check = ImageOps.exif_transpose(Image.open(path))
    assert check.size == upright.size, (path, check.size)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write_png(path, samples, colour_type, bit_depth, palette=None, transparency=None, interlaced=False):
    """A PNG of `samples` (height x width x channels, or height x width of
    palette indices), every row unfiltered: Pillow writes neither 16-bit
    colour nor interlaced PNGs."""
    height, width = samples.shape[:2]
    passes = [(0, 0, 1, 1)]
    if interlaced:
        passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
    raw = bytearray()
    for x0, y0, dx, dy in passes:
        part = samples[y0::dy, x0::dx]
        if part.size == 0:
            continue
        for row in part:
            raw.append(0)
            if bit_depth == 16:
                raw += row.astype(">u2").tobytes()
            elif bit_depth == 4:
                flat = row.reshape(-1)
                if len(flat) % 2:
                    flat = np.append(flat, 0)
                raw += ((flat[0::2] << 4) | flat[1::2]).astype(np.uint8).tobytes()
            else:
                raw += row.astype(np.uint8).tobytes()
    header = struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 1 if interlaced else 0)
    chunks = [png_chunk(b"IHDR", header)]
    if palette is not None:
        chunks.append(png_chunk(b"PLTE", bytes(np.asarray(palette, dtype=np.uint8).reshape(-1))))
    if transparency is not None:
        chunks.append(png_chunk(b"tRNS", bytes(transparency)))
    chunks.append(png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
    chunks.append(png_chunk(b"IEND", b""))
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + b"".join(chunks))


def transparent_picture(width, height):
    """Colour ramps (so swapped channels or a shift show) over an alpha that
    is 0 in the left quarter, 128 in the next and opaque on the right half;
    the hidden colours are bright, so a picture not composited on black
    shows them."""
    x = np.arange(width)[None, :]
    y = np.arange(height)[:, None]
    rgba = np.empty((height, width, 4), dtype=np.uint16)
    rgba[..., 0] = 40 + (200 * x) // width + 0 * y
    rgba[..., 1] = 30 + (220 * y) // height + 0 * x
    rgba[..., 2] = np.where(y < height // 2, 220, 60) + 0 * x
    rgba[..., 3] = np.where(x < width // 4, 0, np.where(x < width // 2, 128, 255)) + 0 * y
    return rgba


def on_black(path, out):
    picture = np.asarray(Image.open(path).convert("RGBA"), dtype=np.uint32)
    flat = (picture[..., :3] * picture[..., 3:4] + 127) // 255
    Image.fromarray(flat.astype(np.uint8), "RGB").save(out)


def main():
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for width, height in ((1200, 800), (6000, 4000)):
        for orientation in (3, 6, 8):
            # Stored at width x height: the picture a viewer shows is turned.
            upright_size = (height, width) if orientation in (6, 8) else (width, height)
            upright = Image.fromarray(quadrants(*upright_size), "RGB")
            save_tagged(upright, orientation, out / f"upright-{orientation}-{width}x{height}.jpg", quality=95)
    save_tagged(Image.fromarray(halves(800, 1200), "RGB"), 6, out / "upright-6-halves-1200x800.jpg", quality=95)
    photo = make_large_pictures.photo(4000, 6000)
    save_tagged(photo, 6, out / "large-6000x4000-orientation6.jpg", quality=90)

    width, height = 400, 300
    rgba = transparent_picture(width, height)
    write_png(out / "png-rgba.png", rgba, 6, 8)
    write_png(out / "png-rgba16.png", (rgba * 257) ^ (np.arange(width, dtype=np.uint16)[None, :, None] % 7), 6, 16)
    write_png(out / "png-interlaced.png", rgba[..., :3], 2, 8, interlaced=True)
    # Sixteen colours in vertical bands, two of them transparent and one half so.
    palette = [(16 * i, 255 - 16 * i, (64 + 40 * i) % 256) for i in range(16)]
    alpha = [0, 255, 255, 128, 255, 255, 255, 255, 255, 0]
    indices = (np.arange(width)[None, :] * 16 // width + 0 * np.arange(height)[:, None]).astype(np.uint8)
    write_png(out / "png-palette.png", indices, 3, 4, palette=palette, transparency=alpha)
    for name in ("png-rgba", "png-rgba16", "png-interlaced", "png-palette"):
        on_black(out / f"{name}.png", out / f"{name}-on-black.bmp")
    Image.fromarray(quadrants(10000, 5000), "RGB").save(out / "png-10000x5000.png", compress_level=6)


if __name__ == "__main__":
    main()
