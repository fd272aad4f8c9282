"""The chooser window of the real program, under Wine and Xvfb."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import driver  # noqa: E402

EXE = sys.argv.pop(1)
driver.ensure_session(os.path.dirname(os.path.dirname(EXE)))
SCREENSHOTS = os.path.join(os.path.dirname(os.path.dirname(EXE)), "screenshots")

GREY, RED, HELP_GREY = (204, 204, 204), (255, 0, 0), (153, 153, 153)
BUTTONS = {  # label: client rectangle
    "接口1": (10, 30, 80, 40), "接口2": (100, 30, 80, 40), "接口3": (190, 30, 80, 40),
    "说明": (280, 120, 80, 40), "X": (375, 1, 14, 14),
}


class Chooser(unittest.TestCase):
    def setUp(self):
        self.program = driver.Program(EXE)
        self.addCleanup(self.program.close)
        self.window = self.program.wait_window("")
        self.left, self.top, width, height = driver.Program.geometry(self.window)
        self.assertEqual((width, height), (390, 190))
        time.sleep(0.3)  # first paint

    def at(self, label, dx=None, dy=None):
        x, y, w, h = BUTTONS[label]
        return self.left + x + (w // 2 if dx is None else dx), self.top + y + (h // 2 if dy is None else dy)

    def count(self, screen, label, colour):
        x, y, w, h = BUTTONS[label]
        return screen.count(self.left + x, self.top + y, w, h, colour)

    def test_opens_centred_and_esc_ends_with_0(self):
        screen = driver.Screen()
        self.assertEqual((self.left, self.top), ((screen.width - 390) // 2, (screen.height - 190) // 2))
        driver.key("Escape")
        self.assertEqual(self.program.wait_exit(), 0)

    def test_a_close_through_the_window_system_ends_with_0(self):
        driver.key("alt+F4")
        self.assertEqual(self.program.wait_exit(), 0)

    def test_labels_grey_at_rest_and_red_under_the_pointer(self):
        # To the background between the buttons: leaving the window would hand the X focus,
        # and with it the activation, to the root window of this display without a WM.
        driver.move(self.left + 200, self.top + 15)

        def at_rest():
            screen = driver.Screen()
            labels = ("接口1", "接口2", "接口3")
            grey = all(self.count(screen, label, GREY) > 20 for label in labels)
            red = any(self.count(screen, label, RED) for label in labels)
            return screen if grey and not red else None

        rest = driver.wait_for(at_rest, timeout=10, what="every label grey")
        os.makedirs(SCREENSHOTS, exist_ok=True)
        driver.save_screenshot(os.path.join(SCREENSHOTS, "chooser-rest.png"), self.window)
        self.assertGreater(self.count(rest, "说明", HELP_GREY), 20)

        driver.move(*self.at("接口1"))
        hover1 = driver.wait_for(lambda: (lambda s: s if self.count(s, "接口1", RED) > 20 else None)(
            driver.Screen()), what="接口1 turning red")
        driver.save_screenshot(os.path.join(SCREENSHOTS, "chooser-hover.png"), self.window)
        self.assertEqual(self.count(hover1, "接口1", GREY), 0)
        self.assertEqual(self.count(hover1, "接口2", RED), 0)

        driver.move(*self.at("接口2"))  # straight from one button onto the next
        hover2 = driver.wait_for(lambda: (lambda s: s if self.count(s, "接口2", RED) > 20 else None)(
            driver.Screen()), what="接口2 turning red")
        self.assertEqual(self.count(hover2, "接口1", RED), 0)
        self.assertGreater(self.count(hover2, "接口1", GREY), 20)

    def test_dragging_the_background_moves_the_window(self):
        driver.drag(self.left + 200, self.top + 15, self.left + 240, self.top + 45)
        target = (self.left + 40, self.top + 30)
        driver.wait_for(lambda: driver.Program.geometry(self.window)[:2] == target, timeout=5,
                        what="the window following the pointer to %r, at %r" % (
                            target, driver.Program.geometry(self.window)[:2]))
        moved = target
        # A drag that starts on a button does not move the window.
        x, y = self.at("说明")
        driver.drag(x, y, x + 30, y + 30)
        time.sleep(0.3)
        self.assertEqual(driver.Program.geometry(self.window)[:2], moved[:2])

    def test_x_ends_the_program_with_0(self):
        driver.click(*self.at("X"))
        self.assertEqual(self.program.wait_exit(), 0)

    def test_help_box_shows_and_keeps_clicks_from_the_chooser(self):
        driver.click(*self.at("说明"))
        box = self.program.wait_window("信息：")
        self.assertIsNotNone(box)
        driver.click(*self.at("接口1"))  # no effect while the box is open
        time.sleep(1.0)
        self.assertIsNone(self.program.window_named("请保持适当网速进行观看"))
        driver.key("Return")  # OK
        driver.wait_for(lambda: self.program.window_named("信息：") is None, what="the box closing")
        self.assertIsNone(self.program.window_named("请保持适当网速进行观看"))
        driver.key("Escape")
        self.assertEqual(self.program.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
