"""The help window with real input: F1 on the main window opens it, typing in its search box
selects a topic, Enter opens that topic, and the window opens again where it was closed. The
quick tips show at start when the option is set."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xsession import Options, Quillmere, XScreen, program_folder, wait_until  # noqa: E402


def shots_dir():
    path = os.environ.get("QUILLMERE_SHOTS")
    if path:
        os.makedirs(path, exist_ok=True)
    return path


def shoot(screen, name):
    folder = shots_dir()
    if folder:
        screen.screenshot(os.path.join(folder, name))


def wait_title(screen, window, page):
    try:
        return wait_until(lambda: page in screen.window_name(window), 30,
                          f"the help window to show {page}")
    except AssertionError as error:
        raise AssertionError(f"{error}; its title is {screen.window_name(window)!r}") from None


def click_find_button(screen, window):
    """Clicks the Find button: the last of four at the right end of the tool strip. The pointer
    is placed relative to the window itself, which openbox has framed."""
    _, _, width, _ = screen.geometry(window)
    screen.xdotool("mousemove", "--window", window, "--sync", width - 24, 15)
    screen.xdotool("click", 1)


def search_and_open(screen, window, typed, page):
    screen.key("ctrl+a")
    screen.type(typed)
    screen.key("Return")
    wait_title(screen, window, page)


def check_help_window():
    with XScreen() as screen, program_folder() as app_dir:
        options = Options(rect=(0, 0, 700, 900))
        # The help window's left, top, height and width, as a user left them.
        options.lines[8:12] = ["450", "100", "500", "700"]
        options.write(app_dir)
        with Quillmere(screen, app_dir) as program:
            screen.xdotool("windowactivate", "--sync", program.main_window)
            screen.key("F1")
            help_window = screen.wait_window("^Help with ")
            wait_title(screen, help_window, "/Help/Index")
            shoot(screen, "help-contents.png")

            click_find_button(screen, help_window)
            search_and_open(screen, help_window, "running", "/Help/running_a_web_site_list")
            shoot(screen, "help-running-a-list.png")
            search_and_open(screen, help_window, "e-mail a", "/Help/e-mail address list")
            shoot(screen, "help-address-book.png")

            before = screen.geometry(help_window)
            # Closed as the user closes it: the window manager asks the window to close.
            screen.xdotool("windowactivate", "--sync", help_window)
            screen.key("alt+F4")
            wait_until(lambda: not screen.find_windows("^Help with "), 30,
                       "the help window to close")
            screen.xdotool("windowactivate", "--sync", program.main_window)
            screen.key("F1")
            again = screen.wait_window("^Help with ")
            wait_until(lambda: screen.geometry(again) == before, 30,
                       f"the help window back at {before}, not {screen.geometry(again)}")


def check_tips_at_start():
    with XScreen() as screen, program_folder() as app_dir:
        options = Options(rect=(0, 0, 700, 900))
        options.lines[26] = "TRUE"  # show the quick tips at start
        options.write(app_dir)
        with Quillmere(screen, app_dir):
            tips = screen.wait_window("^Getting Started with Quillmere")
            shoot(screen, "quick-tips-at-start.png")
            screen.xdotool("windowactivate", "--sync", tips)
            screen.key("Escape")
            wait_until(lambda: not screen.find_windows("^Getting Started with Quillmere"), 30,
                       "the quick tips window to close")


if __name__ == "__main__":
    check_tips_at_start()
    check_help_window()
    print("help window: passed")
