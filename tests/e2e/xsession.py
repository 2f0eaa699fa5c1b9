"""The whole program on a real X screen: Xvfb, openbox as window manager, xdotool input.

Checks built on this drive Quillmere the way a person does: key presses go to whatever has
the focus, clicks land on whatever is under the pointer. Every wait is on a condition (a window
appearing, a file changing, a predicate turning true), bounded by a time-out, never a sleep.
"""

import contextlib
import http.server
import os
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time

DEFAULT_TIMEOUT = 60.0


def wait_until(predicate, timeout=DEFAULT_TIMEOUT, what="condition"):
    """Polls predicate until it returns a true value, which is returned; fails on time-out."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(0.05)


class XScreen:
    """A private X server with openbox on it, torn down with everything started on it."""

    def __init__(self, width=1280, height=1024):
        self.width, self.height = width, height
        self._procs = []
        self.display = None

    def __enter__(self):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{self.width}x{self.height}x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        self._procs.append(xvfb)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = f":{number}"
        try:
            wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env(),
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self._procs.append(wm)
            wait_until(self._window_manager_running, 90, "openbox to manage the screen")
        except BaseException:
            # A with-block whose entry fails never reaches __exit__: take the screen down here.
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        for proc in reversed(self._procs):
            with contextlib.suppress(ProcessLookupError):
                proc.terminate()
            with contextlib.suppress(subprocess.TimeoutExpired):
                proc.wait(5)
            if proc.poll() is None:
                proc.kill()
                proc.wait()

    def env(self, extra=None):
        env = dict(os.environ)
        env.pop("QT_QPA_PLATFORM", None)
        env.pop("WAYLAND_DISPLAY", None)
        env["DISPLAY"] = self.display
        if extra:
            env.update(extra)
        return env

    def _window_manager_running(self):
        out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env(),
                             capture_output=True, text=True)
        return "window id" in out.stdout

    def xdotool(self, *args, timeout=DEFAULT_TIMEOUT):
        out = subprocess.run(["xdotool", *map(str, args)], env=self.env(), capture_output=True,
                             text=True, timeout=timeout)
        return out.stdout.strip()

    def key(self, *keys):
        """Keys to the window that has the focus, as a keyboard sends them."""
        self.xdotool("key", "--clearmodifiers", *keys)

    def type(self, text):
        self.xdotool("type", "--delay", "15", text)

    def click_at(self, x, y, button=1, repeat=1):
        self.xdotool("mousemove", "--sync", x, y)
        self.xdotool("click", "--repeat", repeat, button)

    def drag(self, start, end):
        """Presses at start, moves in steps to end and releases there, as a hand does."""
        self.xdotool("mousemove", "--sync", *start)
        self.xdotool("mousedown", 1)
        sx, sy = start
        ex, ey = end
        for step in range(1, 11):
            self.xdotool("mousemove", "--sync", sx + (ex - sx) * step // 10,
                         sy + (ey - sy) * step // 10)
        self.xdotool("mouseup", 1)

    def find_windows(self, name_pattern):
        out = self.xdotool("search", "--onlyvisible", "--name", name_pattern)
        return [int(w) for w in out.split()] if out else []

    def wait_window(self, name_pattern, timeout=DEFAULT_TIMEOUT):
        """The first visible window whose title matches, once openbox has mapped it."""
        return wait_until(lambda: (self.find_windows(name_pattern) or [None])[0], timeout,
                          f"a window named /{name_pattern}/")

    def window_name(self, window):
        return self.xdotool("getwindowname", window)

    def active_window_name(self):
        return self.xdotool("getactivewindow", "getwindowname")

    def geometry(self, window):
        """(x, y, width, height) of a window's client area on the screen."""
        out = self.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env(), check=True,
                       capture_output=True)


class Options:
    """Builds the 27 lines of Options.INI the program reads at start."""

    def __init__(self, start_page="", last_page="", search_page="", rect=(60, 40, 800, 1100)):
        self.lines = [""] * 27
        self.lines[0] = start_page
        self.lines[1] = last_page
        self.lines[2] = search_page
        # The file keeps the rectangle as left, top, height, width.
        self.lines[4:8] = [str(value) for value in rect]
        for flag in (23, 24, 25, 26):
            self.lines[flag] = "FALSE"

    def write(self, app_dir):
        with open(os.path.join(app_dir, "Options.INI"), "w", encoding="utf-8", newline="") as f:
            f.write("".join(line + "\r\n" for line in self.lines))


class Quillmere:
    """The real executable on an XScreen, in a program folder of its own."""

    def __init__(self, screen, app_dir, favorites=None, args=()):
        self.screen = screen
        self.app_dir = app_dir
        self.favorites = favorites or os.path.join(app_dir, "Favorites")
        self.args = list(args)
        self.proc = None
        self.log_path = os.path.join(app_dir, "program.log")

    @staticmethod
    def executable():
        return os.environ.get("QUILLMERE_BIN", "quillmere")

    def start(self):
        env = self.screen.env({
            "QUILLMERE_APPDIR": self.app_dir,
            "QUILLMERE_FAVORITES": self.favorites,
            "QTWEBENGINE_DISABLE_SANDBOX": "1",
            "QTWEBENGINE_CHROMIUM_FLAGS":
                "--disable-gpu --no-sandbox --disable-background-networking",
        })
        self._log = open(self.log_path, "ab")
        self.proc = subprocess.Popen([self.executable(), *self.args], env=env,
                                     stdout=self._log, stderr=subprocess.STDOUT)
        self.main_window = self.screen.wait_window("^(.* - )?Quillmere$")
        wait_until(lambda: os.path.isdir(os.path.join(self.app_dir, "WebPages")), 60,
                   "start-up to make the WebPages folder")
        return self

    def stop(self, timeout=30):
        """Asks the program to close as the desktop does at log-out, and waits for its end."""
        if self.proc and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(timeout)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
                raise AssertionError("the program did not end after SIGTERM")
        if getattr(self, "_log", None):
            self._log.close()
            self._log = None
        return self.proc.returncode if self.proc else None

    def file(self, name):
        return os.path.join(self.app_dir, name)

    def read_lines(self, name):
        with open(self.file(name), "rb") as f:
            return f.read().decode("utf-8", "replace").splitlines()

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        with contextlib.suppress(Exception):
            self.stop()


class FixtureServer:
    """Serves a folder of pages on 127.0.0.1 at a free port, for the life of a with-block, and
    keeps the paths asked for, in order, in served."""

    def __init__(self, folder):
        self.folder = folder
        self.served = []

    def __enter__(self):
        folder = self.folder
        served = self.served

        class Handler(http.server.SimpleHTTPRequestHandler):
            def __init__(self, *args, **kwargs):
                super().__init__(*args, directory=folder, **kwargs)

            def do_GET(self):
                served.append(self.path)
                super().do_GET()

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()
        return self

    def url(self, path):
        return f"http://127.0.0.1:{self.httpd.server_port}/{path.lstrip('/')}"

    def __exit__(self, *exc):
        self.httpd.shutdown()
        self.httpd.server_close()


def fixture_pages():
    return os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures", "pages")


@contextlib.contextmanager
def program_folder(prefix="quillmere-e2e-"):
    path = tempfile.mkdtemp(prefix=prefix)
    try:
        yield path
    finally:
        shutil.rmtree(path, ignore_errors=True)
