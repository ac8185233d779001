#!/usr/bin/python3
# Checks the artwork scripts on small hand-made inputs, and the committed
# artwork for what a person would notice: a map turned the wrong way, an icon
# Windows cannot read, a preview still that no longer shows our scene.
import importlib.machinery
import importlib.util
import io
import os
import struct
import subprocess
import sys
import tempfile
import unittest

import numpy as np
from PIL import Image

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))


def load_script(name):
    """The scripts have no .py ending; load them as modules by path."""
    path = os.path.join(TOP, "tools", name)
    loader = importlib.machinery.SourceFileLoader(name.replace("-", "_"), path)
    module_spec = importlib.util.spec_from_loader(loader.name, loader)
    module = importlib.util.module_from_spec(module_spec)
    loader.exec_module(module)
    return module


world_map = load_script("make_world_map")
make_icon = load_script("make_icon")
make_preview_still = load_script("make_preview_still")


def pixel_at(width, height, lon, lat):
    return int((lon + 180) / 360 * width), int((90 - lat) / 180 * height)


class TopologyDecodingTest(unittest.TestCase):
    # Quantized: positions are integers, scaled by 0.5 × 0.25 and moved by
    # (−10, 20); each position after an arc's first is a delta.
    QUANTIZED = {
        "type": "Topology",
        "transform": {"scale": [0.5, 0.25], "translate": [-10, 20]},
        "arcs": [
            [[0, 0], [4, 0], [0, 4]],       # (−10,20) → (−8,20) → (−8,21)
            [[4, 4], [-4, 0], [0, -4]],     # (−8,21) → (−10,21) → (−10,20)
            [[10, 10], [2, 0], [0, 2], [-2, 0], [0, -2]],
        ],
        "objects": {
            "land": {
                "type": "GeometryCollection",
                "geometries": [
                    {"type": "Polygon", "arcs": [[0, 1]]},
                    {"type": "MultiPolygon", "arcs": [[[2]], [[~1, ~0]]]},
                    {"type": "LineString", "arcs": [0]},
                ],
            }
        },
    }

    def test_quantized_arcs_are_summed_scaled_and_moved(self):
        arcs = world_map.decode_arcs(self.QUANTIZED)
        self.assertEqual(arcs[0], [(-10.0, 20.0), (-8.0, 20.0), (-8.0, 21.0)])
        self.assertEqual(arcs[2][-1], arcs[2][0])

    def test_rings_join_arcs_without_doubling_the_shared_point(self):
        polygons = world_map.land_polygons(self.QUANTIZED)
        self.assertEqual(polygons[0], [[(-10.0, 20.0), (-8.0, 20.0), (-8.0, 21.0), (-10.0, 21.0), (-10.0, 20.0)]])

    def test_negative_index_walks_an_arc_backwards(self):
        polygons = world_map.land_polygons(self.QUANTIZED)
        # ~1 then ~0: the first ring traced the other way round.
        self.assertEqual(polygons[2], [[(-10.0, 20.0), (-10.0, 21.0), (-8.0, 21.0), (-8.0, 20.0), (-10.0, 20.0)]])

    def test_collections_keep_every_polygon_and_drop_lines(self):
        self.assertEqual(len(world_map.land_polygons(self.QUANTIZED)), 3)

    def test_unquantized_positions_are_taken_as_they_are(self):
        topology = {"type": "Topology", "arcs": [[[1.5, 2.5], [3.0, 2.5], [1.5, 2.5]]],
                    "objects": {"land": {"type": "Polygon", "arcs": [[0]]}}}
        self.assertEqual(world_map.land_polygons(topology), [[[(1.5, 2.5), (3.0, 2.5), (1.5, 2.5)]]])

    def test_damaged_topologies_are_refused(self):
        cases = {
            "arc index past the end": {"type": "Topology", "arcs": [[[0, 0], [1, 1]]],
                                       "objects": {"land": {"type": "Polygon", "arcs": [[5]]}}},
            "reversed index past the end": {"type": "Topology", "arcs": [[[0, 0], [1, 1]]],
                                            "objects": {"land": {"type": "Polygon", "arcs": [[~3]]}}},
            "no land object": {"type": "Topology", "arcs": [], "objects": {"countries": {}}},
            "not a topology": {"type": "FeatureCollection", "features": []},
        }
        for name, topology in cases.items():
            with self.subTest(name):
                with self.assertRaises(world_map.TopologyError):
                    world_map.land_polygons(topology)


