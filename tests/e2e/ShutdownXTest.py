"""A shutdown asked for by a signal always ends, on a real X screen (Xvfb, openbox).

SIGTERM with a program folder gone read-only ends the program in order, the failed saves told
on stderr rather than in a box nobody answers; a signal while start-up shows a box still ends
it; a hang-up ignored by nohup stays ignored. Waits are on conditions, never sleeps.
"""

import contextlib
import os
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import Options, Quillmere, XScreen, wait_until  # noqa: E402

def signal_mask(pid, field):
    """The set of signal numbers in a /proc status mask (SigCgt, SigIgn ...)."""
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith(field + ":"):
                mask = int(line.split()[1], 16)
                return {n for n in range(1, 65) if mask & (1 << (n - 1))}
    return set()


@contextlib.contextmanager
def read_only_over(path):
    """Lays a read-only view of path over it: what the running program opens by name from now
    on cannot be written, though the files it holds open stay as they were."""
    subprocess.run(["mount", "--bind", str(path), str(path)], check=True)
    try:
        subprocess.run(["mount", "-o", "remount,bind,ro", str(path)], check=True)
        yield
    finally:
        subprocess.run(["umount", "-l", str(path)], check=False)


class ShutdownXTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = Path(self.tmp.name)
        self.app_dir = self.root / "program"
        self.app_dir.mkdir()
        self.log = self.root / "program.log"
        self.procs = []

    def tearDown(self):
        for proc in self.procs:
            if proc.poll() is None:
                proc.kill()
                proc.wait()
        self.tmp.cleanup()

    def popen(self, screen, preexec=None):
        env = screen.env({
            "QUILLMERE_APPDIR": str(self.app_dir),
            "QUILLMERE_FAVORITES": str(self.root / "Favorites"),
            "QTWEBENGINE_DISABLE_SANDBOX": "1",
            "QTWEBENGINE_CHROMIUM_FLAGS":
                "--disable-gpu --no-sandbox --disable-background-networking",
        })
        with open(self.log, "ab") as log:
            proc = subprocess.Popen([Quillmere.executable()], env=env, stdout=log,
                                    stderr=subprocess.STDOUT, preexec_fn=preexec)
        self.procs.append(proc)
        return proc

    def log_text(self):
        return self.log.read_bytes().decode("utf-8", "replace")

    def end_by_signal(self, proc, number=signal.SIGTERM):
        """Sends the signal; returns the exit code and the seconds the program took."""
        started = time.monotonic()
        proc.send_signal(number)
        try:
            code = proc.wait(60)
        except subprocess.TimeoutExpired:
            self.fail(f"the program did not end after signal {number}:\n{self.log_text()}")
        return code, time.monotonic() - started

    def test_read_only_folder_ends_at_once_and_tells_stderr(self):
        if os.geteuid() != 0:
            self.skipTest("needs root to lay a read-only mount over the program folder")
        # The start page moves on to another: the session names that one only once it has
        # loaded, and with it the visit is in the history.
        pages = self.root / "pages"
        pages.mkdir()
        (pages / "arrived.htm").write_text("<title>Arrived</title><p>here")
        (pages / "start.htm").write_text(
            '<meta http-equiv="refresh" content="0;url=arrived.htm"><title>Start</title>')
        arrived = (pages / "arrived.htm").as_uri()
        with XScreen() as screen:
            Options(start_page=(pages / "start.htm").as_uri()).write(str(self.app_dir))
            proc = self.popen(screen)
            session = self.app_dir / "Session.Ini"
            wait_until(lambda: session.exists() and arrived in session.read_text("latin-1"), 90,
                       "the start page to move on and be visited")
            with read_only_over(self.app_dir):
                code, seconds = self.end_by_signal(proc)
            print(f"SIGTERM with a read-only program folder: ended in {seconds:.2f} s",
                  file=sys.stderr)
            # An orderly end (not the grace period's), the lost save told, not asked about.
            self.assertEqual(code, 0, self.log_text())
            self.assertIn("Quillmere: ", self.log_text())
            self.assertIn("History.Ini", self.log_text())
            self.assertFalse((self.app_dir / "History.Ini").exists())

    def test_signal_while_start_up_shows_a_box(self):
        # A file where the pages folder belongs stops start-up with an error box.
        (self.app_dir / "WebPages").write_bytes(b"not a folder")
        with XScreen() as screen:
            proc = self.popen(screen)
            box = screen.wait_window("^Quillmere$", 90)
            shots = os.environ.get("QUILLMERE_SHOTS")
            if shots:
                screen.screenshot(os.path.join(shots, "shutdown-startup-box.png"))
            self.assertLess(screen.geometry(box)[2], 700, "expected the small error box")
            code, _ = self.end_by_signal(proc)
            self.assertEqual(code, 0, self.log_text())

    def test_signal_during_start_up(self):
        with XScreen() as screen:
            proc = self.popen(screen)
            # As soon as the program takes the signal at all: before any window exists.
            wait_until(lambda: proc.poll() is not None or
                       signal.SIGTERM in signal_mask(proc.pid, "SigCgt"), 30,
                       "the program to catch SIGTERM")
            code, _ = self.end_by_signal(proc)
            self.assertEqual(code, 0, self.log_text())
            self.assertFalse((self.app_dir / "History.Ini").exists())

    def test_hang_up_stays_ignored_under_nohup(self):
        with XScreen() as screen:
            proc = self.popen(screen, preexec=lambda: signal.signal(signal.SIGHUP, signal.SIG_IGN))
            screen.wait_window("^Quillmere", 90)
            self.assertIn(signal.SIGHUP, signal_mask(proc.pid, "SigIgn"))
            self.assertIn(signal.SIGTERM, signal_mask(proc.pid, "SigCgt"))
            self.assertIn(signal.SIGINT, signal_mask(proc.pid, "SigCgt"))
            code, _ = self.end_by_signal(proc)
            self.assertEqual(code, 0, self.log_text())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
