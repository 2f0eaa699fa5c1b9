"""The mail window with real input against the loopback mail servers: one person adds a contact
in the address book, double-clicks it into the To box, adds a second address and three
pictures, and sends them zipped; the other receives the message, sees the archive unpacked and
listed, and opens a picture in a browser window by double click."""

import glob
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xsession import Options, Quillmere, XScreen, program_folder, wait_until  # noqa: E402

MAIL_TITLE = "^Send and Receive EMail with Pictures$"
BOOK_TITLE = "^EMail Address Book$"
DOCS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs")

# The window's fixed layout: the tool bar of ten buttons (60 wide, the last 30) above the panel
# whose controls stand where the window's design puts them.
TOOLBAR_HEIGHT = 46
BUTTONS = ["Receive", "Send", "Mode", "Forward", "Reply", "Add All", "Contacts", "Add", "Go"]


def servers():
    path = os.environ["MAIL_SERVERS_ENV"]
    with open(path) as f:
        return dict(line.strip().split("=", 1) for line in f if "=" in line)


def client_origin(screen, window):
    """Where a window's client area starts on the screen, as the X server has it."""
    out = subprocess.run(["xwininfo", "-id", str(window)], env=screen.env(),
                         capture_output=True, text=True, check=True).stdout
    x = re.search(r"Absolute upper-left X:\s+(-?\d+)", out).group(1)
    y = re.search(r"Absolute upper-left Y:\s+(-?\d+)", out).group(1)
    return int(x), int(y)


def write_crlf(path, lines):
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode())


def write_account(app_dir, env, user):
    write_crlf(os.path.join(app_dir, "MailAccount.Ini"), [
        "0", "127.0.0.1", env["IMAP_PORT"], "0", f"{user}@quillmere.test", "",
        "0", "127.0.0.1", env["SMTP_PORT"], "0", "FALSE", "/usr/sbin/sendmail"])


