#!/usr/bin/python3
# Checks the settings dialog's committed artwork for what would go wrong on
# screen: a banner that stops, runs at the wrong pace or has merged frames,
# a cursor whose click point is not the fingertip, marks that look alike;
# and that the script makes the very same files again.
import filecmp
import os
import struct
import subprocess
import sys
import tempfile
import unittest

from PIL import Image

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
ASSETS = os.path.join(TOP, "assets")


class BannerTest(unittest.TestCase):
    def test_twenty_five_frames_of_100_ms_looping_without_end(self):
        with Image.open(os.path.join(ASSETS, "banner.gif")) as gif:
            self.assertEqual(gif.size, (120, 50))
            self.assertEqual(gif.n_frames, 25)
            self.assertEqual(gif.info.get("loop"), 0)  # 0: for ever
            frames = []
            for i in range(gif.n_frames):
                gif.seek(i)
                self.assertEqual(gif.info.get("duration"), 100, f"frame {i}")
                frames.append(gif.convert("RGB").tobytes())
        # No two frames alike: each one shows for its own 100 ms.
        self.assertEqual(len(set(frames)), 25)


class CursorTest(unittest.TestCase):
    def test_one_32_pixel_cursor_clicking_at_the_fingertip(self):
        with open(os.path.join(ASSETS, "pointing_hand.cur"), "rb") as f:
            data = f.read()
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((reserved, kind, count), (0, 2, 1))
        width, height, _, _, hot_x, hot_y, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
        self.assertEqual((width, height), (32, 32))
        self.assertEqual((hot_x, hot_y), (12, 1))
        self.assertEqual(offset + size, len(data))
        with Image.open(os.path.join(ASSETS, "pointing_hand.cur")) as cursor:
            rgba = cursor.convert("RGBA")
        self.assertGreater(rgba.getpixel((12, 1))[3], 0, "the hot spot lies on the hand")
        self.assertEqual(rgba.getpixel((0, 0))[3], 0, "the corner shows the screen")


class OptionMarkTest(unittest.TestCase):
    def test_selected_has_a_dark_dot_not_selected_an_empty_well(self):
        with Image.open(os.path.join(ASSETS, "option_on.bmp")) as on, \
                Image.open(os.path.join(ASSETS, "option_off.bmp")) as off:
            self.assertEqual(on.size, (12, 12))
            self.assertEqual(off.size, (12, 12))
            self.assertLess(sum(on.convert("RGB").getpixel((6, 6))), 200)
            self.assertEqual(off.convert("RGB").getpixel((6, 6)), (255, 255, 255))


class ScriptTest(unittest.TestCase):
    def test_makes_the_committed_files_again(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([os.path.join(TOP, "tools", "make_dialog_art"), "--out", out], check=True)
            for name in ("option_on.bmp", "option_off.bmp", "pointing_hand.cur", "banner.gif"):
                self.assertTrue(filecmp.cmp(os.path.join(out, name), os.path.join(ASSETS, name), shallow=False),
                                name)


if __name__ == "__main__":
    sys.exit(0 if unittest.main(exit=False, verbosity=2).result.wasSuccessful() else 1)
