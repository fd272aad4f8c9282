"""Drives the real program under Wine and Xvfb, as a person would: xdotool for the
pointer and keys, ImageMagick's import for screenshots, a loopback HTTP logger for what
the embedded browser asks for.

Tests run inside tools/test-session.sh (a private display, the build's Wine prefix); a
test started without one starts it for itself (see ensure_session).
"""
import os
import re
import socketserver
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PROJECT = os.path.dirname(os.path.dirname(HERE))
LOGGER_PORT = 47811


def ensure_session(build_dir):
    """Re-runs this test inside a test session unless it already is in one."""
    if os.environ.get("LINEPLAYER_TEST_SESSION"):
        return
    env = dict(os.environ, WINEPREFIX=os.path.join(build_dir, "wineprefix"))
    command = [os.path.join(PROJECT, "tools", "test-session.sh"), sys.executable] + sys.argv
    sys.exit(subprocess.call(command, env=env))


def run(*command, check=True):
    return subprocess.run(command, check=check, capture_output=True, text=True, timeout=60).stdout


def wait_for(predicate, timeout=15.0, step=0.05, what="condition"):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    raise AssertionError("timed out waiting for " + what)


class Program:
    """One run of the exe."""

    def __init__(self, exe, wine_debug=None):
        self.exe = exe
        env = dict(os.environ)
        if wine_debug:
            env["WINEDEBUG"] = wine_debug
        self.stderr_path = "%s.%d.stderr" % (exe, os.getpid())
        self._stderr = open(self.stderr_path, "wb")
        self.process = subprocess.Popen(["wine", exe], env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=self._stderr)
        self.class_name = os.path.basename(exe).lower()

    def windows(self):
        """Visible top-level X windows of the program, as xdotool ids."""
        out = run("xdotool", "search", "--onlyvisible", "--classname",
                  "^" + re.escape(self.class_name) + "$", check=False)
        return [w for w in out.split()]

    def window_named(self, title):
        ids = [w for w in self.windows() if self.name(w) == title]
        return ids[0] if ids else None

    def wait_window(self, title, timeout=20.0):
        return wait_for(lambda: self.window_named(title), timeout, what="window %r" % title)

    @staticmethod
    def name(window):
        return run("xdotool", "getwindowname", window, check=False).strip()

    @staticmethod
    def geometry(window):
        out = run("xdotool", "getwindowgeometry", "--shell", window)
        values = dict(line.split("=") for line in out.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def wait_exit(self, timeout=20.0):
        try:
            code = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise AssertionError("the program did not end")
        self._stderr.close()
        return code

    def stderr(self):
        if not self._stderr.closed:
            self._stderr.flush()
        with open(self.stderr_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        subprocess.call(["wineserver", "-k"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.call(["wineserver", "-p"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        if self.process.poll() is None:
            self.kill()
        if not self._stderr.closed:
            self._stderr.close()
        try:
            os.remove(self.stderr_path)
        except OSError:
            pass


# The pointer and the keyboard.
def move(x, y):
    # xdotool's --sync can wait for ever when the pointer is already where it is sent.
    where = dict(item.split(":") for item in run("xdotool", "getmouselocation").split()[:2])
    if (int(where["x"]), int(where["y"])) != (x, y):
        run("xdotool", "mousemove", "--sync", str(x), str(y))


def click(x, y):
    move(x, y)
    run("xdotool", "click", "1")


def key(*names):
    run("xdotool", "key", *names)


def type_text(text):
    # The first character that needs a temporary key mapping gets lost: press shift first.
    run("xdotool", "key", "shift")
    run("xdotool", "type", "--delay", "20", text)


def set_clipboard(text, bin_dir):
    """Puts text on the Windows clipboard (through the build's set_clipboard.exe, which
    stays inside Wine: an X selection of a megabyte takes Wine far too long)."""
    path = os.path.join(bin_dir, "clipboard.%d.txt" % os.getpid())
    with open(path, "w", encoding="utf-8", newline="") as out:
        out.write(text)
    try:
        subprocess.run(["wine", os.path.join(bin_dir, "set_clipboard.exe"), path], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    finally:
        os.remove(path)


def drag(x0, y0, x1, y1):
    move(x0, y0)
    run("xdotool", "mousedown", "1")
    for step in range(1, 11):
        move(x0 + (x1 - x0) * step // 10, y0 + (y1 - y0) * step // 10)
    run("xdotool", "mouseup", "1")


class Screen:
    """A screenshot of the whole display as RGB pixels."""

    def __init__(self):
        size = run("xdpyinfo").split("dimensions:")[1].split()[0]
        self.width, self.height = (int(v) for v in size.split("x"))
        self.data = subprocess.run(["/usr/bin/import", "-window", "root", "-depth", "8", "rgb:-"],
                                   check=True, capture_output=True).stdout

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def count(self, left, top, width, height, colour):
        return sum(1 for y in range(top, top + height) for x in range(left, left + width)
                   if self.pixel(x, y) == colour)


def save_screenshot(path, window=None):
    target = ["-window", window] if window else ["-window", "root"]
    subprocess.run(["/usr/bin/import"] + target + [path], check=True)


class RequestLogger:
    """A loopback HTTP server that records the path of every request, then answers 200.
    Request lines of any length are taken (a stock server refuses those over 64 KB)."""

    MAX_LINE = 8 * 1024 * 1024

    def __init__(self, port=LOGGER_PORT):
        self.paths = []
        self.lock = threading.Condition()
        logger = self

        class Handler(socketserver.StreamRequestHandler):
            def handle(self):
                line = self.rfile.readline(RequestLogger.MAX_LINE).decode("latin-1")
                parts = line.split(" ")
                while self.rfile.readline(65536).strip():
                    pass  # the headers
                if len(parts) >= 2:
                    with logger.lock:
                        logger.paths.append(parts[1])
                        logger.lock.notify_all()
                body = b"<html><body>logged</body></html>"
                self.wfile.write(b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n"
                                 b"Content-Length: %d\r\n\r\n%s" % (len(body), body))

        socketserver.ThreadingTCPServer.allow_reuse_address = True
        self.server = socketserver.ThreadingTCPServer(("127.0.0.1", port), Handler)
        self.server.daemon_threads = True
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def wait_count(self, count, timeout=15.0):
        deadline = time.monotonic() + timeout
        with self.lock:
            while len(self.paths) < count:
                left = deadline - time.monotonic()
                if left <= 0:
                    raise AssertionError("expected %d requests, got %r" % (count, self.paths))
                self.lock.wait(left)
            return list(self.paths)

    def stop(self):
        self.server.shutdown()
        self.server.server_close()