class RasterisingTest(unittest.TestCase):
    W, H = 72, 36  # five degrees a pixel

    def test_a_ring_across_the_antimeridian_fills_both_edges_only(self):
        fiji = [(170, -10), (-170, -10), (-170, -20), (170, -20), (170, -10)]
        mask = world_map.land_mask([[fiji]], self.W, self.H)
        x_east, y = pixel_at(self.W, self.H, 175, -15)
        x_west, _ = pixel_at(self.W, self.H, -175, -15)
        self.assertTrue(mask[y, x_east] and mask[y, x_west])
        self.assertFalse(mask[y, self.W // 2], "the ring was drawn the long way round")
        self.assertLess(mask.sum(), 20)

    def test_a_ring_round_the_south_pole_fills_the_bottom(self):
        # One full turn at −70°, as Antarctica comes in the atlas.
        antarctica = [(lon, -70) for lon in range(-180, 181, 30)] + [(-180, -70)]
        mask = world_map.land_mask([[antarctica]], self.W, self.H)
        self.assertTrue(mask[-1].all(), "the bottom row is not all land")
        self.assertFalse(mask[0].any(), "land reached the north pole")
        self.assertFalse(mask[self.H // 2].any())

    def test_a_hole_stays_water(self):
        outer = [(-40, 40), (40, 40), (40, -40), (-40, -40), (-40, 40)]
        lake = [(-15, 15), (-15, -15), (15, -15), (15, 15), (-15, 15)]
        mask = world_map.land_mask([[outer, lake]], self.W, self.H)
        x, y = pixel_at(self.W, self.H, 0, 0)
        self.assertFalse(mask[y, x])
        x, y = pixel_at(self.W, self.H, 30, 30)
        self.assertTrue(mask[y, x])


class CloudsTest(unittest.TestCase):
    def test_noise_joins_up_across_the_antimeridian(self):
        y = np.linspace(0, 1, 50)
        west = world_map.fractal_noise(np.zeros_like(y), y, 12, 20, 6, 5)
        east = world_map.fractal_noise(np.ones_like(y), y, 12, 20, 6, 5)
        np.testing.assert_allclose(west, east, atol=1e-12)

    def test_the_seed_decides_the_clouds(self):
        first = world_map.cloud_cover(128, 64, 7)
        np.testing.assert_array_equal(first, world_map.cloud_cover(128, 64, 7))
        self.assertGreater(np.abs(first - world_map.cloud_cover(128, 64, 8)).mean(), 0.05)

    def test_tropics_and_storm_tracks_are_cloudier_than_the_subtropical_highs(self):
        side = 360
        cover = world_map.cloud_cover(side, side, world_map.SEED)

        def band(low, high):
            rows = slice(int((90 - high) / 180 * side), int((90 - low) / 180 * side))
            return cover[rows].mean()

        subtropics = (band(18, 30) + band(-30, -18)) / 2
        self.assertGreater(band(0, 12), subtropics * 1.5)
        self.assertGreater(band(45, 60), subtropics * 1.5)
        self.assertGreater(band(-60, -45), subtropics * 1.5)


def is_land(rgb):
    return int(max(rgb[0], rgb[1])) > int(rgb[2]) + 15


def is_sea(rgb):
    return int(rgb[2]) > int(rgb[0]) + 50 and int(rgb[2]) > int(rgb[1]) + 20


class CommittedWorldMapTest(unittest.TestCase):
    """Clouds may hide a place, so each place is a 7 × 7 block, and a block
    must show its own kind somewhere and the other kind nowhere."""

    PLACES = {
        # name: (longitude, latitude, land)
        "Sahara": (12, 23, True),
        "Australia": (134, -25, True),
        "Amazon": (-60, -5, True),
        "Siberia": (100, 62, True),
        "Canada": (-105, 55, True),
        "mid-Pacific": (-150, 0, False),
        "North Pacific": (-160, 30, False),
        "South Atlantic": (-20, -20, False),
        "Indian Ocean": (80, -20, False),
    }

    @classmethod
    def setUpClass(cls):
        cls.path = os.path.join(TOP, "assets", "world_map.jpg")
        cls.image = Image.open(cls.path)
        cls.pixels = np.asarray(cls.image.convert("RGB"))

    def test_is_a_256_pixel_square_baseline_jpeg(self):
        self.assertEqual(self.image.format, "JPEG")
        self.assertEqual(self.image.size, (256, 256))
        self.assertFalse(self.image.info.get("progressive") or self.image.info.get("progression"))

    def test_places_lie_where_they_are_on_earth(self):
        for name, (lon, lat, land) in self.PLACES.items():
            with self.subTest(name):
                x, y = pixel_at(256, 256, lon, lat)
                block = self.pixels[y - 3:y + 4, x - 3:x + 4].reshape(-1, 3)
                own = sum(1 for p in block if (is_land(p) if land else is_sea(p)))
                other = sum(1 for p in block if (is_sea(p) if land else is_land(p)))
                self.assertGreaterEqual(own, 5, f"{name} hardly shows as {'land' if land else 'sea'}")
                self.assertEqual(other, 0, f"{name} shows {'sea' if land else 'land'}")

    def test_antarctica_is_ice_along_the_whole_bottom(self):
        bottom = self.pixels[-6:].astype(int)
        self.assertGreater(bottom.min(axis=2).min(), 180)


class IconTest(unittest.TestCase):
    def test_the_container_holds_bitmaps_and_a_png_that_read_back_exactly(self):
        # Distinct corners and a transparent pixel: a flip, a channel swap or
        # a wrong mask shows.
        small = np.zeros((16, 16, 4), dtype=np.uint8)
        small[..., 3] = 255
        small[0, 0] = (255, 0, 0, 255)
        small[0, 15] = (0, 255, 0, 128)
        small[15, 0] = (0, 0, 255, 255)
        small[15, 15] = (0, 0, 0, 0)
        large = Image.linear_gradient("L").resize((64, 64)).convert("RGBA")
        images = [Image.fromarray(small, "RGBA"), large]
        data = make_icon.ico_bytes(images)

        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 2))
        entries = [struct.unpack_from("<BBBBHHII", data, 6 + 16 * i) for i in range(count)]
        self.assertEqual([(e[0], e[1]) for e in entries], [(16, 16), (64, 64)])
        for e in entries:
            self.assertLessEqual(e[7] + e[6], len(data))
        bitmap = data[entries[0][7]:entries[0][7] + entries[0][6]]
        self.assertEqual(struct.unpack_from("<Iii", bitmap, 0), (40, 16, 32))
        # The mask follows the 16 × 16 × 4 colour bytes; its first row is
        # the picture's bottom row, whose last pixel is the transparent one.
        mask_first_row = bitmap[40 + 16 * 16 * 4:40 + 16 * 16 * 4 + 4]
        self.assertEqual(mask_first_row, bytes([0x00, 0x01, 0x00, 0x00]))
        self.assertTrue(data[entries[1][7]:].startswith(b"\x89PNG"))

        with Image.open(io.BytesIO(data)) as ico:
            for image in images:
                ico.size = image.size
                ico.load()
                np.testing.assert_array_equal(np.asarray(ico.convert("RGBA")), np.asarray(image),
                                              err_msg=f"{image.size} does not read back")

    def test_the_committed_icon_has_every_size_with_a_clear_surround(self):
        with Image.open(os.path.join(TOP, "assets", "ventalune.ico")) as ico:
            self.assertEqual(ico.info["sizes"], {(16, 16), (32, 32), (48, 48), (256, 256)})
            for side in (16, 32, 48, 256):
                with self.subTest(side=side):
                    ico.size = (side, side)
                    ico.load()
                    rgba = np.asarray(ico.convert("RGBA"))
                    self.assertEqual(rgba[0, 0, 3], 0, "corner not transparent")
                    self.assertEqual(rgba[side // 2, side // 2, 3], 255, "centre not opaque")
                    # Bright ring pixels over the dark sky.
                    self.assertGreater((rgba[..., :3].max(axis=2) > 150).mean(), 0.05)


@unittest.skipUnless(os.environ.get("VENTALUNE_RENDER_PREVIEW_STILL"), "render_preview_still not given")
class PreviewStillTest(unittest.TestCase):
    TOOL = os.environ.get("VENTALUNE_RENDER_PREVIEW_STILL", "")

    def test_rings_and_walls_get_their_own_pictures(self):
        red = Image.new("RGB", (64, 64), (255, 0, 0))
        green = Image.new("RGB", (64, 64), (0, 255, 0))
        with tempfile.TemporaryDirectory() as folder:
            frame = np.asarray(make_preview_still.render(self.TOOL, red, green, folder)).astype(int)
        h, w, _ = frame.shape
        self.assertEqual((w, h), make_preview_still.FRAME_SIZE)
        reddish = frame[..., 0] > frame[..., 1] + 40
        greenish = frame[..., 1] > frame[..., 0] + 40
        # The corners are room; the rings gather round the middle.
        for corner in (greenish[0, 0], greenish[0, -1], greenish[-1, 0], greenish[-1, -1]):
            self.assertTrue(corner)
        self.assertGreater(reddish[h // 4:3 * h // 4, w // 4:3 * w // 4].mean(), 0.1)
        self.assertLess(reddish[:, :w // 8].mean() + reddish[:, -w // 8:].mean(), 0.01)

    def test_pictures_without_power_of_two_sides_are_refused(self):
        with tempfile.TemporaryDirectory() as folder:
            odd = Image.new("RGB", (100, 64))
            with self.assertRaises(subprocess.CalledProcessError):
                make_preview_still.render(self.TOOL, odd, odd, folder)

    def test_the_committed_still_is_our_scene_at_its_fixed_clock(self):
        path = os.path.join(TOP, "assets", "preview_still.jpg")
        with Image.open(path) as still:
            self.assertEqual(still.size, (152, 112))
            self.assertFalse(still.info.get("progressive") or still.info.get("progression"))
            committed = np.asarray(still.convert("RGB")).astype(int)
        with Image.open(os.path.join(TOP, "assets", "world_map.jpg")) as rings, \
                tempfile.TemporaryDirectory() as folder:
            frame = make_preview_still.render(self.TOOL, rings, make_preview_still.desktop_picture(), folder)
        fresh = np.asarray(frame.resize(make_preview_still.STILL_SIZE, Image.LANCZOS)).astype(int)
        # JPEG and another GL's rasteriser move levels a little; a changed
        # scene or clock moves whole rings.
        self.assertLess(np.abs(fresh - committed).mean(), 6,
                        "the still no longer matches the scene: run tools/make_preview_still")


if __name__ == "__main__":
    sys.exit(0 if unittest.main(exit=False, verbosity=2).result.wasSuccessful() else 1)
