#!/usr/bin/env python3
"""The editor's command line, as a file manager or a script meets it."""
import os
import subprocess
import sys
import unittest

PROGRAM = sys.argv.pop(1) if len(sys.argv) > 1 else "build/bin/quillmere"


def run(*args, display=True):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    if display:
        env["QT_QPA_PLATFORM"] = "offscreen"
    return subprocess.run([PROGRAM, *args], env=env, capture_output=True, text=True, timeout=60)


class CommandLine(unittest.TestCase):
    def test_help_and_version_need_no_display(self):
        shown = run("--help", display=False)
        self.assertEqual(shown.returncode, 0)
        self.assertTrue(shown.stdout.startswith("Usage: quillmere [DESTINATION [SOURCE]]"))
        version = run("--version", display=False)
        self.assertEqual(version.returncode, 0)
        self.assertRegex(version.stdout, r"^quillmere \d+\.\d+\.\d+\n$")

    def test_without_a_display_it_says_so_in_one_line(self):
        result = run("walls.fox", display=False)
        self.assertEqual(result.returncode, 1)
        lines = result.stderr.strip().splitlines()
        self.assertEqual(len(lines), 1, result.stderr)
        self.assertIn("display", lines[0])
        self.assertIn("xvfb-run", lines[0])

    def test_wrong_arguments_are_refused_before_any_window(self):
        unknown = run("--frobnicate")
        self.assertEqual(unknown.returncode, 2)
        self.assertIn("--frobnicate", unknown.stderr)
        too_many = run("a.fox", "b.fsh", "c.fs2")
        self.assertEqual(too_many.returncode, 2)


if __name__ == "__main__":
    unittest.main()
