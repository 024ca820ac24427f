#!/usr/bin/env python3
"""The long run behind scripts/soak: ROOT MINUTES.

Everything it starts (the feed server thread, Xvfb, the saver) it stops again, by the
process ids it recorded. Samples go to standard output as a table; the verdict is the exit
status (0 sound, 1 a failure, 2 a wrong argument).
"""
import gzip
import http.server
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

SAMPLE_SECONDS = 30
MEMORY_GROWTH = 1.20  # resident memory at the end against minute 5
DESCRIPTOR_SLACK = 4  # descriptors may come and go with downloads in flight


def rss_item(i, title_words=6):
    return (f"<item><title>{'Story ' * title_words}{i}</title>"
            f"<link>http://127.0.0.1/story/{i}</link>"
            f"<description>&lt;p&gt;Paragraph {i} of a long feed.&lt;/p&gt;</description></item>")


def rss(title, items):
    return (f'<?xml version="1.0"?><rss version="2.0"><channel><title>{title}</title>'
            f"<link>http://127.0.0.1/</link><description>soak</description>{items}"
            "</channel></rss>").encode()


LARGE = rss("Large feed", "".join(rss_item(i) for i in range(4000)))
LONG_TITLE = rss("A runaway title " * 600, "".join(rss_item(i) for i in range(30)))
BROKEN = rss("Broken", rss_item(1))[:-40]


class Handler(http.server.BaseHTTPRequestHandler):
    demo = ""

    def log_message(self, *args):
        pass

    def send(self, body, status=200, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path = self.path
        try:
            if path.startswith("/feeds/"):
                with open(os.path.join(self.demo, path.lstrip("/")), "rb") as f:
                    self.send(f.read())
            elif path == "/large.xml":
                self.send(LARGE)
            elif path == "/long-title.xml":
                self.send(LONG_TITLE)
            elif path == "/gzip.xml":
                self.send(gzip.compress(LARGE), headers=[("Content-Encoding", "gzip")])
            elif path == "/broken.xml":
                self.send(BROKEN)
            elif path == "/page.html":
                self.send(b"<html><body>Not a feed</body></html>",
                          headers=[("Content-Type", "text/html")])
            elif path == "/slow.xml":
                # A byte every half second: the download's overall limit ends it.
                self.send_response(200)
                self.send_header("Content-Length", "100000")
                self.end_headers()
                for _ in range(100000):
                    self.wfile.write(b" ")
                    self.wfile.flush()
                    time.sleep(0.5)
            else:
                self.send(b"not here", status=404)
        except (BrokenPipeError, ConnectionResetError):
            pass


def closed_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def write_settings(folder, port):
    base = f"http://127.0.0.1:{port}"
    feeds = {
        "Riverton News": f"{base}/feeds/town.xml",
        "Science Notes": f"{base}/feeds/science.atom",
        "Camera Club": f"{base}/feeds/club.rdf",
        "Release Notes": f"{base}/feeds/releases.xml",
        "Large": f"{base}/large.xml",
        "Compressed": f"{base}/gzip.xml",
        "Runaway title": f"{base}/long-title.xml",
        "Broken": f"{base}/broken.xml",
        "Missing": f"{base}/missing.xml",
        "Web page": f"{base}/page.html",
        "Refused": f"http://127.0.0.1:{closed_port()}/feed.xml",
        "Slow": f"{base}/slow.xml",
    }
    lines = ["[feeds]"] + [f"{n}={u}" for n, u in feeds.items()]
    lines += ["[usefeed]"] + [f"{n}=1" for n in feeds]
    # Every pass downloads again, so that the soak keeps the network path busy.
    lines += ["[set]", "BlogInterval=1", "ImageInterval=1", "EffectSpeed2=1", "FeedRefresh=0"]
    with open(os.path.join(folder, "Pelwick.ini"), "w") as f:
        f.write("\n".join(lines) + "\n")


def start_xvfb(work):
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1920x1080x24",
                             "-nolisten", "tcp"], pass_fds=(write,),
                            stderr=open(os.path.join(work, "xvfb.log"), "w"))
    os.close(write)
    number = b""
    with os.fdopen(read, "rb") as r:
        while not number.endswith(b"\n"):
            chunk = r.read(1)
            if not chunk:
                break
            number += chunk
    if not number.strip():
        xvfb.kill()
        raise SystemExit("scripts/soak: Xvfb did not start")
    return xvfb, ":" + number.decode().strip()


