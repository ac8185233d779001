"""Small JPEGs of every kind the reduced decoder takes, written by libjpeg's
cjpeg from a photo-like picture, each with its references: Pillow's full
decode reduced by 1, 2, 4 and 8 (Image.reduce averages blocks, the edges'
partial blocks over the pixels they cover), as binary PPM.
usage: make_jpeg_samples.py <output folder>            the samples
       make_jpeg_samples.py --seeds <output folder>    the fuzz seed corpus
       make_jpeg_samples.py --bench <file>             the benchmark's camera photo"""
import importlib.util
import io
import pathlib
import subprocess
import sys
import tempfile

import numpy as np
from PIL import Image


def photo(width, height, seed=11):
    """Soft colour ramps, waves, a hard-edged disc and some grain: smooth
    areas, edges and fine detail, as a photo has."""
    x = np.linspace(0.0, 1.0, width, dtype=np.float32)[None, :]
    y = np.linspace(0.0, 1.0, height, dtype=np.float32)[:, None]
    disc = ((x - 0.62) ** 2 + (y - 0.45) ** 2) < 0.06
    red = 60.0 + 150.0 * x + 30.0 * np.sin(9.0 * y) + 0.0 * y
    green = 90.0 + 60.0 * np.cos(7.0 * x) * np.sin(5.0 * y)
    blue = 200.0 - 140.0 * y + 0.0 * x
    red = np.where(disc, 240.0, red)
    green = np.where(disc, 200.0, green)
    blue = np.where(disc, 30.0, blue)
    grain = np.random.default_rng(seed)
    pixels = np.empty((height, width, 3), dtype=np.uint8)
    for channel, ramp in enumerate((red, green, blue)):
        noisy = ramp + grain.integers(-6, 7, size=(height, width), dtype=np.int16)
        pixels[..., channel] = np.clip(noisy, 0, 255)
    return Image.fromarray(pixels, "RGB")


def cjpeg(picture, arguments):
    with tempfile.TemporaryDirectory() as folder:
        source = pathlib.Path(folder) / "in.ppm"
        picture.save(source)
        tables = pathlib.Path(folder) / "tables.txt"
        # Quantisation factors over 255 need 16-bit tables (and an extended frame).
        tables.write_text(" ".join(["3"] * 63 + ["300"]) + "\n")
        arguments = [a.replace("@tables", str(tables)) for a in arguments]
        return subprocess.run(["cjpeg", *arguments, str(source)], check=True, capture_output=True).stdout


def segment(marker, payload):
    return bytes([0xFF, marker]) + (len(payload) + 2).to_bytes(2, "big") + payload


def with_thumbnail_and_fill_bytes(jpeg):
    """An EXIF segment holding a whole JPEG (a camera's thumbnail, with its
    own frame and scan), a comment, and fill bytes before the next marker."""
    thumbnail = io.BytesIO()
    photo(32, 24, seed=3).save(thumbnail, "JPEG", quality=70)
    exif = segment(0xE1, b"Exif\0\0" + thumbnail.getvalue())
    comment = segment(0xFE, b"made by the tests")
    return jpeg[:2] + exif + comment + b"\xff\xff\xff" + jpeg[2:]


# name, width, height, cjpeg arguments
SAMPLES = (
    ("yuv444", 128, 96, ["-quality", "90", "-sample", "1x1"]),
    ("yuv422", 128, 96, ["-quality", "90", "-sample", "2x1", "-optimize"]),
    ("yuv420", 128, 96, ["-quality", "90", "-sample", "2x2"]),
    ("yuv440", 128, 96, ["-quality", "90", "-sample", "1x2"]),
    ("mixed_sampling", 128, 96, ["-quality", "90", "-sample", "1x2,2x1,1x1"]),
    ("grey", 128, 96, ["-quality", "90", "-grayscale"]),
    ("grey_sampled_2x2", 100, 60, ["-quality", "85", "-grayscale", "-sample", "2x2"]),
    ("restart_every_row", 128, 96, ["-quality", "90", "-sample", "2x2", "-restart", "1"]),
    ("restart_every_3_units", 128, 96, ["-quality", "90", "-sample", "2x1", "-restart", "3B"]),
    ("odd_size", 301, 199, ["-quality", "90", "-sample", "2x2"]),
    ("odd_size_444", 301, 199, ["-quality", "75", "-sample", "1x1"]),
    ("sliver", 5, 3, ["-quality", "90", "-sample", "2x2"]),
    ("adobe_rgb", 128, 96, ["-quality", "90", "-rgb"]),
    ("tables_16_bit", 96, 64, ["-qtables", "@tables", "-sample", "2x2"]),
    ("low_quality", 128, 96, ["-quality", "20", "-sample", "2x2"]),
    ("exif_thumbnail", 128, 96, ["-quality", "90", "-sample", "2x2"]),
)


def make_samples(out):
    out.mkdir(parents=True, exist_ok=True)
    for name, width, height, arguments in SAMPLES:
        # The sliver is cut from a larger picture: five columns of the whole
        # picture would change faster than any photo does.
        picture = photo(128, 96).crop((60, 40, 65, 43)) if name == "sliver" else photo(width, height)
        data = cjpeg(picture, arguments)
        if name == "exif_thumbnail":
            data = with_thumbnail_and_fill_bytes(data)
        (out / f"{name}.jpg").write_bytes(data)
        decoded = Image.open(out / f"{name}.jpg").convert("RGB")
        for shift in range(4):
            decoded.reduce(1 << shift).save(out / f"{name}-{shift}.ppm")


def make_seeds(out):
    out.mkdir(parents=True, exist_ok=True)
    seeds = (
        ("yuv420.jpg", 24, 17, ["-quality", "80", "-sample", "2x2"]),
        ("yuv444-restart.jpg", 16, 16, ["-quality", "80", "-sample", "1x1", "-restart", "1B"]),
        ("yuv422-optimised.jpg", 20, 8, ["-quality", "70", "-sample", "2x1", "-optimize"]),
        ("grey.jpg", 13, 9, ["-quality", "80", "-grayscale"]),
        ("adobe-rgb.jpg", 8, 8, ["-quality", "80", "-rgb"]),
        ("tables-16-bit.jpg", 16, 16, ["-qtables", "@tables", "-sample", "1x2"]),
        ("progressive.jpg", 16, 16, ["-quality", "80", "-progressive"]),
    )
    for name, width, height, arguments in seeds:
        data = cjpeg(photo(width, height), arguments)
        assert len(data) <= 4096, name
        (out / name).write_bytes(data)


def make_bench_photo(path):
    """6000 x 4000 at quality 90, the grainy picture the saver's start-up is
    measured with (make_large_pictures.py), as costly to decode as a camera's."""
    script = pathlib.Path(__file__).resolve().parents[4] / "wine/saver/launcher/make_large_pictures.py"
    found = importlib.util.spec_from_file_location("make_large_pictures", script)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    module.photo(6000, 4000).save(path, quality=90)


def main():
    if sys.argv[1] == "--bench":
        make_bench_photo(sys.argv[2])
    elif sys.argv[1] == "--seeds":
        make_seeds(pathlib.Path(sys.argv[2]))
    else:
        make_samples(pathlib.Path(sys.argv[1]))


if __name__ == "__main__":
    main()
