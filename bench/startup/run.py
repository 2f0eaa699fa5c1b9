#!/usr/bin/env python3
"""Start-up time, memory and idle cost of Quillmere beside bare Qt WebEngine windows (the floor).

Usage: bench/startup/run.py [BUILD_DIR] [--rounds N] [--idle SECONDS]

Every round runs each case once, one after the other, so that a change in the machine's load
touches all cases alike; the figures are the medians over the rounds, and the ratios compare
each Quillmere case with the floor showing the same number of pages.

- Start-up: from the start of the process to the first page's own load event, which requests
  /loaded from the loopback server.
- Memory: Private_Dirty of the whole process tree (every thread's children, so the web engine's
  helper processes count), read once every page has reported and the program has settled.
- Idle: processor time of the whole tree over --idle seconds with every page loaded.

Quillmere gets its addresses on the command line (`quillmere URL...`) in a program folder of
its own whose options open no page by themselves. The floor shows each page in a top-level view
of the browser window's size, 706 x 397, every one of them visible.
"""
import argparse
import datetime
import http.server
import os
import shutil
import statistics
import subprocess
import tempfile
import threading
import time

PAGE = b"""<!DOCTYPE html><html><head><title>Bench Page</title></head>
<body><h1>Bench page</h1><p>Some text to lay out.</p>
<script>window.addEventListener('load', function () { fetch('/loaded'); });</script>
</body></html>"""

HISTORY_DAYS, HISTORY_PER_DAY = 200, 500  # 100,000 entries
LISTS, PAGES_PER_LIST = 50, 100  # 5,000 list pages


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self):
        super().__init__(("127.0.0.1", 0), Handler)
        self.loaded = 0
        self.cond = threading.Condition()

    def reset(self):
        with self.cond:
            self.loaded = 0

    def wait_loaded(self, count, timeout=90):
        with self.cond:
            return self.cond.wait_for(lambda: self.loaded >= count, timeout)


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        if self.path.startswith("/loaded"):
            with self.server.cond:
                self.server.loaded += 1
                self.server.cond.notify_all()
            body = b"ok"
        else:
            body = PAGE
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(body)


def tree(pid):
    """The process and all its descendants: a child may hang below any of its threads."""
    pids = [pid]
    try:
        tasks = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return pids
    for task in tasks:
        try:
            children = open(f"/proc/{pid}/task/{task}/children").read().split()
        except OSError:
            continue
        for child in children:
            pids += tree(int(child))
    return pids


def private_dirty_mib(pid):
    total = 0
    for p in tree(pid):
        try:
            for line in open(f"/proc/{p}/smaps_rollup"):
                if line.startswith("Private_Dirty:"):
                    total += int(line.split()[1])
        except OSError:
            pass
    return total / 1024


def cpu_seconds(pid):
    ticks = 0
    for p in tree(pid):
        try:
            fields = open(f"/proc/{p}/stat").read().rsplit(")", 1)[1].split()
            ticks += int(fields[11]) + int(fields[12])  # utime, stime
        except (OSError, IndexError, ValueError):
            pass
    return ticks / os.sysconf("SC_CLK_TCK")


def environment(app_dir):
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    if os.geteuid() == 0:
        env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
    env["QUILLMERE_APPDIR"] = app_dir
    env["QUILLMERE_FAVORITES"] = os.path.join(app_dir, "Favorites")
    return env


def write_lines(path, lines):
    with open(path, "w", newline="", encoding="utf-8") as f:
        f.write("".join(line + "\r\n" for line in lines))


def big_files(folder):
    """History.Ini with 100,000 entries and list files with 5,000 pages, made once."""
    history = []
    first = datetime.date(2024, 1, 1)
    for day in range(HISTORY_DAYS):
        moment = first + datetime.timedelta(days=day)
        date = f"{moment.month}/{moment.day}/{moment.year % 100:02d}"
        history.append("## " + date)
        history += [f"Page {n} of day {day} - https://www.example.com/section/article-{n}.html"
                    f" - {date} 10:40:57 AM" for n in range(HISTORY_PER_DAY)]
    write_lines(os.path.join(folder, "History.Ini"), history)
    write_lines(os.path.join(folder, "WebPageList.INI"),
                [f"List{n}|@|Pages of list {n}|@||@|" for n in range(LISTS)])
    write_lines(os.path.join(folder, "WebPageListDtl.INI"),
                [f"List{n}|@|https://www.example.org/list{n}/page-{p}.html"
                 for n in range(LISTS) for p in range(PAGES_PER_LIST)])


