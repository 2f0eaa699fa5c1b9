"""Quillmere as a desktop program, checked on a real X screen (Xvfb with openbox, xdotool).

A second start hands its addresses to the running program and exits 0; --version answers
without a display; xdg-open reaches the running program when Quillmere is the default browser;
a start after SIGKILL offers the windows that were open and reopens them.
Every wait is on a condition with a time-out, never a fixed sleep.
"""

import contextlib
import functools
import http.server
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import unittest
from pathlib import Path

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession  # noqa: E402
from xsession import wait_until  # noqa: E402

BIN = os.environ.get("QUILLMERE_BIN", "quillmere")
PAGES = Path(__file__).resolve().parent.parent / "fixtures" / "pages"


def file_url(path):
    return Path(path).resolve().as_uri()


class XScreen(xsession.XScreen):
    """The shared X screen, with the engine's settings in every environment and an xdotool
    that can tell a failed call from an empty answer."""

    def env(self, extra=None):
        env = super().env(extra)
        env.setdefault("QTWEBENGINE_DISABLE_SANDBOX", "1")
        env.setdefault("QTWEBENGINE_CHROMIUM_FLAGS",
                       "--disable-gpu --no-sandbox --disable-background-networking")
        return env

    def xdotool(self, *args, check=True, timeout=xsession.DEFAULT_TIMEOUT):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env(),
                                capture_output=True, text=True, timeout=timeout)
        if result.returncode != 0:
            if check:
                raise AssertionError(f"xdotool {' '.join(map(str, args))}: {result.stderr}")
            return None
        return result.stdout

    def active_window(self):
        """Name, width and height of the window with the focus, or None."""
        window = self.xdotool("getactivewindow", check=False)
        if not window:
            return None
        name = self.xdotool("getwindowname", window.strip(), check=False)
        shape = self.xdotool("getwindowgeometry", "--shell", window.strip(), check=False)
        if name is None or shape is None:
            return None
        size = dict(line.split("=", 1) for line in shape.split())
        return name.strip(), int(size["WIDTH"]), int(size["HEIGHT"])


