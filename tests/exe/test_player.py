"""The whole program: choose an interface, paste an address, play, close. Built with a
prefix list that leads every interface to the test's loopback logger."""
import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import driver  # noqa: E402

EXE = sys.argv.pop(1)
driver.ensure_session(os.path.dirname(os.path.dirname(EXE)))
SCREENSHOTS = os.path.join(os.path.dirname(os.path.dirname(EXE)), "screenshots")

PLAYER_TITLE = "请保持适当网速进行观看"
# Interface number: the client point of its button on the chooser (超级按钮4 carries 接口3).
INTERFACE_AT = {1: (50, 50), 2: (140, 50), 3: (230, 50), 4: (320, 50), 5: (50, 95), 9: (50, 140), 10: (140, 140),
                11: (230, 140)}


class Player(unittest.TestCase):
    def setUp(self):
        self.logger = driver.RequestLogger()
        self.addCleanup(self.logger.stop)

    def start(self, wine_debug=None):
        program = driver.Program(EXE, wine_debug)
        self.addCleanup(program.close)
        chooser = program.wait_window("")
        self.chooser_at = driver.Program.geometry(chooser)[:2]
        time.sleep(0.2)
        return program

    def choose(self, program, interface):
        x, y = INTERFACE_AT[interface]
        driver.click(self.chooser_at[0] + x, self.chooser_at[1] + y)
        player = program.wait_window(PLAYER_TITLE)
        # The chooser goes right after the player has appeared.
        driver.wait_for(lambda: program.windows() == [player], what="the player being the only window")
        return player

    @staticmethod
    def play(from_edit_box=True):
        if from_edit_box:
            driver.key("Tab")  # the play button comes next in the tab order
        driver.key("space")

    def test_typical_run_sends_prefix_then_address_and_ends_with_0(self):
        program = self.start()
        player = self.choose(program, 3)  # the button 超级按钮4
        x, y, width, height = driver.Program.geometry(player)
        self.assertEqual((width, height), (938, 541))
        screen = driver.Screen()
        self.assertEqual((x, y), ((screen.width - 938) // 2, (screen.height - 541) // 2))
        driver.type_text("http://v.example/watch?v=1")
        time.sleep(0.3)
        os.makedirs(SCREENSHOTS, exist_ok=True)
        driver.save_screenshot(os.path.join(SCREENSHOTS, "player.png"), player)
        self.play()
        self.assertEqual(self.logger.wait_count(1), ["/line3/?u=http://v.example/watch?v=1"])
        self.play(from_edit_box=False)  # twice: two requests, the same prefix
        self.assertEqual(self.logger.wait_count(2)[1], "/line3/?u=http://v.example/watch?v=1")
        driver.key("Escape")  # the focus is on the button: Esc closes all the same
        self.assertEqual(program.wait_exit(), 0)

    def test_each_interface_uses_its_own_prefix(self):
        # 9 and 10 share one entry; an empty box sends the prefix alone.
        for interface, typed, expected in [(1, "", "/line1/?u="), (9, "a", "/line9/?u=a"),
                                           (10, "a", "/line9/?u=a"), (11, "b", "/line10/?u=b")]:
            with self.subTest(interface=interface):
                self.logger.paths.clear()
                program = self.start()
                self.choose(program, interface)
                if typed:
                    driver.type_text(typed)
                self.play()
                self.assertEqual(self.logger.wait_count(1), [expected])
                driver.key("Escape")
                self.assertEqual(program.wait_exit(), 0)

    def test_spaces_and_line_breaks_reach_the_browser_unchanged(self):
        program = self.start(wine_debug="-all,+ieframe")
        self.choose(program, 2)
        driver.type_text("  x y  ")
        driver.key("Return")  # Enter in the edit box: a CR LF pair
        driver.type_text("z")
        self.play()
        self.logger.wait_count(1)
        driver.key("Escape")
        self.assertEqual(program.wait_exit(), 0)
        given = re.findall(r'navigate_url navigating to L"(.*)"', program.stderr())
        self.assertIn(r"http://127.0.0.1:47811/line2/?u=  x y  \r\nz", given)

    def test_closing_the_player_through_the_window_system_ends_with_0(self):
        program = self.start()
        self.choose(program, 5)
        driver.key("alt+F4")
        self.assertEqual(program.wait_exit(), 0)

    def test_esc_in_the_edit_box_closes_the_player(self):
        program = self.start()
        self.choose(program, 4)
        driver.type_text("abc")
        driver.key("Escape")
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(self.logger.paths, [])


if __name__ == "__main__":
    unittest.main()
