"""The main window under a window manager with real X input: start, browse, close."""

import os
import re
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import (FixtureServer, Options, Quillmere, XScreen, fixture_pages,  # noqa: E402
                      program_folder, wait_until)

SHOTS = os.environ.get("QUILLMERE_SHOTS", "")


def shot(screen, name):
    if SHOTS:
        os.makedirs(SHOTS, exist_ok=True)
        screen.screenshot(os.path.join(SHOTS, name))


def wait_active(screen, pattern):
    """Waits until the window with the keyboard focus has a title matching pattern."""
    return wait_until(lambda: re.search(pattern, screen.active_window_name() or ""),
                      what=f"the focused window to be /{pattern}/")


def history_entries(program):
    return [line for line in program.read_lines("History.Ini")
            if line and not line.startswith("## ")]


def is_maximised(screen, window):
    state = subprocess.run(["xprop", "-id", str(window), "_NET_WM_STATE"], env=screen.env(),
                           capture_output=True, text=True).stdout
    return "_NET_WM_STATE_MAXIMIZED_VERT" in state and "_NET_WM_STATE_MAXIMIZED_HORZ" in state


def double_click_title_bar(screen, window):
    """How a hand maximises or restores a window under openbox."""
    # xwininfo gives the client's true corner; xdotool's geometry adds the frame to it.
    info = subprocess.run(["xwininfo", "-id", str(window)], env=screen.env(),
                          capture_output=True, text=True).stdout
    value = dict(line.strip().split(":", 1) for line in info.splitlines() if ":" in line)
    x = int(value["Absolute upper-left X"])
    y = int(value["Absolute upper-left Y"])
    width = int(value["Width"])
    screen.click_at(x + width // 2, y - 8, repeat=2)


def write_pages(folder, pages):
    for name, html in pages.items():
        with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
            f.write(html)


class MainWindowXTest(unittest.TestCase):
    def test_start_page_loads_and_is_recorded_at_close(self):
        with XScreen() as screen, FixtureServer(fixture_pages()) as pages, \
                program_folder() as app_dir:
            Options(start_page=pages.url("alpha.htm")).write(app_dir)
            program = Quillmere(screen, app_dir)
            with program:
                window = screen.wait_window("^Alpha Page - Quillmere$")
                shot(screen, "main-window.png")
                # The program's own picture reaches the task bar.
                icon = subprocess.run(["xprop", "-id", str(window), "_NET_WM_ICON"],
                                      env=screen.env(), capture_output=True, text=True).stdout
                self.assertIn("Icon (", icon)
                self.assertEqual(program.stop(), 0)
            history = program.read_lines("History.Ini")
            self.assertTrue(history[0].startswith("## "), history)
            self.assertTrue(any(line.startswith("Alpha Page - " + pages.url("alpha.htm"))
                                for line in history), history)
            options = program.read_lines("Options.INI")
            self.assertEqual(len(options), 27)
            # The start page is never taken as the last page.
            self.assertEqual(options[0], pages.url("alpha.htm"))
            self.assertEqual(options[1], "")

    def test_typed_addresses_open_with_enter(self):
        with XScreen() as screen, FixtureServer(fixture_pages()) as pages, \
                program_folder() as app_dir:
            Options().write(app_dir)
            program = Quillmere(screen, app_dir)
            with program:
                wait_active(screen, "^Quillmere$")
                # Ctrl+L takes the keyboard to the address box from wherever it is.
                screen.key("ctrl+l")
                screen.type(pages.url("alpha.htm"))
                screen.key("Return")
                screen.wait_window("^Alpha Page - Quillmere$")
                shot(screen, "typed-address.png")
                screen.key("ctrl+l")
                screen.type(pages.url("beta.htm"))
                screen.key("KP_Enter")
                screen.wait_window("^Beta Page - Quillmere$")
                self.assertEqual(program.stop(), 0)
            visited = history_entries(program)
            self.assertEqual(len(visited), 2, visited)
            self.assertTrue(visited[0].startswith("Alpha Page - " + pages.url("alpha.htm")))
            self.assertTrue(visited[1].startswith("Beta Page - " + pages.url("beta.htm")))

    def test_window_keeps_its_place_over_three_starts(self):
        with XScreen() as screen, program_folder() as app_dir:
            Options(rect=(60, 40, 800, 1100)).write(app_dir)
            places = []
            saved = []
            for _ in range(3):
                program = Quillmere(screen, app_dir)
                with program:
                    window = screen.wait_window("^Quillmere$")
                    places.append(screen.geometry(window))
                    self.assertEqual(program.stop(), 0)
                saved.append(program.read_lines("Options.INI")[4:8])
            # The window manager may put its frame at the saved corner; what counts is that
            # the window neither moves nor changes size from one start to the next.
            self.assertEqual(places, [places[0]] * 3)
            self.assertEqual(places[0][2:], (1100, 800))
            self.assertLessEqual(abs(places[0][0] - 60) + abs(places[0][1] - 40), 40, places)
            self.assertEqual(saved, [["60", "40", "800", "1100"]] * 3)

    def test_maximised_window_comes_back_maximised(self):
        with XScreen() as screen, program_folder() as app_dir:
            Options(rect=(60, 40, 600, 800)).write(app_dir)
            program = Quillmere(screen, app_dir)
            with program:
                window = screen.wait_window("^Quillmere$")
                double_click_title_bar(screen, window)
                wait_until(lambda: is_maximised(screen, window), what="the window to maximise")
                self.assertEqual(program.stop(), 0)
            lines = program.read_lines("Options.INI")
            self.assertEqual(lines[4:8], ["60", "40", "600", "800"])
            self.assertEqual(lines[27:], ["TRUE"])

            program = Quillmere(screen, app_dir)
            with program:
                window = screen.wait_window("^Quillmere$")
                wait_until(lambda: is_maximised(screen, window),
                           what="the window to come back maximised")
                # Un-maximising returns to the rectangle the user had before.
                double_click_title_bar(screen, window)
                wait_until(lambda: screen.geometry(window)[2:] == (800, 600),
                           what="the window to return to 800 x 600")
                self.assertEqual(program.stop(), 0)
            self.assertEqual(len(program.read_lines("Options.INI")), 27)

    def test_refresh_reloads_its_own_page_while_another_changes_address(self):
        with XScreen() as screen, tempfile.TemporaryDirectory() as folder, \
                FixtureServer(folder) as pages, program_folder() as app_dir:
            write_pages(folder, {
                "changer.htm": "<html><head><title>Changer</title></head><body><script>"
                               "let n = 0; setInterval(() => history.replaceState({}, '',"
                               " 'changer.htm?step=' + ++n), 100);</script></body></html>",
                "mine.htm": "<html><head><title>Mine</title></head><body><script>"
                            "document.title = 'Mine ' + Date.now();</script></body></html>",
            })
            Options().write(app_dir)
            program = Quillmere(screen, app_dir)
            with program:
                wait_active(screen, "^Quillmere$")
                for page, title in (("mine.htm", "^Mine [0-9]+"), ("changer.htm", "^Changer")):
                    screen.key("ctrl+l")
                    screen.type(pages.url(page))
                    screen.key("Return")
                    screen.wait_window(title + " - Quillmere$")
                # Back to the first window; the other goes on reporting new addresses.
                screen.key("alt+w")
                screen.key("1")
                first = wait_until(lambda: re.match(r"^Mine \d+ - Quillmere$",
                                                    screen.active_window_name() or ""),
                                   what="the first window to come to the front").group(0)
                screen.key("F5")
                mine = re.compile(r"^Mine \d+ - Quillmere$")
                reloaded = wait_until(
                    lambda: (lambda name: name if name != first and mine.match(name) else None)(
                        screen.active_window_name() or ""),
                    what="the first window to reload its own page")
                self.assertNotEqual(reloaded, first)
                self.assertEqual(program.stop(), 0)

    def test_thirty_windows_keep_readable_tabs(self):
        title = "Page with a long title that goes on well past any tab width"
        with XScreen() as screen, tempfile.TemporaryDirectory() as folder, \
                FixtureServer(folder) as pages, program_folder() as app_dir:
            write_pages(folder, {
                "long.htm": f"<html><head><title>{title}</title></head><body>long</body></html>",
                "last.htm": "<html><head><title>The Last One</title></head><body>last</body></html>",
            })
            Options(start_page=pages.url("long.htm")).write(app_dir)
            program = Quillmere(screen, app_dir)
            with program:
                wait_active(screen, "^Page with.* - Quillmere$")
                for _ in range(29):
                    screen.key("ctrl+n")
                # Keys are handled in order: once the typed page is up, the 29 others exist.
                screen.key("ctrl+l")
                screen.type(pages.url("last.htm"))
                screen.key("Return")
                screen.wait_window("^The Last One - Quillmere$")
                shot(screen, "thirty-tabs.png")
                self.assertEqual(program.stop(), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