def sample(pid):
    with open(f"/proc/{pid}/status") as f:
        status = dict(line.split(":", 1) for line in f if ":" in line)
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return {
        "rss_mb": int(status["VmRSS"].split()[0]) / 1024,
        "cpu_s": (int(fields[11]) + int(fields[12])) / ticks,
        "fds": len(os.listdir(f"/proc/{pid}/fd")),
        "threads": int(status["Threads"]),
    }


def stop(process, wait=5):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(wait)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    return process.returncode


def main():
    if len(sys.argv) != 3 or not sys.argv[2].isdigit() or int(sys.argv[2]) < 1:
        print("usage: scripts/soak [MINUTES]   (a whole number of minutes, at least 1)",
              file=sys.stderr)
        return 2
    root, minutes = sys.argv[1], int(sys.argv[2])
    work = tempfile.mkdtemp(prefix="pelwick-soak-")
    folder = os.path.join(work, "demo")
    shutil.copytree(os.path.join(root, "resources", "demo"), folder)
    Handler.demo = folder
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    write_settings(folder, server.server_address[1])

    xvfb, display = start_xvfb(work)
    env = dict(os.environ, DISPLAY=display, PELWICK_HOME=folder,
               no_proxy="127.0.0.1,localhost", NO_PROXY="127.0.0.1,localhost",
               XDG_RUNTIME_DIR=os.path.join(work, "runtime"),
               XDG_CACHE_HOME=os.path.join(work, "cache"))
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    log = open(os.path.join(work, "saver.log"), "w")
    saver = subprocess.Popen([os.path.join(root, "build", "pelwick"), "/s"], env=env,
                             stdout=log, stderr=subprocess.STDOUT)
    failures, samples = [], []
    print(f"scripts/soak: {minutes} minutes on Xvfb {display}, saver pid {saver.pid}, "
          f"log {log.name}", flush=True)
    print(f"{'minute':>7} {'RSS MB':>8} {'CPU s':>8} {'CPU %':>6} {'fds':>5} {'threads':>8}")
    started = time.monotonic()
    try:
        while time.monotonic() - started < minutes * 60:
            time.sleep(min(SAMPLE_SECONDS, max(0.1, minutes * 60 - (time.monotonic() - started))))
            if saver.poll() is not None:
                failures.append(f"the saver ended by itself with status {saver.returncode}")
                break
            s = sample(saver.pid)
            s["minute"] = (time.monotonic() - started) / 60
            previous = samples[-1] if samples else {"cpu_s": 0, "minute": 0}
            share = 100 * (s["cpu_s"] - previous["cpu_s"]) / max(
                1e-9, 60 * (s["minute"] - previous["minute"]))
            samples.append(s)
            print(f"{s['minute']:7.1f} {s['rss_mb']:8.1f} {s['cpu_s']:8.1f} {share:6.1f} "
                  f"{s['fds']:5d} {s['threads']:8d}", flush=True)
    finally:
        status = stop(saver)
        stop(xvfb)
        server.shutdown()
    if not failures and status != 0:
        failures.append(f"the saver ended with status {status} on SIGTERM")
    if len(samples) >= 2:
        # Minute 5 of an hour; half way through a shorter run.
        mark = min(5.0, minutes / 2)
        base = next(s for s in samples if s["minute"] >= mark - 0.01)
        last = samples[-1]
        if last["rss_mb"] > MEMORY_GROWTH * base["rss_mb"]:
            failures.append(f"resident memory grew from {base['rss_mb']:.1f} MB at minute "
                            f"{base['minute']:.1f} to {last['rss_mb']:.1f} MB")
        if last["fds"] > base["fds"] + DESCRIPTOR_SLACK:
            failures.append(f"descriptors grew from {base['fds']} to {last['fds']}")
    for failure in failures:
        print("scripts/soak: FAILED: " + failure)
    if not failures:
        print("scripts/soak: sound")
        shutil.rmtree(work, ignore_errors=True)
    else:
        print(f"scripts/soak: the run's files stay in {work}")
    return 1 if failures else 0


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    sys.exit(main())
