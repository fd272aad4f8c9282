"""The real program over many runs with Wine's heap checking on, and with input that is
large, spaced or not ASCII. Built with prefixes that lead to the loopback logger."""
import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import driver  # noqa: E402

EXE = sys.argv.pop(1)
driver.ensure_session(os.path.dirname(os.path.dirname(EXE)))
RUNS = int(os.environ.get("LINEPLAYER_SOAK_RUNS", "50"))
PLAYER_TITLE = "请保持适当网速进行观看"
HEAP_TROUBLE = re.compile(r"^(err|warn):heap", re.MULTILINE)


class Runs(unittest.TestCase):
    def setUp(self):
        self.logger = driver.RequestLogger()
        self.addCleanup(self.logger.stop)

    def run_once(self, interface_at, paste=None, typed=None, wine_debug=None):
        """Start, choose, paste or type, play, close: returns (exit code, stderr)."""
        program = driver.Program(EXE, wine_debug)
        self.addCleanup(program.close)
        chooser = program.wait_window("")
        left, top = driver.Program.geometry(chooser)[:2]
        time.sleep(0.1)
        driver.click(left + interface_at[0], top + interface_at[1])
        player = program.wait_window(PLAYER_TITLE)
        driver.wait_for(lambda: program.windows() == [player], what="the chooser going")
        if paste is not None:
            driver.set_clipboard(paste, os.path.dirname(EXE))
            driver.key("ctrl+v")
        if typed:
            driver.type_text(typed)
        requests = len(self.logger.paths)
        driver.key("Tab", "space")
        driver.wait_for(lambda: len(self.logger.paths) > requests, timeout=30, what="the request")
        driver.key("Escape")
        return program.wait_exit(60), program.stderr()

    def test_many_full_runs_end_with_0_and_no_heap_error(self):
        for run in range(RUNS):
            with self.subTest(run=run):
                code, errors = self.run_once((50, 50), typed="v%d" % run, wine_debug="warn+heap")
                self.assertEqual(code, 0)
                self.assertIsNone(HEAP_TROUBLE.search(errors), errors[-2000:])
                self.assertEqual(self.logger.paths[-1], "/line1/?u=v%d" % run)

    def test_a_megabyte_paste_is_navigated_whole(self):
        # A megabyte in lines of 100 bytes: Wine's edit box takes minutes to wrap a single
        # line of that length, which says nothing about the program.
        line = "0123456789" * 9 + "abcdefgh\r\n"
        text = "http://v.example/\r\n" + line * (1024 * 1024 // len(line))
        code, errors = self.run_once((140, 50), paste=text, wine_debug="-all,+ieframe,warn+heap")
        self.assertEqual(code, 0)
        self.assertIsNone(HEAP_TROUBLE.search(errors))
        given = re.findall(r'navigate_url navigating to L"([^"]*)', errors)
        self.assertTrue(given[-1].startswith(r"http://127.0.0.1:47811/line2/?u=http://v.example/\r\n0123"))
        # Wine leaves the line breaks out on the wire; everything else arrives as pasted.
        self.assertEqual(self.logger.paths[-1], "/line2/?u=" + text.replace("\r\n", ""))

    def test_spaces_line_breaks_and_chinese_reach_the_control_unchanged(self):
        text = "  http://v.example/中文 视频\r\n第二行  "
        code, errors = self.run_once((230, 50), paste=text, wine_debug="-all,+ieframe")
        self.assertEqual(code, 0)
        escaped = "".join(c if ord(c) < 128 else "\\%04x" % ord(c) for c in text)
        escaped = escaped.replace("\r", "\\r").replace("\n", "\\n")
        given = re.findall(r'navigate_url navigating to L"(.*)"', errors)
        self.assertIn("http://127.0.0.1:47811/line3/?u=" + escaped, given)


if __name__ == "__main__":
    unittest.main()