class Program:
    """One run of Quillmere over a program folder, killed if a check leaves it running."""

    def __init__(self, screen, app_dir, *addresses, cwd=None):
        self.process = subprocess.Popen(
            [BIN, "--appdir", str(app_dir), *addresses], env=screen.env(), cwd=cwd,
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)

    def stop(self, signal_number=signal.SIGTERM):
        if self.process.poll() is None:
            self.process.send_signal(signal_number)
        try:
            return self.process.wait(60)
        finally:
            self.process.stderr.close()

    def kill_if_running(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.process.stderr.close()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class DesktopXTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.app_dir = Path(self.tmp.name) / "program"
        self.app_dir.mkdir()
        # Options that open no page of their own: only the pages under test are windows.
        options = [""] * 27
        options[4:12] = ["0"] * 8
        options[23:27] = ["FALSE"] * 4
        (self.app_dir / "Options.INI").write_bytes(("\r\n".join(options) + "\r\n").encode())
        (self.app_dir / "Favorites").mkdir()
        os.environ["QUILLMERE_FAVORITES"] = str(self.app_dir / "Favorites")
        self.programs = []

    def tearDown(self):
        for program in self.programs:
            program.kill_if_running()
        self.tmp.cleanup()

    def start(self, screen, *addresses, cwd=None):
        program = Program(screen, self.app_dir, *addresses, cwd=cwd)
        self.programs.append(program)
        return program

    def session_lines(self):
        with contextlib.suppress(FileNotFoundError):
            text = (self.app_dir / "Session.Ini").read_bytes().decode()
            return [line for line in text.split("\r\n") if line]
        return None

    def wait_for_session(self, expected, what):
        wait_until(lambda: self.session_lines() == expected, 90, what)

    def test_version_needs_no_display(self):
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        env.pop("QT_QPA_PLATFORM", None)
        result = subprocess.run([BIN, "--version"], env=env, capture_output=True, text=True,
                                timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertRegex(result.stdout, r"^Quillmere \d+\.\d+\.\d+\n$")

    def test_second_start_hands_its_addresses_to_the_first(self):
        with XScreen() as screen:
            first = self.start(screen)
            # A search can meet the splash as it goes (BadWindow): ask again until the frame shows.
            wait_until(lambda: screen.xdotool("search", "--onlyvisible", "--name",
                                              "^(.* - )?Quillmere$", check=False),
                       90, "the main window")
            self.wait_for_session(["RUNNING"], "the first program to keep its windows")

            # Relative file paths from the second start's own folder.
            second = self.start(screen, "alpha.htm", "beta.htm", cwd=PAGES)
            self.assertEqual(second.process.wait(60), 0, second.process.stderr.read())
            self.wait_for_session(
                ["RUNNING", file_url(PAGES / "alpha.htm"), file_url(PAGES / "beta.htm")],
                "the handed-over pages to open in the first program")
            self.assertIsNone(first.process.poll())
            self.assertEqual(first.stop(), 0)
            self.assertEqual(self.session_lines(), ["CLOSED"])

    @unittest.skipUnless(shutil.which("xdg-open"), "xdg-utils is not installed")
    def test_xdg_open_reaches_the_running_program(self):
        """With Quillmere as the default browser, xdg-open hands a web address to it."""
        home = Path(self.tmp.name)
        apps = home / "share" / "applications"
        apps.mkdir(parents=True)
        desktop = (Path(__file__).resolve().parents[2] / "packaging" / "quillmere.desktop")
        entry = desktop.read_text().replace(
            "Exec=quillmere %U", f"Exec={BIN} --appdir {self.app_dir} %U")
        (apps / "quillmere.desktop").write_text(entry)
        (home / "config").mkdir()
        (home / "config" / "mimeapps.list").write_text(
            "[Default Applications]\nx-scheme-handler/http=quillmere.desktop\n"
            "x-scheme-handler/https=quillmere.desktop\ntext/html=quillmere.desktop\n")
        handler = functools.partial(QuietHandler, directory=str(PAGES))
        with http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler) as server:
            threading.Thread(target=server.serve_forever, daemon=True).start()
            address = f"http://127.0.0.1:{server.server_address[1]}/beta.htm"
            with XScreen() as screen:
                first = self.start(screen)
                self.wait_for_session(["RUNNING"], "the first program to keep its windows")
                env = screen.env()
                env.update(XDG_DATA_HOME=str(home / "share"), XDG_CONFIG_HOME=str(home / "config"),
                           XDG_DATA_DIRS=str(home / "share"), XDG_CURRENT_DESKTOP="")
                env.pop("BROWSER", None)
                result = subprocess.run(["xdg-open", address], env=env, capture_output=True,
                                        text=True, timeout=60)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.wait_for_session(["RUNNING", address], "xdg-open's address to open")
                self.assertEqual(first.stop(), 0)
            server.shutdown()

    def test_start_after_kill_offers_the_lost_windows(self):
        pages = [file_url(PAGES / "alpha.htm"), file_url(PAGES / "beta.htm")]
        with XScreen() as screen:
            killed = self.start(screen, *pages)
            self.wait_for_session(["RUNNING", *pages], "the pages of the first run")
            killed.stop(signal.SIGKILL)

            again = self.start(screen)
            # The question is a small window captioned like the program, with the focus.
            wait_until(lambda: (lambda w: w and w[0].startswith("Quillmere") and w[1] < 700)(
                screen.active_window()), 90, "the question to reopen the lost windows")
            # Until it is answered the lost windows stay on file.
            self.assertEqual(self.session_lines(), ["RUNNING", *pages])
            screen.xdotool("key", "--clearmodifiers", "Return")
            self.wait_for_session(["RUNNING", *pages], "the lost windows to open again")
            wait_until(lambda: screen.active_window() and screen.active_window()[1] >= 700, 30,
                       "the question to go")
            self.assertEqual(again.stop(), 0)
            self.assertEqual(self.session_lines(), ["CLOSED"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