def quillmere_folder(build, big):
    app_dir = tempfile.mkdtemp(prefix="qm-bench-")
    for name in ("Help", "Bmps"):
        shutil.copytree(os.path.join(build, name), os.path.join(app_dir, name))
    # No start, last or search page: only the addresses on the command line open.
    lines = ["", "", "", "", "0", "0", "780", "987", "450", "100", "400", "600"]
    write_lines(os.path.join(app_dir, "Options.INI"), lines + [""] * 11 + ["FALSE"] * 4)
    if big:
        for name in os.listdir(big):
            shutil.copy(os.path.join(big, name), app_dir)
    return app_dir


def measure(command, env, server, pages, idle):
    server.reset()
    start = time.monotonic()
    proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not server.wait_loaded(1):
            raise RuntimeError(f"{command[0]} never loaded the page")
        seconds = time.monotonic() - start
        if not server.wait_loaded(pages):
            raise RuntimeError(f"{command[0]} loaded {server.loaded} of {pages} pages")
        time.sleep(2)
        memory = private_dirty_mib(proc.pid)
        cpu = None
        if idle:
            before = cpu_seconds(proc.pid)
            time.sleep(idle)
            cpu = cpu_seconds(proc.pid) - before
        return seconds, memory, cpu
    finally:
        proc.terminate()
        try:
            proc.wait(20)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def cases(build, url):
    bare = os.path.join(build, "bench", "startup", "bench_bare_view")
    program = os.path.join(build, "quillmere")
    # name, command, pages, program folder (None: a bare one; "" plain; "big" long files), idle
    return [
        ("floor, 1 page", [bare, url, "1"], 1, None, False),
        ("quillmere, 1 page", [program, url], 1, "", False),
        ("quillmere, 1 page, long files", [program, url], 1, "big", False),
        ("floor, 10 pages", [bare, url, "10"], 10, None, True),
        ("quillmere, 10 windows", [program] + [url] * 10, 10, "", True),
    ]


def run_round(build, big, server, url, idle, results):
    for name, command, pages, folder, idles in cases(build, url):
        if folder is None:
            app_dir = tempfile.mkdtemp(prefix="qm-floor-")
        else:
            app_dir = quillmere_folder(build, big if folder == "big" else None)
        try:
            figures = measure(command, environment(app_dir), server, pages, idle if idles else 0)
        finally:
            shutil.rmtree(app_dir, ignore_errors=True)
        results.setdefault(name, []).append(figures)


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else float("nan")


def report(results):
    med = {name: tuple(median(column) for column in zip(*runs)) for name, runs in results.items()}
    for name, (seconds, memory, cpu) in med.items():
        idle = f"   idle CPU {cpu:.2f} s" if cpu == cpu else ""
        print(f"{name:31s} start {seconds:.3f} s   Private_Dirty {memory:7.1f} MiB{idle}")

    def ratio(case, floor, field):
        return med[case][field] / med[floor][field]

    f1, f10 = "floor, 1 page", "floor, 10 pages"
    q1, qbig, q10 = "quillmere, 1 page", "quillmere, 1 page, long files", "quillmere, 10 windows"
    rows = [
        ("start-up, 1 page", ratio(q1, f1, 0), 1.05),
        ("start-up, long files", ratio(qbig, f1, 0), 1.10),
        ("memory, 1 page", ratio(q1, f1, 1), 1.05),
        ("memory, 10 windows", ratio(q10, f10, 1), 1.03),
        ("idle CPU, 10 windows", ratio(q10, f10, 2), 1.20),
    ]
    print()
    print(f"{'target':24s} {'measured':>9s} {'target':>8s}")
    for what, value, target in rows:
        verdict = "met" if value <= target else "NOT met"
        print(f"{what:24s} {value:8.2f}x {target:7.2f}x  {verdict}")
    grown = med[qbig][1] - med[q1][1]
    print(f"{'long files, memory':24s} {grown:+7.1f} MiB   (history alone: bench/history)")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--idle", type=float, default=30)
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    server = Server()
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_port}/page"
    big = tempfile.mkdtemp(prefix="qm-bench-files-")
    results = {}
    try:
        big_files(big)
        for round_number in range(args.rounds):
            run_round(build, big, server, url, args.idle, results)
            print(f"round {round_number + 1} of {args.rounds} done", flush=True)
    finally:
        shutil.rmtree(big, ignore_errors=True)
        server.shutdown()
    report(results)


if __name__ == "__main__":
    main()
