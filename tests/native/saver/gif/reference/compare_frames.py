#!/usr/bin/python3
"""Composes GIFs with gifframes and compares every frame with what Pillow
composes, and with the expected frames of the GIF test suite.

usage: compare_frames.py GIFFRAMES SAMPLES_DIR SUITE_DIR WORK_DIR

Where both pictures show a colour, the colours must be equal. Where one
shows the background and the other a colour, the difference must be one of
the intended ones listed below for that file; any other difference fails.
Pictures are compared over the canvas both have (ours is the union of the
frames, the others use the header's screen), top-left aligned.
"""
import glob
import os
import subprocess
import sys

from PIL import Image

# Where our rules and a browser's or Pillow's differ on purpose:
#  restore_background: "restore to background" leaves the area transparent
#      (black with the mask), where Pillow paints the background colour.
#  uncovered_black: without a mask, canvas that no frame has covered yet is
#      opaque black, where the others show the background.
#  first_restore_previous: "restore previous" on frame 1 acts as "none", so
#      frame 1 stays under frame 2, where a browser clears it.
INTENDED = {
    "pil_disposal_2": {"restore_background"},
    "pil_disposal_3": {"first_restore_previous"},
    "im_disposals": {"restore_background"},
    "im_transparent": {"restore_background"},
    "im_odd_placement": {"uncovered_black"},
    "animated_transparent_firstframerestoreprev_loop": {"first_restore_previous"},
}
# Which way each difference goes: (ours shows background, theirs shows background).
DIRECTION = {
    "restore_background": (True, False),
    "uncovered_black": (False, True),
    "first_restore_previous": (False, True),
}


def read_pam(path):
    data = open(path, "rb").read()
    end = data.index(b"ENDHDR\n") + 7
    fields = dict(line.split(" ", 1) for line in data[:end].decode().splitlines()[1:-1])
    return int(fields["WIDTH"]), int(fields["HEIGHT"]), data[end:]


def ours(gifframes, gif, work):
    out = os.path.join(work, os.path.basename(gif)[:-4])
    result = subprocess.run([gifframes, gif, out], capture_output=True, text=True, check=True)
    facts = result.stdout.split("\n")
    frames = sorted(glob.glob(os.path.join(out, "frame-*.pam")))
    loops = int(facts[1].split()[1])
    return [read_pam(p) for p in frames], loops


def pillow_frames(gif):
    im = Image.open(gif)
    frames = []
    for k in range(getattr(im, "n_frames", 1)):
        im.seek(k)
        frames.append(im.convert("RGBA"))
    return frames, im.info.get("loop")


def suite_frames(suite, name):
    paths = sorted(glob.glob(os.path.join(suite, "frames", name + "-*.png")),
                   key=lambda p: int(p.rsplit("-", 1)[1][:-4]))
    if not paths:
        paths = [os.path.join(suite, "frames", name + ".png")]
    return [Image.open(p).convert("RGBA") for p in paths]


def compare(name, our_frames, their_frames, problems):
    allowed = {DIRECTION[reason] for reason in INTENDED.get(name, ())}
    if len(our_frames) != len(their_frames):
        problems.append(f"{name}: {len(our_frames)} frames, expected {len(their_frames)}")
        return
    for k, ((w, h, px), theirs) in enumerate(zip(our_frames, their_frames)):
        tw, th = theirs.size
        expected = theirs.tobytes()
        colour = background = 0
        for y in range(min(h, th)):
            for x in range(min(w, tw)):
                o, e = (y * w + x) * 4, (y * tw + x) * 4
                ours_bg, theirs_bg = px[o + 3] == 0, expected[e + 3] == 0
                if ours_bg != theirs_bg:
                    if (ours_bg, theirs_bg) not in allowed:
                        background += 1
                elif not ours_bg and px[o:o + 3] != expected[e:e + 3]:
                    colour += 1
        if colour or background:
            problems.append(f"{name} frame {k + 1}: {colour} colours differ, {background} pixels differ in "
                            "showing the background")


def main():
    gifframes, samples, suite, work = sys.argv[1:5]
    problems = []
    checked = 0
    for gif in sorted(glob.glob(os.path.join(samples, "*.gif"))):
        name = os.path.basename(gif)[:-4]
        our_frames, our_loops = ours(gifframes, gif, work)
        their_frames, their_loops = pillow_frames(gif)
        compare(name, our_frames, their_frames, problems)
        if their_loops is not None and their_loops != our_loops:
            problems.append(f"{name}: loop count {our_loops}, Pillow says {their_loops}")
        checked += 1
    suite_gifs = sorted(glob.glob(os.path.join(suite, "*.gif")))
    if not suite_gifs:
        problems.append(f"no GIFs of the test suite in {suite}")
    for gif in suite_gifs:
        name = os.path.basename(gif)[:-4]
        our_frames, _ = ours(gifframes, gif, work)
        compare(name, our_frames, suite_frames(suite, name), problems)
        checked += 1
    for problem in problems:
        print(problem)
    print(f"compare_frames: {checked} files, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