def write_png(path, rgb):
    """A 32 x 32 picture of one colour."""
    width = height = 32
    rows = b"".join(b"\0" + bytes(rgb) * width for _ in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2,
                                                                 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def delivered(env, user):
    box = os.path.join(env["MAIL_DIR"], "mail", f"{user}@quillmere.test")
    return glob.glob(os.path.join(box, "new", "*")) + glob.glob(os.path.join(box, "cur", "*"))


def logins(env, user):
    with open(os.path.join(env["MAIL_DIR"], "dovecot.log"), errors="replace") as f:
        return f.read().count(f"Login: user=<{user}@quillmere.test>")


class MailWindow:
    def __init__(self, screen, program, key):
        self.screen = screen
        screen.xdotool("windowactivate", "--sync", program.main_window)
        screen.key(key)
        self.window = screen.wait_window(MAIL_TITLE)
        self.x, self.y = client_origin(screen, self.window)

    def click(self, x, y, repeat=1):
        self.screen.click_at(self.x + x, self.y + y, repeat=repeat)

    def button(self, caption):
        self.click(4 + BUTTONS.index(caption) * 62 + 30, 3 + 20)

    def field(self, x, y, repeat=1):
        """A place on the panel under the tool bar."""
        self.click(x, TOOLBAR_HEIGHT + y, repeat)

    def shoot(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        self.screen.xdotool("windowactivate", "--sync", self.window)
        subprocess.run(["import", "-window", str(self.window), path], env=self.screen.env(),
                       check=True, capture_output=True)


def answer_password(screen, program, password, env, user):
    """The sign-on asks for the password in a box of its own, over the mail window."""
    before = logins(env, user)

    def password_box():
        return [w for w in screen.find_windows("^Quillmere$") if w != program.main_window]
    box = wait_until(lambda: (password_box() or [None])[0], 60, "the password question")
    screen.xdotool("windowactivate", "--sync", box)
    screen.type(password)
    screen.key("Return")
    wait_until(lambda: logins(env, user) > before, 60, f"{user} to sign on")


def choose_file(screen, path):
    dialog = screen.wait_window("^Find Files and Add to Attachment List$")
    screen.xdotool("windowactivate", "--sync", dialog)
    screen.type(path)
    screen.key("Return")
    wait_until(lambda: not screen.find_windows("^Find Files and Add to Attachment List$"), 30,
               "the file chooser to close")


def shots_folder():
    return os.environ.get("QUILLMERE_SHOTS") or tempfile.gettempdir()


def send_pictures(screen, env, pictures):
    with program_folder() as app_dir:
        options = Options(rect=(0, 640, 700, 620))
        options.lines[12] = "fred@quillmere.test"
        options.write(app_dir)
        write_account(app_dir, env, "fred")
        with Quillmere(screen, app_dir) as program:
            mail = MailWindow(screen, program, "ctrl+s")
            answer_password(screen, program, "fred-secret", env, "fred")

            # A contact added in the book and double-clicked into the To box.
            mail.button("Contacts")
            book = screen.wait_window(BOOK_TITLE)
            screen.xdotool("windowactivate", "--sync", book)
            screen.type("Ivy")
            screen.key("Tab")
            screen.type("ivy@quillmere.test")
            _, _, width, height = screen.geometry(book)
            step = (width - 26) // 5
            bx, by = client_origin(screen, book)
            screen.click_at(bx + 13 + step // 2, by + height - 20)
            wait_until(lambda: os.path.exists(os.path.join(app_dir, "MailAddr.MLS")), 30,
                       "the contact to be saved")
            screen.click_at(bx + 60, by + 60, repeat=2)
            screen.key("Escape")
            wait_until(lambda: not screen.find_windows(BOOK_TITLE), 30, "the book to close")

            screen.xdotool("windowactivate", "--sync", mail.window)
            mail.field(336 + 200, 6 + 11)
            screen.key("End")
            screen.type(";hugo@quillmere.test")
            mail.field(336 + 100, 58 + 11)
            screen.type("Three pictures")
            mail.field(336 + 100, 84 + 20)
            screen.type("Here they are.")
            for picture in pictures:
                mail.field(250 + 12, 248 + 12)
                choose_file(screen, picture)
            mail.shoot(os.path.join(shots_folder(), "mail-send.png"))

            mail.button("Send")
            for user in ("ivy", "hugo"):
                wait_until(lambda: len(delivered(env, user)) == 1, 60, f"the message to {user}")
            mail.shoot(os.path.join(shots_folder(), "mail-sent.png"))
            screen.key("Escape")
            wait_until(lambda: os.path.exists(program.file("EMail.Log")), 30, "the e-mail log")
            log = program.read_lines("EMail.Log")
            expected = [f"{p} - {to}" for p in pictures
                        for to in ("ivy@quillmere.test", "hugo@quillmere.test")]
            got = [" - ".join(line.split(" - ")[:2]) for line in log]
            assert got == expected, f"EMail.Log holds {log}"
            zip_path = os.path.join(os.path.dirname(pictures[0]), "a.Zip")
            assert os.path.exists(zip_path), "the archive beside the first picture"


def receive_and_open(screen, env):
    with program_folder() as app_dir:
        # The main window beside the mail window, so the opened picture shows.
        Options(rect=(640, 40, 900, 630)).write(app_dir)
        write_account(app_dir, env, "ivy")
        with Quillmere(screen, app_dir) as program:
            mail = MailWindow(screen, program, "ctrl+r")
            answer_password(screen, program, "ivy-secret", env, "ivy")
            unpacked = os.path.join(app_dir, "Mail", "*", "*", "a", "*.png")
            names = wait_until(lambda: sorted(os.path.basename(p) for p in glob.glob(unpacked))
                               == ["a.png", "b.png", "c.png"], 60, "the archive to be unpacked")
            assert names
            mail.shoot(os.path.join(shots_folder(), "mail-receive.png"))
            # The first name on the attachment list, double-clicked.
            mail.field(336 + 40, 226 + 9, repeat=2)

            def session_has_picture():
                try:
                    return any("a.png" in line for line in program.read_lines("Session.Ini"))
                except FileNotFoundError:
                    return False
            wait_until(session_has_picture, 60, "a.png to open in a browser window")
            screen.screenshot(os.path.join(shots_folder(), "mail-picture-opened.png"))


def check_mail_window():
    env = servers()
    os.environ["QUILLMERE_NO_SECRET_STORE"] = "1"
    for user in ("ivy", "hugo"):
        shutil.rmtree(os.path.join(env["MAIL_DIR"], "mail", f"{user}@quillmere.test"),
                      ignore_errors=True)
    with XScreen() as screen, tempfile.TemporaryDirectory() as photos:
        pictures = []
        for name, colour in (("a.png", (200, 40, 40)), ("b.png", (40, 160, 40)),
                             ("c.png", (40, 40, 200))):
            pictures.append(os.path.join(photos, name))
            write_png(pictures[-1], colour)
        try:
            send_pictures(screen, env, pictures)
            receive_and_open(screen, env)
        except BaseException:
            screen.screenshot(os.path.join(shots_folder(), "mail-failed.png"))
            raise
    if os.environ.get("QUILLMERE_DOCS_SHOTS"):
        for name in ("mail-send.png", "mail-receive.png"):
            shutil.copy(os.path.join(shots_folder(), name), os.path.join(DOCS, name))


if __name__ == "__main__":
    check_mail_window()
    print("mail window: passed")
