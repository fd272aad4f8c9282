#!/usr/bin/env python3
"""The prefix list: malformed lists stop the build with the file and the line named.

usage: prefix_list_test.py PROJECT_DIR
"""
import os
import re
import subprocess
import sys
import tempfile
import unittest

PROJECT = sys.argv.pop(1) if len(sys.argv) > 1 else os.getcwd()
GENERATOR = os.path.join(PROJECT, "lines", "make_line_table.py")
GOOD = ["https://p%d.example/?u=" % n for n in range(1, 11)]


def run_generator(content, tmp):
    path = os.path.join(tmp, "list.txt")
    with open(path, "wb") as out:
        out.write(content)
    result = subprocess.run([sys.executable, GENERATOR, path, os.path.join(tmp, "out.inc")],
                            capture_output=True)
    return path, result


class PrefixList(unittest.TestCase):
    def test_malformed_lists_name_the_file_and_line(self):
        lines = [p.encode() for p in GOOD]
        cases = [
            # (what, content, line named or None for the file alone)
            ("nine prefixes", b"\n".join(lines[:9]) + b"\n", None),
            ("eleven prefixes", b"\n".join(lines + [b"https://extra/"]) + b"\n", 11),
            ("an empty prefix of blanks", b"\n".join(lines[:4] + [b"   "] + lines[4:9]) + b"\n", 5),
            ("a NUL byte", b"\n".join(lines[:2] + [b"https://a\0b/"] + lines[3:]) + b"\n", 3),
            ("not UTF-8", b"\n".join(lines[:6] + [b"https://\xff/"] + lines[7:]) + b"\n", 7),
            ("no GBK for it", b"\n".join([b"# c", "https://\U0001F600/".encode()] + lines[1:]) + b"\n", 2),
        ]
        for what, content, line in cases:
            with self.subTest(what), tempfile.TemporaryDirectory() as tmp:
                path, result = run_generator(content, tmp)
                self.assertNotEqual(result.returncode, 0)
                message = result.stderr.decode()
                where = "%s:%d:" % (path, line) if line else "%s:" % path
                self.assertIn(where, message)
                self.assertFalse(os.path.exists(os.path.join(tmp, "out.inc")))

    def test_comments_blank_lines_and_crlf_are_allowed(self):
        content = b"# header\r\n\r\n" + b"\r\n".join(p.encode() for p in GOOD) + b"\r\n\n  # indented\n"
        with tempfile.TemporaryDirectory() as tmp:
            _, result = run_generator(content, tmp)
            self.assertEqual(result.returncode, 0, result.stderr)
            entries = re.findall(r'"([0-9A-F,]*)"', open(os.path.join(tmp, "out.inc")).read())
            self.assertEqual(len(entries), 10)
            # three characters a byte: the CR is not part of the prefix
            self.assertEqual([len(e) for e in entries], [3 * len(p) for p in GOOD])

    def test_a_bad_list_fails_the_real_build(self):
        with tempfile.TemporaryDirectory() as tmp:
            bad = os.path.join(tmp, "bad.txt")
            with open(bad, "w") as out:
                out.write("\n".join(GOOD[:3] + [""] * 2 + ["# only three"]) + "\n")
            build = os.path.join(tmp, "build")
            configure = subprocess.run(["cmake", "-S", PROJECT, "-B", build, "-G", "Ninja",
                                        "-DBUILD_TESTING=OFF", "-DLINEPLAYER_PREFIXES=" + bad],
                                       capture_output=True, text=True)
            self.assertEqual(configure.returncode, 0, configure.stderr)
            result = subprocess.run(["cmake", "--build", build, "--target", "line_table_default"],
                                    capture_output=True, text=True)
            self.assertNotEqual(result.returncode, 0)
            self.assertIn(bad + ":", result.stdout + result.stderr)
            self.assertIn("exactly 10", result.stdout + result.stderr)


if __name__ == "__main__":
    unittest.main()
