#!/usr/bin/env python3
"""The figures measured under Wine and Xvfb, run by scripts/bench.sh inside
tools/test-session.sh: start-up and click against a bare Win32 program, and the time from
the play key to the loopback request for a short and a long paste.

usage: wine_bench.py --program EXE --bare EXE --loopback EXE [--rounds N] [--paste-rounds N]
                     [--paste-seconds S] [--figures startup,click,play|play1mb] [--json FILE]

Each figure alternates its two sides round by round and reports medians; the first run of
each side only warms Wine's caches and is left out.
"""
import argparse
import json
import os
import socket
import statistics
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xdisplay  # noqa: E402

PLAYER_TITLE = "请保持适当网速进行观看"
BARE_SECOND_TITLE = "bare second"
CHOOSER_SIZE = (390, 190)
INTERFACE1_CENTRE = (10 + 40, 30 + 20)  # client point of 接口1 in the chooser
LOGGER_PORT = 47811
LINE1_PATH = "/line1/?u="
MAX_REQUEST = 8 << 20


class Timeout(Exception):
    pass


def poll(predicate, timeout, what, step=0.002):
    deadline = time.perf_counter() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.perf_counter() > deadline:
            raise Timeout("timed out waiting for " + what)
        time.sleep(step)


class Run:
    """One run of a Windows program under the session's Wine."""

    def __init__(self, exe):
        self.exe = exe
        self.class_name = os.path.basename(exe)
        self.started = time.perf_counter()
        self.process = subprocess.Popen(["wine", exe], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    def end(self, display):
        """Esc, as a person would; killed if that does not end it."""
        if self.process.poll() is None:
            display.key("Escape")
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                pass
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        # Nothing of this run may still be on the screen when the next one starts.
        poll(lambda: not display.viewable(self.class_name), 10, "the windows of %s to go" % self.class_name)


def painted_window(display, run, size):
    """The run's viewable window of that size once the screen under it is no longer black."""
    def check():
        for window in display.viewable(run.class_name):
            if (window.width, window.height) == size and display.painted_share(window) >= 0.95:
                return window
        return None
    return poll(check, 30, "a painted %dx%d window of %s" % (size + (run.class_name,)))


def titled_window(display, run, title):
    def check():
        return next((w for w in display.viewable(run.class_name) if w.title == title), None)
    return poll(check, 30, "window %r of %s" % (title, run.class_name))


def start_up(display, exe):
    run = Run(exe)
    try:
        painted_window(display, run, CHOOSER_SIZE)
        return time.perf_counter() - run.started
    finally:
        run.end(display)


def click_to_window(display, exe, title):
    run = Run(exe)
    try:
        first = painted_window(display, run, CHOOSER_SIZE)
        time.sleep(0.3)
        display.move(first.x + INTERFACE1_CENTRE[0], first.y + INTERFACE1_CENTRE[1])
        time.sleep(0.3)  # the hover look is drawn before the click
        clicked = time.perf_counter()
        display.click()
        titled_window(display, run, title)
        return time.perf_counter() - clicked
    finally:
        run.end(display)


class Logger:
    """Loopback HTTP listener: notes when each request line has fully arrived, and its
    path, then answers 200. Request lines may be megabytes long, which http.server refuses."""

    def __init__(self, port=LOGGER_PORT, wait=60.0):
        self.requests = []
        self.lock = threading.Condition()
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        deadline = time.monotonic() + wait
        while True:  # the exe-level tests use the same port: wait for a running one to end
            try:
                self.listener.bind(("127.0.0.1", port))
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.5)
        self.listener.listen(16)
        self.listener.settimeout(0.2)
        self.running = True
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    def _serve(self):
        while self.running:
            try:
                connection, _ = self.listener.accept()
            except socket.timeout:
                continue
            except OSError:
                return
            threading.Thread(target=self._answer, args=(connection,), daemon=True).start()

    def _answer(self, connection):
        with connection:
            connection.settimeout(30)
            received = bytearray()
            try:
                while b"\r\n" not in received and len(received) < MAX_REQUEST:
                    chunk = connection.recv(1 << 16)
                    if not chunk:
                        return
                    received += chunk
                arrived = time.perf_counter()
                line = bytes(received.split(b"\r\n", 1)[0])
                parts = line.split(b" ")
                path = parts[1].decode("latin-1") if len(parts) >= 2 else ""
                with self.lock:
                    self.requests.append((arrived, path))
                    self.lock.notify_all()
                while b"\r\n\r\n" not in received and len(received) < MAX_REQUEST:
                    chunk = connection.recv(1 << 16)
                    if not chunk:
                        return
                    received += chunk
                body = b"<html><body>logged</body></html>"
                connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: %d\r\n"
                                   b"Connection: close\r\n\r\n%s" % (len(body), body))
            except OSError:
                pass

    def wait_request(self, since, timeout):
        deadline = time.monotonic() + timeout
        with self.lock:
            while True:
                for arrived, path in self.requests:
                    if arrived >= since:
                        return arrived, path
                left = deadline - time.monotonic()
                if left <= 0:
                    raise Timeout("no request reached the logger")
                self.lock.wait(left)

    def stop(self):
        self.running = False
        self.listener.close()
        self.thread.join(5)


