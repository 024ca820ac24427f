#!/usr/bin/env python3
"""Serves a folder over HTTP on 127.0.0.1 for scripts/demo.

Binds a free port chosen by the system, prints it on the first line of standard output,
then serves until it is terminated or, when PID is given, until that process is gone (so a
demo that is killed hard does not leave a server behind). Requests are logged on standard
error.
"""
import functools
import http.server
import os
import sys
import threading
import time


class Handler(http.server.SimpleHTTPRequestHandler):
    # The feed types, so the saver sees what a real feed server would send.
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".xml": "application/rss+xml",
        ".rdf": "application/rdf+xml",
        ".atom": "application/atom+xml",
    }


def alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        pass
    return True


def watch(server, pid):
    while alive(pid):
        time.sleep(1)
    server.shutdown()


def main():
    args = sys.argv[1:]
    usable = len(args) in (1, 2) and os.path.isdir(args[0])
    if not usable or (len(args) == 2 and not args[1].isdigit()):
        print("usage: demo-server.py FOLDER [PID]", file=sys.stderr)
        return 2
    handler = functools.partial(Handler, directory=args[0])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    print(server.server_address[1], flush=True)
    if len(args) == 2:
        threading.Thread(target=watch, args=(server, int(args[1])), daemon=True).start()
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
