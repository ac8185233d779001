#!/usr/bin/python3
# Runs tools/check_includes on small made-up trees: each row is a tree that
# must pass, or must fail with the named arrows and nothing else.
import os
import subprocess
import sys
import tempfile
import unittest

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
SCRIPT = os.path.join(TOP, "tools", "check_includes")

# A tree every row starts from: downward arrows only, the same folder, and
# includes that are not of a project folder.
CLEAN = {
    "common/window_of.h": '#include <windows.h>\n',
    "saver/gif/gif_scan.h": '#include "common/window_of.h"\n',
    "saver/toolkit/font.h": '#include "saver/gif/gif_scan.h"\n#include "saver/toolkit/twips.h"\n',
    "saver/toolkit/twips.h": '',
    "saver/controls/anigif/control.h": '#include "saver/toolkit/font.h"\n',
    "settings_opener/main.cpp": '#include <windows.h>\n',
    # A tool includes what it hosts; it is no layer of the product.
    "tools/gifview/main.cpp": '#include "saver/controls/anigif/control.h"\n#include "tools/gifview/options.h"\n',
    "saver/dialog/dialog.cpp": '#include "saver_resources.h"\n#include "ventalune_version.h"\n',
    "saver/launcher/start_up.cpp": '#include "assets/saver_resources.h"\n#include "saver/dialog/dialog.h"\n',
    "scene/scene_window.cpp": '#include "common/window_of.h"\n#include "scene/gl_api.h"\n',
}

# name, files added to or replacing the clean tree, offending lines expected
# (file:line and the start of the reason); no lines means the tree passes.
CASES = [
    ("clean tree", {}, []),
    ("a commented-out include does not count",
     {"saver/toolkit/twips.h": '// #include "saver/launcher/start_up.h"\n'}, []),
    ("upward arrow",
     {"saver/toolkit/twips.h": '#pragma once\n#include "saver/dialog/dialog.h"\n'},
     ["saver/toolkit/twips.h:2: saver/toolkit -> saver/dialog (upward"]),
    ("the control includes the tool that hosts it",
     {"saver/controls/anigif/control.cpp": '#include "tools/gifview/options.h"\n'},
     ["saver/controls/anigif/control.cpp:1: saver/controls/anigif -> tools/gifview (tools are not part"]),
    ("the settings opener includes the saver",
     {"settings_opener/main.cpp": '#include "saver/launcher/start_up.h"\n'},
     ["settings_opener/main.cpp:1: settings_opener -> saver/launcher (settings_opener and saver/launcher belong"]),
    ("cycle: both arrows named, the upward one for both reasons",
     {"saver/dialog/dialog.h": '#include "saver/launcher/run.h"\n'},
     ["saver/dialog/dialog.h:1: saver/dialog -> saver/launcher (upward: saver/launcher is a higher layer than "
      "saver/dialog; cycle between saver/dialog <-> saver/launcher)",
      "saver/launcher/start_up.cpp:2: saver/launcher -> saver/dialog (cycle between"]),
    ("the saver includes the scene",
     {"saver/toolkit/surface.cpp": '#include "scene/bitmap_check.h"\n'},
     ["saver/toolkit/surface.cpp:1: saver/toolkit -> scene (saver/toolkit and scene belong to different programs"]),
    ("the scene includes the saver",
     {"scene/textures.cpp": '#include "saver/toolkit/font.h"\n'},
     ["scene/textures.cpp:1: scene -> saver/toolkit (scene and saver/toolkit belong to different programs"]),
    ("common includes the scene",
     {"common/contract.h": '#include "scene/gl_api.h"\n', "scene/scene_window.cpp": ''},
     ["common/contract.h:1: common -> scene (upward"]),
    ("an included folder missing from the table",
     {"saver/dialog/dialog.cpp": '#include "saver/widgets/knob.h"\n'},
     ["saver/dialog/dialog.cpp:1: saver/dialog -> saver/widgets (unknown project folder saver/widgets"]),
    ("a source folder missing from the table",
     {"saver/extras/a.cpp": '#include "common/window_of.h"\n', "saver/extras/b.cpp": ''},
     ["saver/extras/a.cpp: saver/extras/ is an unknown project folder"]),
]


def run_on(files):
    with tempfile.TemporaryDirectory() as root:
        for name, text in {**CLEAN, **files}.items():
            path = os.path.join(root, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w") as f:
                f.write(text)
        result = subprocess.run([sys.executable, SCRIPT, "--root", root], capture_output=True, text=True)
    return result.returncode, result.stdout.splitlines()


class CheckIncludesTest(unittest.TestCase):
    def test_trees(self):
        for name, files, expected in CASES:
            with self.subTest(name):
                status, lines = run_on(files)
                if not expected:
                    self.assertEqual(status, 0, lines)
                    self.assertEqual(len(lines), 1, lines)
                    self.assertTrue(lines[0].startswith("check_includes: OK"), lines)
                    continue
                self.assertEqual(status, 1, lines)
                self.assertEqual(len(lines), len(expected), lines)
                for line, start in zip(sorted(lines), sorted(expected)):
                    self.assertTrue(line.startswith(start), f"{line!r} should start with {start!r}")

    def test_summary_counts_folders_and_arrows(self):
        # Eight folders of the product hold sources, with five distinct
        # arrows between two of them: the includes of a folder's own files,
        # of generated and asset headers, and the tools' are no arrows.
        status, lines = run_on({})
        self.assertEqual(status, 0)
        self.assertIn("8 folders, 5 arrows", lines[0])


if __name__ == "__main__":
    unittest.main()
