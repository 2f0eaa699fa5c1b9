#!/usr/bin/env python3
"""Start-up time and memory of Quillmere beside bare Qt WebEngine windows (the floor).

Usage: bench/startup/run.py BUILD_DIR [ROUNDS]
Each round starts a program against a page on a loopback server; the page reports its own
load by requesting /loaded, which stops the clock. Memory is the proportional set size (PSS)
of the whole process tree, read from /proc once every page has reported.
"""
import http.server
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

PAGE = b"""<!DOCTYPE html><html><head><title>Bench Page</title></head>
<body><h1>Bench page</h1><p>Some text to lay out.</p>
<script>window.addEventListener('load', function () { fetch('/loaded'); });</script>
</body></html>"""


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self):
        super().__init__(("127.0.0.1", 0), Handler)
        self.loaded = 0
        self.cond = threading.Condition()

    def wait_loaded(self, count, timeout=60):
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
    pids = [pid]
    for child in open(f"/proc/{pid}/task/{pid}/children").read().split():
        pids += tree(int(child))
    return pids


def pss_mib(pid):
    total = 0
    for p in tree(pid):
        try:
            for line in open(f"/proc/{p}/smaps_rollup"):
                if line.startswith("Pss:"):
                    total += int(line.split()[1])
        except OSError:
            pass
    return total / 1024


def environment(app_dir):
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    if os.geteuid() == 0:
        env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
    env["QUILLMERE_APPDIR"] = app_dir
    env["QUILLMERE_FAVORITES"] = os.path.join(app_dir, "Favorites")
    return env


def quillmere_folder(build, url):
    app_dir = tempfile.mkdtemp(prefix="qm-bench-")
    for name in ("Help", "Bmps"):
        shutil.copytree(os.path.join(build, name), os.path.join(app_dir, name))
    lines = [url, "", "", "", "0", "0", "780", "987", "450", "100", "400", "600"]
    lines += [""] * 11 + ["FALSE"] * 4
    with open(os.path.join(app_dir, "Options.INI"), "w", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))
    return app_dir


def measure(command, env, server, pages):
    server.loaded = 0
    start = time.monotonic()
    proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        if not server.wait_loaded(1):
            raise RuntimeError(f"{command[0]} never loaded the page")
        seconds = time.monotonic() - start
        if not server.wait_loaded(pages):
            raise RuntimeError(f"{command[0]} loaded {server.loaded} of {pages} pages")
        time.sleep(2)
        return seconds, pss_mib(proc.pid)
    finally:
        proc.terminate()
        try:
            proc.wait(20)
        except subprocess.TimeoutExpired:
            proc.kill()


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    server = Server()
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_port}/page"
    bare = os.path.join(build, "bench", "startup", "bench_bare_view")
    many = os.path.join(build, "bench", "startup", "bench_quillmere_windows")
    program = os.path.join(build, "quillmere")

    results = {}
    for name, command, pages, folder in [
        ("floor, 1 page", [bare, url, "1"], 1, False),
        ("quillmere, 1 page", [program], 1, True),
        ("floor, 10 pages", [bare, url, "10"], 10, False),
        ("quillmere, 10 windows", [many, url, "9"], 10, True),
    ]:
        times, memory = [], []
        for _ in range(rounds):
            app_dir = quillmere_folder(build, url) if folder else tempfile.mkdtemp()
            try:
                seconds, pss = measure(command, environment(app_dir), server, pages)
            finally:
                shutil.rmtree(app_dir, ignore_errors=True)
            times.append(seconds)
            memory.append(pss)
        results[name] = (statistics.median(times), statistics.median(memory))
        print(f"{name:24s} start {results[name][0]:.3f} s   PSS {results[name][1]:.1f} MiB")

    f1, q1 = results["floor, 1 page"], results["quillmere, 1 page"]
    f10, q10 = results["floor, 10 pages"], results["quillmere, 10 windows"]
    print(f"start-up ratio          {q1[0] / f1[0]:.2f}x (target <= 1.15x)")
    print(f"memory ratio, 1 page    {q1[1] / f1[1]:.2f}x (target <= 1.05x)")
    print(f"memory ratio, 10 pages  {q10[1] / f10[1]:.2f}x (target <= 1.10x)")


if __name__ == "__main__":
    main()
