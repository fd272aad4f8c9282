#!/usr/bin/env python3
"""Tests for make_assets.py: its encoders against an independent decoder
(ImageMagick), and its checks against pictures and icons with known faults."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_assets as ma  # noqa: E402


def convert_rgba(data, fmt):
    """Decodes image bytes with ImageMagick into raw RGBA bytes."""
    return subprocess.run([ma.CONVERT, fmt + ":-", "-depth", "8", "rgba:-"], input=data,
                          check=True, stdout=subprocess.PIPE).stdout


class PngTest(unittest.TestCase):
    # 7 x 3, every pixel different, some channels at 0 and 255.
    FIXTURE = (7, 3, [((x * 37) % 256, (y * 101 + x) % 256, 255 - x * 30) for y in range(3) for x in range(7)])

    def test_encoded_png_decodes_the_same_elsewhere(self):
        data = ma.encode_png(self.FIXTURE)
        expected = b"".join(bytes(p) + b"\xff" for p in self.FIXTURE[2])
        self.assertEqual(convert_rgba(data, "png"), expected)
        self.assertEqual(data, ma.encode_png(self.FIXTURE), "encoding must be deterministic")

    def test_reader_undoes_every_filter(self):
        # A noisy picture written by ImageMagick with adaptive row filters; its
        # doubled rows make the "up" filter worth choosing too.
        data = subprocess.run([ma.CONVERT, "-seed", "7", "-size", "24x8", "plasma:", "-sample", "24x16!",
                               "-alpha", "set",
                               "-channel", "A", "-fx", "0.3+0.5*u.r", "+channel",
                               "-define", "png:color-type=6", "-define", "png:bit-depth=8",
                               "-define", "png:compression-filter=5", "png:-"],
                              check=True, stdout=subprocess.PIPE).stdout
        w, h, ctype, depth, rows = ma.decode_png(data)
        self.assertEqual((w, h, ctype, depth), (24, 16, 6, 8))
        # Make sure the fixture really exercises the filter types.
        raw = zlib.decompress(b"".join(self._idat(data)))
        self.assertLessEqual({1, 2, 3, 4}, {raw[y * (w * 4 + 1)] for y in range(h)})
        self.assertEqual(b"".join(rows), convert_rgba(data, "png"))

    @staticmethod
    def _idat(data):
        pos = 8
        while pos < len(data):
            length, kind = struct.unpack(">I4s", data[pos:pos + 8])
            if kind == b"IDAT":
                yield data[pos + 8:pos + 8 + length]
            pos += 12 + length

    def test_reader_rejects_damage(self):
        good = ma.encode_png(self.FIXTURE)
        for what, data in [("bad signature", b"\x89PNX" + good[4:]),
                           ("flipped byte in IDAT", good[:45] + bytes([good[45] ^ 1]) + good[46:]),
                           ("truncated", good[:-20])]:
            with self.subTest(what):
                with self.assertRaises(ma.FormatError):
                    ma.decode_png(data)


class PictureCheckTest(unittest.TestCase):
    GROUND = [(30, 40, 50), (31, 40, 50), (32, 41, 52), (30, 42, 51)] * 4  # 4 x 4
    KEY = (26, 32, 42)

    def picture(self, changes):
        ground = [self.KEY] + self.GROUND[1:]
        px = list(ground)
        for i, p in changes.items():
            px[i] = p
        return px, ground

    def test_cases(self):
        grey = (204, 204, 204)
        cases = [
            ("sound label", {5: grey, 6: (120, 130, 140)}, grey, None),
            ("label lacks the exact colour", {5: (203, 204, 204)}, grey, "no pixel of exactly"),
            ("edge pixel hits the transparent colour", {5: grey, 6: self.KEY}, grey, "top-left colour"),
            ("nothing drawn", {}, grey, "no label drawn"),
        ]
        for what, changes, colour, fault in cases:
            with self.subTest(what):
                px, ground = self.picture(changes)
                problems = ma.check_picture("pic", px, ground, colour)
                if fault is None:
                    self.assertEqual(problems, [])
                else:
                    self.assertTrue(any(fault in p for p in problems), problems)

    def test_off_centre_label_is_caught(self):
        w, h = 10, 6
        ground = [(30, 40, 50)] * (w * h)
        centred = list(ground)
        off = list(ground)
        for y in (2, 3):
            for x in (4, 5):
                centred[y * w + x] = (204, 204, 204)
                off[y * w + x - 3] = (204, 204, 204)
        self.assertEqual(ma.label_centre_problems("pic", centred, ground, w, h), [])
        self.assertTrue(ma.label_centre_problems("pic", off, ground, w, h))

    def test_blend_ends(self):
        self.assertEqual(ma.blend((30, 40, 50), (204, 204, 204), 255), (204, 204, 204))
        self.assertEqual(ma.blend((30, 40, 50), (255, 0, 0), 0), (30, 40, 50))


class IconTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.alpha = ma.icon_alpha()
        cls.ico = ma.encode_ico(cls.alpha)

    def test_alpha_matches_an_independent_reader(self):
        rgba = convert_rgba(self.ico, "ico")
        self.assertEqual(len(rgba), 32 * 27 * 4)
        self.assertEqual(list(rgba[3::4]), self.alpha)
        self.assertFalse(any(rgba[i] for i in range(len(rgba)) if i % 4 != 3), "pixels must be black")

    def test_sound_icon_passes(self):
        self.assertEqual(ma.check_ico(self.ico), [])

    def test_faults_are_caught(self):
        ico = self.ico
        img = 22  # start of the bitmap header
        xor = img + 40
        and_mask = xor + 32 * 27 * 4

        def patch(pos, new):
            return ico[:pos] + new + ico[pos + len(new):]

        cases = [
            ("two images claimed", patch(4, struct.pack("<H", 2)), "count"),
            ("entry height 32", patch(7, bytes([32])), "entry is"),
            ("entry bit count 24", patch(12, struct.pack("<H", 24)), "entry is"),
            ("bitmap height not doubled", patch(img + 8, struct.pack("<i", 27)), "bitmap header"),
            ("a pixel not black", patch(xor + 4 * 100, b"\x10"), "not black"),
            ("alpha all opaque", ico[:xor] + b"\0\0\0\xff" * (32 * 27) + ico[and_mask:], "alpha"),
            ("AND mask inverted", ico[:and_mask] + bytes(b ^ 0xFF for b in ico[and_mask:]), "AND mask"),
            ("file cut short", ico[:-4], "points at"),
        ]
        for what, data, fault in cases:
            with self.subTest(what):
                problems = ma.check_ico(data)
                self.assertTrue(any(fault in p for p in problems), problems)


class CheckModeTest(unittest.TestCase):
    def test_stale_and_missing_files_are_reported(self):
        with tempfile.TemporaryDirectory() as tmp:
            for name in ma.expected_sizes():
                shutil.copy(os.path.join(ma.HERE, name), tmp)
            shutil.copy(os.path.join(ma.HERE, "lineplayer.ico"), tmp)
            os.remove(os.path.join(tmp, "help_hover.png"))
            # A stale picture: right size and format, but a different texture.
            stale = ma.encode_png((80, 40, [(40, 48, 60)] * (80 * 40)))
            with open(os.path.join(tmp, "interface3_normal.png"), "wb") as f:
                f.write(stale)
            problems = ma.check(tmp)
        self.assertTrue(any(p.startswith("help_hover.png: missing") for p in problems), problems)
        self.assertTrue(any(p.startswith("interface3_normal.png: differs") for p in problems), problems)
        self.assertFalse(any(p.startswith("interface4") for p in problems), problems)


if __name__ == "__main__":
    unittest.main()
