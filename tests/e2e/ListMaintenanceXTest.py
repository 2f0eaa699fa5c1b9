"""List maintenance with real input: a list is created, described and given an icon through
the picture chooser, saved, and appears on the Lists page, where it takes the page being viewed.
A list saved in the dialog and not yet written reaches the file when the program is quit with
the dialog still open."""

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xsession import (FixtureServer, Options, Quillmere, XScreen, fixture_pages,  # noqa: E402
                      program_folder, wait_until)

DIALOG = "^Create and Maintain Web Page Lists"
CHOOSER = "^Select 16x16 Bitmap for Icon"

# Where the designed controls sit, from the top left of the dialog's client area.
TOOL_ROW = 35
ADD_BUTTON = (326, TOOL_ROW)
SAVE_BUTTON = (382, TOOL_ROW)
FIND_BUTTON = (441, TOOL_ROW)
ICON_FIELD = (410, 162)
# And from the top left of the main window's client area.
ADD_TO_LIST_BUTTON = (258, 43)
FIRST_LIST_NODE = (150, 108)
LIST_MAIN_BUTTON = (40, 77)


def shoot(screen, name):
    folder = os.environ.get("QUILLMERE_SHOTS")
    if folder:
        os.makedirs(folder, exist_ok=True)
        screen.screenshot(os.path.join(folder, name))


def write_bitmap(path):
    """A 16 x 16 24-bit bitmap: a blue square on white."""
    rows = []
    for y in range(16):
        row = b"".join(b"\xc0\x40\x10" if 3 <= x <= 12 and 3 <= y <= 12 else b"\xff\xff\xff"
                       for x in range(16))
        rows.append(row)
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, 16, 16, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def click_in(screen, window, at, repeat=1):
    screen.xdotool("mousemove", "--window", window, "--sync", *at)
    screen.xdotool("click", "--repeat", repeat, "--delay", 80, 1)


def open_dialog(screen, program):
    screen.xdotool("windowactivate", "--sync", program.main_window)
    screen.key("alt+l")
    screen.key("Return")  # the first item: Create Web Page/Web Site List
    return screen.wait_window(DIALOG)


def read_text(path):
    if not os.path.exists(path):
        return ""
    with open(path, "rb") as f:
        return f.read().decode("utf-8", "replace")


def create_described_list_with_icon(screen, program, icon):
    dialog = open_dialog(screen, program)
    click_in(screen, dialog, ADD_BUTTON)  # proposes "New List 1" and moves to the description
    screen.type("Morning reading")
    click_in(screen, dialog, ICON_FIELD, repeat=2)
    chooser = screen.wait_window(CHOOSER)
    screen.type(icon)
    screen.key("Return")
    wait_until(lambda: not screen.find_windows(CHOOSER), 30, "the picture chooser to close")
    click_in(screen, dialog, SAVE_BUTTON)
    shoot(screen, "list-maintenance.png")

    click_in(screen, dialog, FIND_BUTTON)
    finder = screen.wait_window("^Find Lists")
    screen.type("new list 1 - m")
    screen.key("Return")
    shoot(screen, "find-list.png")
    screen.key("Escape")
    wait_until(lambda: not screen.find_windows("^Find Lists"), 30, "the find window to close")
    del finder

    screen.xdotool("windowactivate", "--sync", dialog)
    screen.key("alt+F4")
    list_file = program.file("WebPageList.INI")
    expected = f"New List 1|@|Morning reading|@|{icon}|@|\r\n"
    wait_until(lambda: read_text(list_file) == expected, 30,
               f"the list file to hold {expected!r}, not {read_text(list_file)!r}")
    del chooser


def check_list_maintenance():
    with XScreen() as screen, program_folder() as app_dir, \
            FixtureServer(fixture_pages()) as server:
        icon = os.path.join(app_dir, "news.bmp")
        write_bitmap(icon)
        page = server.url("alpha.htm")
        Options(start_page=page, rect=(600, 0, 900, 680)).write(app_dir)
        with Quillmere(screen, app_dir) as program:
            create_described_list_with_icon(screen, program, icon)
            # No current list yet: the button only brings the Lists page forward.
            click_in(screen, program.main_window, ADD_TO_LIST_BUTTON)
            shoot(screen, "list-on-lists-page.png")
            click_in(screen, program.main_window, FIRST_LIST_NODE)
            click_in(screen, program.main_window, ADD_TO_LIST_BUTTON)

            # This time by the Lists page's own button.
            click_in(screen, program.main_window, LIST_MAIN_BUTTON)
            dialog = screen.wait_window(DIALOG)
            click_in(screen, dialog, ADD_BUTTON)
            screen.key("ctrl+a")  # the description field still shows the first list's
            screen.type("Saved, then quit")
            click_in(screen, dialog, SAVE_BUTTON)
            # Quit with the dialog open, as a desktop log-out does.
            program.stop()

        lists = read_text(os.path.join(app_dir, "WebPageList.INI"))
        assert lists == (f"New List 1|@|Morning reading|@|{icon}|@|\r\n"
                         f"New List 2|@|Saved, then quit|@|{icon}|@|\r\n"), lists
        details = read_text(os.path.join(app_dir, "WebPageListDtl.INI"))
        assert details == f"New List 1|@|{page}\r\n", details


if __name__ == "__main__":
    check_list_maintenance()
    print("list maintenance: passed")
