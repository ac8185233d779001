#!/usr/bin/python3
"""Writes the GIFs the engine is compared on into OUTDIR: files made by
ImageMagick's convert and by Pillow, covering interlacing, local palettes,
transparency, every disposal, odd frame placement, 1-pixel and 4096-wide
frames and 256-colour photos. Nothing here is committed as a binary.

usage: make_samples.py OUTDIR
"""
import os
import subprocess
import sys

from PIL import Image, ImageDraw


def convert(out, *args):
    subprocess.run(["convert", "-seed", "7", *args, out], check=True)


def imagemagick(d):
    j = lambda name: os.path.join(d, name)
    convert(j("im_interlaced.gif"), "-delay", "10", "-size", "64x48", "plasma:fractal", "plasma:fractal",
            "plasma:fractal", "-colors", "64", "-interlace", "GIF", "-loop", "0")
    convert(j("im_disposals.gif"), "-loop", "3", "-dispose", "None", "-delay", "5", "-size", "40x30", "xc:navy",
            "-dispose", "Background", "-page", "+5+4", "-size", "10x8", "xc:yellow",
            "-dispose", "Previous", "-page", "+20+10", "-size", "12x6", "xc:red",
            "-dispose", "None", "-page", "+2+20", "-size", "8x8", "xc:green")
    convert(j("im_transparent.gif"), "-loop", "0", "-dispose", "Background",
            "(", "-size", "30x30", "xc:none", "-fill", "red", "-draw", "circle 15,15 15,5", ")",
            "(", "-size", "30x30", "xc:none", "-fill", "blue", "-draw", "rectangle 5,5 20,20", ")",
            "(", "-size", "30x30", "xc:none", "-fill", "lime", "-draw", "rectangle 10,2 28,12", ")")
    convert(j("im_transparent_accumulate.gif"), "-loop", "0", "-dispose", "None",
            "(", "-size", "30x30", "xc:white", ")",
            "(", "-size", "30x30", "xc:none", "-fill", "blue", "-draw", "rectangle 5,5 20,20", ")",
            "(", "-size", "30x30", "xc:none", "-fill", "red", "-draw", "circle 15,15 15,8", ")")
    convert(j("im_one_pixel.gif"), "-size", "1x1", "xc:red", "xc:blue", "xc:lime", "-loop", "0")
    convert(j("im_wide_4096.gif"), "-size", "4096x4", "gradient:red-blue", "-size", "4096x4", "gradient:yellow-black",
            "-colors", "200", "-loop", "0")
    convert(j("im_photo_256.gif"), "logo:", "-resize", "50%", "-colors", "256")
    convert(j("im_rose_256.gif"), "rose:", "-resize", "300%", "-colors", "256")
    convert(j("im_local_palettes.gif"), "-loop", "0", "-size", "24x16", "gradient:red-yellow", "-colors", "16",
            "(", "-size", "24x16", "gradient:blue-cyan", "-colors", "32", ")",
            "(", "-size", "24x16", "gradient:green-magenta", "-colors", "64", ")")
    convert(j("im_odd_placement.gif"), "-loop", "0", "-dispose", "None", "-page", "20x20+0+0", "-size", "20x20",
            "xc:white", "-page", "+15+15", "-size", "10x10", "xc:black", "-page", "+3+17", "-size", "7x1",
            "xc:red")


def pillow(d):
    j = lambda name: os.path.join(d, name)
    palette = []
    for i in range(256):
        palette += [i, (i * 7) % 256, 255 - i]

    def frame(colour_of, size=(24, 18)):
        im = Image.new("P", size)
        im.putpalette(palette)
        im.putdata([colour_of(x, y) for y in range(size[1]) for x in range(size[0])])
        return im

    frames = [frame(lambda x, y, k=k: (x * 3 + y * 5 + k * 40) % 200 + 1) for k in range(4)]
    for disposal in range(4):
        first = frames[0].copy()
        ImageDraw.Draw(first).rectangle((0, 0, 6, 17), fill=0)
        rest = [f.copy() for f in frames[1:]]
        for k, f in enumerate(rest):
            ImageDraw.Draw(f).rectangle((k * 5, 2, k * 5 + 8, 12), fill=0)
        first.save(j(f"pil_disposal_{disposal}.gif"), save_all=True, append_images=rest, duration=70, loop=2,
                   disposal=disposal, transparency=0, optimize=False)
    # Each frame with its own palette, so the file carries local tables.
    local = []
    for k in range(3):
        im = frame(lambda x, y: (x + y) % 16, (20, 12))
        im.putpalette([(c * (k + 3) * 11) % 256 for c in range(768)])
        local.append(im)
    local[0].save(j("pil_local_palettes.gif"), save_all=True, append_images=local[1:], duration=100, loop=0,
                  optimize=False)
    photo = Image.merge("RGB", (Image.effect_mandelbrot((256, 192), (-2.2, -1.2, 0.8, 1.2), 60),
                                Image.radial_gradient("L").resize((256, 192)),
                                Image.linear_gradient("L").resize((256, 192))))
    photo.quantize(256).save(j("pil_photo_256.gif"))
    frame(lambda x, y: 5, (1, 1)).save(j("pil_one_pixel.gif"))


if __name__ == "__main__":
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    imagemagick(out)
    pillow(out)
