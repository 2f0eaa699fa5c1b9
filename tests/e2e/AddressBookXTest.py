"""The address book with real input: Ctrl+A on the main window opens it, a name and an address
typed into its edits and OK keep the contact in MailAddr.MLS, and the book shows it again when
it is opened the next time."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xsession import Options, Quillmere, XScreen, program_folder, wait_until  # noqa: E402

TITLE = "^EMail Address Book$"


def shoot(screen, name):
    folder = os.environ.get("QUILLMERE_SHOTS")
    if folder:
        os.makedirs(folder, exist_ok=True)
        screen.screenshot(os.path.join(folder, name))


def book_lines(program):
    try:
        return program.read_lines("MailAddr.MLS")
    except FileNotFoundError:
        return []


def click_button(screen, window, index):
    """Clicks one of the five buttons of the bottom row, counted from the left."""
    _, _, width, height = screen.geometry(window)
    step = (width - 26) // 5
    screen.xdotool("mousemove", "--window", window, "--sync", 13 + step * index + step // 2,
                   height - 20)
    screen.xdotool("click", 1)


def open_book(screen, program):
    screen.xdotool("windowactivate", "--sync", program.main_window)
    screen.key("ctrl+a")
    book = screen.wait_window(TITLE)
    screen.xdotool("windowactivate", "--sync", book)
    return book


def check_address_book():
    with XScreen() as screen, program_folder() as app_dir:
        Options(rect=(0, 0, 600, 900)).write(app_dir)
        with open(os.path.join(app_dir, "MailAddr.MLS"), "wb") as f:
            f.write(b"Bob | bob@example.org\r\n")
        with Quillmere(screen, app_dir) as program:
            book = open_book(screen, program)
            screen.type("Anna Smith")
            screen.key("Tab")
            screen.type("anna@example.org")
            click_button(screen, book, 0)
            wanted = ["Bob | bob@example.org", "Anna Smith | anna@example.org"]
            try:
                wait_until(lambda: book_lines(program) == wanted, 30,
                           f"MailAddr.MLS to hold {wanted}")
            except AssertionError as error:
                shoot(screen, "address-book-failed.png")
                raise AssertionError(f"{error}; it holds {book_lines(program)}") from None
            shoot(screen, "address-book.png")

            click_button(screen, book, 3)
            wait_until(lambda: not screen.find_windows(TITLE), 30, "the address book to close")
            open_book(screen, program)
            shoot(screen, "address-book-again.png")


if __name__ == "__main__":
    check_address_book()
    print("address book: passed")
