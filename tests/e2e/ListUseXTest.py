"""Web page lists in use, with real input: a list of three pages on the loopback server runs
as a show at "3 Seconds" from the runner window and stops at its end; the add-pages and auto
collect windows open from the Lists menu. Every wait is on a condition, never a sleep."""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xsession import (FixtureServer, Options, Quillmere, XScreen, program_folder,  # noqa: E402
                      wait_until)

PAGES = ("one", "two", "three")


def show_pages(folder):
    """Three small pages of the show, written into folder."""
    for name in PAGES:
        with open(os.path.join(folder, name + ".htm"), "w", encoding="utf-8") as f:
            f.write(f"<html><head><title>Show {name}</title></head>"
                    f"<body><h1>Page {name}</h1></body></html>")
    return folder


def asked_for(server):
    """The show's page names in the order the program asked for them."""
    names = [path.strip("/").removesuffix(".htm") for path in server.served]
    return [name for name in names if name in PAGES]


def shoot(screen, name):
    folder = os.environ.get("QUILLMERE_SHOTS")
    if folder:
        os.makedirs(folder, exist_ok=True)
        screen.screenshot(os.path.join(folder, name))


def write_list(app_dir, server):
    with open(os.path.join(app_dir, "WebPageList.INI"), "w", newline="") as f:
        f.write("Show|@|three local pages|@||@|\r\nSpare|@|nothing yet|@||@|\r\n")
    with open(os.path.join(app_dir, "WebPageListDtl.INI"), "w", newline="") as f:
        f.write("".join(f"Show|@|{server.url(name + '.htm')}\r\n" for name in PAGES))


def log_has(program, text):
    with open(program.log_path, "rb") as f:
        return text in f.read().decode("utf-8", "replace")


# Where the Lists menu's title and items stand in the main window, for the frame's fonts:
# every item keeps its place whether or not it is enabled.
LISTS_MENU = (97, 8)
MENU_ITEMS = {"add": 51, "run": 73, "collect": 97}


def program_windows(screen, program):
    """The program's windows on the screen, its pop-up menus included."""
    out = screen.xdotool("search", "--onlyvisible", "--pid", program.proc.pid)
    return set(out.split())


def open_from_lists_menu(screen, program, item, title):
    """The Lists menu by the mouse: a click on its title, then one on the item."""
    screen.xdotool("windowactivate", "--sync", program.main_window)
    before = program_windows(screen, program)
    screen.xdotool("mousemove", "--window", program.main_window, "--sync", *LISTS_MENU)
    screen.xdotool("click", 1)
    wait_until(lambda: program_windows(screen, program) - before, 30, "the Lists menu to open")
    screen.xdotool("mousemove", "--window", program.main_window, "--sync", LISTS_MENU[0] + 43,
                   MENU_ITEMS[item])
    screen.xdotool("click", 1)
    try:
        return screen.wait_window(title)
    except AssertionError:
        shoot(screen, f"no-{item}-window.png")
        raise


def click_first_button(screen, window):
    """The first of the three buttons along the bottom edge of a dialog."""
    _, _, width, height = screen.geometry(window)
    screen.xdotool("mousemove", "--window", window, "--sync", width // 6, height - 22)
    screen.xdotool("click", 1)


def check_show_runs_and_stops():
    with XScreen() as screen, program_folder() as app_dir, tempfile.TemporaryDirectory() as pages, \
            FixtureServer(show_pages(pages)) as server:
        Options(rect=(300, 0, 720, 960)).write(app_dir)
        write_list(app_dir, server)
        with Quillmere(screen, app_dir) as program:
            look_at_add_pages_and_auto_collect(screen, program)
            runner = open_from_lists_menu(screen, program, "run", "^Run Web Page List$")
            screen.xdotool("windowactivate", "--sync", runner)
            screen.key("Down")  # the first list, "Show", chosen in the focused list box
            shoot(screen, "list-runner.png")
            click_first_button(screen, runner)
            wait_until(lambda: log_has(program, 'Running the list "Show" of 3 pages'), 30,
                       "the run to start")
            wait_until(lambda: log_has(program, "The list run ended after its last page"), 90,
                       "the run to end after its last page")
            shoot(screen, "list-runner-ended.png")
            assert asked_for(server) == list(PAGES), f"pages asked for: {asked_for(server)}"


def shows_something(screen, window, region):
    """Whether a region (x, y, width, height) of a window holds more than one colour."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "window.png")
        subprocess.run(["import", "-window", str(window), path], env=screen.env(), check=True,
                       capture_output=True)
        x, y, width, height = region
        out = subprocess.run(["convert", path, "-crop", f"{width}x{height}+{x}+{y}", "-format",
                              "%[fx:standard_deviation]", "info:"], capture_output=True, text=True)
        return float(out.stdout or 0) > 0.01


def close_window(screen, window, title):
    screen.xdotool("windowactivate", "--sync", window)
    screen.key("Escape")
    wait_until(lambda: not screen.find_windows(title), 30, f"the window /{title}/ to close")


def look_at_add_pages_and_auto_collect(screen, program):
    """Both open from the Lists menu and show the lists; screenshots for a person to see."""
    title = "^Add Web Pages to Web Page Play List$"
    add = open_from_lists_menu(screen, program, "add", title)
    screen.xdotool("mousemove", "--window", add, "--sync", 45, 22)
    screen.xdotool("click", 1)  # the first list's icon: its pages fill the box below
    wait_until(lambda: shows_something(screen, add, (20, 190, 300, 50)), 30,
               "the chosen list's pages in the box")
    shoot(screen, "add-pages.png")
    close_window(screen, add, title)
    title = "^Automatically Collect Web Sites for List$"
    collect = open_from_lists_menu(screen, program, "collect", title)
    shoot(screen, "auto-collect.png")
    close_window(screen, collect, title)

if __name__ == "__main__":
    check_show_runs_and_stops()
    print("lists in use: passed")