def region_bytes(display, window, box):
    left, top, right, bottom = box
    data, _ = display.pixels(window.x + left, window.y + top, right - left, bottom - top)
    return data


class PasteNotShown(Exception):
    pass


def play_request(display, exe, logger, text, paste_seconds):
    """(seconds from the Space key on 播放 to the request reaching the logger, seconds the
    paste took), for text put on the X clipboard and pasted with Ctrl+V."""
    # Wine looks for a new owner of the X clipboard every 2 s: own it before the program
    # starts, and paste no sooner than 2.5 s after.
    clip = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet"], stdin=subprocess.PIPE,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    run = None
    try:
        clip.stdin.write(text.encode("ascii"))
        clip.stdin.close()
        poll(display.clipboard_owned, 30, "xclip to own the clipboard")
        owned = time.perf_counter()

        run = Run(exe)
        chooser = painted_window(display, run, CHOOSER_SIZE)
        time.sleep(0.3)
        display.move(chooser.x + INTERFACE1_CENTRE[0], chooser.y + INTERFACE1_CENTRE[1])
        time.sleep(0.2)
        display.click()
        player = titled_window(display, run, PLAYER_TITLE)
        time.sleep(max(1.0, owned + 2.5 - time.perf_counter()))  # and the browser control settles

        # The play button, measured from the window's lower right corner: the caption's
        # height does not move it. Its focus rectangle shows once Tab has been handled, and
        # Tab is handled after the paste, as the keys queue in order.
        button = (player.width - 78, player.height - 50, player.width - 8, player.height - 15)
        before = region_bytes(display, player, button)
        pasting = time.perf_counter()
        display.key("Control_L", "v")
        display.key("Tab")
        try:
            poll(lambda: region_bytes(display, player, button) != before, paste_seconds,
                 "the play button to take the focus", step=0.01)
        except Timeout:
            raise PasteNotShown("the paste had not ended after %.0f s" % paste_seconds)
        pasted = time.perf_counter() - pasting
        time.sleep(0.3)

        pressed = time.perf_counter()
        display.key("space")
        arrived, path = logger.wait_request(pressed, 120)
        if path != LINE1_PATH + text.replace("\r\n", ""):  # Wine sends no line breaks
            raise AssertionError("the request was not the prefix and the whole paste: %d bytes, begins %r"
                                 % (len(path), path[:60]))
        return arrived - pressed, pasted
    finally:
        if run is not None:
            run.end(display)
        if clip.poll() is None:
            clip.terminate()
            clip.wait(5)


def play_request_retried(display, exe, logger, text, paste_seconds):
    # Should Wine still hold the clipboard of the run before, the paste comes out wrong.
    try:
        return play_request(display, exe, logger, text, paste_seconds)
    except AssertionError as error:
        print("    (again: %s)" % error, flush=True)
        return play_request(display, exe, logger, text, paste_seconds)


