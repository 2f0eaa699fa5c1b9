"""The settings dialog in the whole program: opened from the Utilities menu with real keys, one
colour changed in the colour chooser, OK, and the main window shows the new colour at once and
Colors.Ini keeps it."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import Options, Quillmere, XScreen, program_folder, wait_until  # noqa: E402

MAGENTA = (255, 0, 255)
GREEN = (0, 192, 0)
TITLE = "^Set Quillmere Program Colors and Options"


def colors_ini(main_back):
    """Colors.Ini with the defaults, but a main colour of its own to find the box by."""
    red, green, blue = main_back
    lines = [red | green << 8 | blue << 16, 8421504, -16777208, -16777194, 0, -16777208,
             12632256, 0, 16777215, 0, 16777215, 0, -16777211, 8421504, -16777208, 32896,
             8421504, 8388608, -16777211, 8421504, 0]
    return "".join(f"{value}\r\n" for value in lines)


class Shot:
    """One screenshot of the whole screen, its pixels read from a binary PPM."""

    def __init__(self, screen, path):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                              env=screen.env(), check=True, capture_output=True).stdout
        fields, offset = [], 0
        while len(fields) < 4:
            end = offset
            while data[end:end + 1] not in (b" ", b"\n", b"\t", b"\r"):
                end += 1
            token = data[offset:end]
            offset = end + 1
            if token:
                fields.append(token)
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = data[offset:]
        screen.screenshot(path)

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def region(self, box):
        bx, by, bw, bh = box
        return b"".join(self.pixels[((y * self.width) + bx) * 3:((y * self.width) + bx + bw) * 3]
                        for y in range(by, min(by + bh, self.height)))

    def find_box(self, color, box, width=40):
        """Centre of a colour box about width pixels wide filled with color, inside box
        (x, y, w, h); None when there is none. Wider areas of the colour are not boxes."""
        bx, by, bw, bh = box
        rows = []
        for y in range(max(by, 0), min(by + bh, self.height)):
            x = max(bx, 0)
            while x < min(bx + bw, self.width):
                if self.at(x, y) != color:
                    x += 1
                    continue
                start = x
                while x < self.width and self.at(x, y) == color:
                    x += 1
                if width - 12 <= x - start <= width:
                    rows.append((start, x, y))
        if not rows:
            return None
        start, end, _ = rows[0]
        ys = [y for s, e, y in rows if (s, e) == (start, end)]
        return (start + end) // 2, (min(ys) + max(ys)) // 2


def main():
    shots = os.environ.get("QUILLMERE_SHOTS", ".")
    os.makedirs(shots, exist_ok=True)
    with XScreen() as screen, program_folder() as app_dir:
        # No page to open: the picture view fills the frame in the main colour.
        Options(rect=(0, 0, 760, 1000)).write(app_dir)
        with open(os.path.join(app_dir, "Colors.Ini"), "w", newline="") as f:
            f.write(colors_ini(MAGENTA))
        with Quillmere(screen, app_dir) as program:
            x, y, w, h = screen.geometry(program.main_window)
            # Right of the side panel, below the bars: the picture view.
            spot = (x + w * 3 // 4, y + h * 2 // 3)
            wait_until(lambda: Shot(screen, os.path.join(shots, "settings-before.png"))
                       .at(*spot) == MAGENTA, 30, "the main window in its main colour")

            screen.xdotool("windowactivate", "--sync", program.main_window)
            screen.key("alt+u")
            screen.key("Return")  # the first item: Set Application Colors
            dialog = screen.wait_window(TITLE)
            box = screen.geometry(dialog)
            shot = wait_until(lambda: (lambda s: s if s.find_box(MAGENTA, box) else None)(
                Shot(screen, os.path.join(shots, "settings-colors.png"))), 30,
                "the colour boxes painted")
            main_box = shot.find_box(MAGENTA, box)

            screen.click_at(*main_box, repeat=2)
            screen.wait_window("^Select Color")
            screen.key("alt+h")
            screen.key("ctrl+a")
            screen.type("#00c000")
            screen.key("Return")
            wait_until(lambda: not screen.find_windows("^Select Color"), 30,
                       "the colour chooser to close")
            wait_until(lambda: Shot(screen, os.path.join(shots, "settings-chosen.png"))
                       .at(*main_box) == GREEN, 30, "the box to show the chosen colour")

            # The other pages, for a person to look at: each waits until the dialog has changed.
            colors_page = Shot(screen, os.path.join(shots, "settings-colors-chosen.png"))
            screen.key("ctrl+Tab")
            options_page = wait_until(lambda: (lambda s: s if s.region(box) != colors_page.region(
                box) else None)(Shot(screen, os.path.join(shots, "settings-options.png"))), 30,
                "the options page")
            screen.key("ctrl+Tab")
            wait_until(lambda: Shot(screen, os.path.join(shots, "settings-email.png")).region(
                box) != options_page.region(box), 30, "the e-mail page")

            screen.xdotool("windowactivate", "--sync", dialog)
            screen.key("Return")  # OK is the default button
            wait_until(lambda: not screen.find_windows(TITLE), 30, "the dialog to close")
            wait_until(lambda: Shot(screen, os.path.join(shots, "settings-applied.png"))
                       .at(*spot) == GREEN, 30, "the main window in the new colour")
            wait_until(lambda: program.read_lines("Colors.Ini")[:1] == ["49152"], 30,
                       "Colors.Ini to keep the new colour")
            lines = program.read_lines("Colors.Ini")
            assert len(lines) == 21, lines
            assert lines[2] == "-16777208", "a desktop colour must stay a reference"
    print("settings dialog: colour applied and saved")


if __name__ == "__main__":
    main()
