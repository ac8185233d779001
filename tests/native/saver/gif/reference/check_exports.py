#!/usr/bin/python3
"""Reads every exported frame left by the giflib reference test with Pillow
and checks that it holds exactly the frame's indexes, palette and
transparent index.

usage: check_exports.py EXPORTS_DIR
"""
import glob
import os
import sys

from PIL import Image


def main():
    problems = []
    exports = sorted(glob.glob(os.path.join(sys.argv[1], "*.gif")))
    for path in exports:
        data = open(path[:-4] + ".expect", "rb").read()
        header, rest = data.split(b"\n", 1)
        width, height, transparent = map(int, header.split())
        palette, indexes = rest[:768], rest[768:]
        im = Image.open(path)
        name = os.path.basename(path)
        if im.mode != "P" or im.size != (width, height):
            problems.append(f"{name}: {im.mode} {im.size}, expected P {(width, height)}")
            continue
        if bytes(im.getdata()) != indexes:
            problems.append(f"{name}: indexes differ")
        if bytes(im.getpalette()[:768]).ljust(768, b"\0") != palette:
            problems.append(f"{name}: palette differs")
        if im.info.get("transparency", -1) != transparent:
            problems.append(f"{name}: transparent index {im.info.get('transparency')}, expected {transparent}")
    for problem in problems:
        print(problem)
    print(f"check_exports: {len(exports)} exported frames, {len(problems)} problems")
    return 1 if problems or not exports else 0


if __name__ == "__main__":
    sys.exit(main())