def side_by_side(rounds, sides):
    """{name: [seconds]} with the sides alternating in order round by round, after one warm-up each."""
    results = {name: [] for name, _ in sides}
    for name, measure in sides:
        measure()
    for r in range(rounds):
        for name, measure in (sides if r % 2 == 0 else list(reversed(sides))):
            results[name].append(measure())
    return results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--bare", required=True)
    parser.add_argument("--loopback", required=True)
    parser.add_argument("--rounds", type=int, default=9)
    parser.add_argument("--paste-rounds", type=int, default=3)
    parser.add_argument("--paste-seconds", type=float, default=120)
    parser.add_argument("--figures", default="startup,click,play", help="of startup, click, play (all sizes), play1mb (1 MB only)")
    parser.add_argument("--json")
    args = parser.parse_args()

    display = xdisplay.Display()
    figures = {}

    def save():
        if args.json:
            with open(args.json, "w") as out:
                json.dump(figures, out, indent=1)

    def record(name, values):
        figures[name] = {"median": statistics.median(values), "runs": values}
        save()
        print("  %-28s median %7.1f ms  runs %s" % (name, 1000 * statistics.median(values),
                                                    " ".join("%.0f" % (1000 * v) for v in values)), flush=True)

    wanted = args.figures.split(",")
    if "startup" in wanted:
        print("start-up to the painted first window (%d rounds)" % args.rounds, flush=True)
        for name, values in side_by_side(args.rounds, [
                ("startup_program", lambda: start_up(display, args.program)),
                ("startup_bare", lambda: start_up(display, args.bare))]).items():
            record(name, values)

    if "click" in wanted:
        print("click to the shown second window (%d rounds)" % args.rounds, flush=True)
        for name, values in side_by_side(args.rounds, [
                ("click_program", lambda: click_to_window(display, args.program, PLAYER_TITLE)),
                ("click_bare", lambda: click_to_window(display, args.bare, BARE_SECOND_TITLE))]).items():
            record(name, values)

    if "play" in wanted or "play1mb" in wanted:
        play_figures(args, display, figures, record, save, short_ones="play" in wanted)
    return 0


def play_figures(args, display, figures, record, save, short_ones):
    # Lines of 100 bytes: Wine's edit box takes time that grows with the square of a line's
    # length to wrap it (a single line of 1 MB takes ten minutes), which says nothing of ours.
    pattern = ("abcdefghijklmnopqrstuvwxyz0123456789" * 3)[:98] + "\r\n"
    pattern = pattern * ((1 << 20) // len(pattern) + 1)
    texts = {"10B": "abcdefghij", "64KB": pattern[:1 << 16], "1MB": pattern[:1 << 20]}
    figures["paste_sizes"] = {name: len(text) for name, text in texts.items()}
    save()
    logger = Logger()

    def play(name, seconds=60):
        return play_request_retried(display, args.loopback, logger, texts[name], seconds)

    def record_play(name, pairs):
        record("play_" + name, [to_request for to_request, _ in pairs])
        pasted = [paste for _, paste in pairs]
        figures["paste_" + name] = {"median": statistics.median(pasted), "runs": pasted}
        save()
        print("  %-28s median %7.1f ms" % ("(Ctrl+V to the paste shown)", 1000 * statistics.median(pasted)),
              flush=True)

    try:
        if short_ones:
            print("播放 to the loopback request, 10 B and 64 KB pasted (%d rounds)" % args.paste_rounds, flush=True)
            for name, pairs in side_by_side(args.paste_rounds, [("10B", lambda: play("10B")),
                                                                ("64KB", lambda: play("64KB"))]).items():
                record_play(name, pairs)
        print("播放 to the loopback request, 1 MB pasted (once, the paste given %.0f s)" % args.paste_seconds,
              flush=True)
        try:
            record_play("1MB", [play("1MB", args.paste_seconds)])
        except PasteNotShown as error:
            figures["play_1MB"] = {"error": str(error)}
            save()
            print("  play_1MB: " + str(error), flush=True)
    finally:
        logger.stop()


if __name__ == "__main__":
    sys.exit(main())
