#!/usr/bin/env python3
"""A loopback HTTP server with sample files, for the demo run and the screenshots.

    demo_server.py FOLDER [--rate KB_PER_S] [--head-delay SECONDS]

Writes the sample files into FOLDER, serves them on 127.0.0.1 at a free port and prints
"port N" once it listens. Bodies are sent at about the given rate, so that a run can be
watched; size queries (HEAD) are answered after the given pause, so that the dialogs that
ask for sizes can be seen at work. Ends on SIGTERM or Ctrl-C.
"""
import argparse
import functools
import http.server
import os
import signal
import sys
import time

MB = 1024 * 1024
SAMPLES = {
    "handbuch.pdf": 6 * MB,
    "treiber.zip": 12 * MB,
    "setup.exe": 24 * MB,
    "bilder.zip": 3 * MB,
    "musik.mp3": 5 * MB,
    "video.avi": 16 * MB,
}


def write_samples(folder):
    os.makedirs(folder, exist_ok=True)
    block = bytes(range(256)) * 4096  # 1 MB
    for name, size in SAMPLES.items():
        path = os.path.join(folder, name)
        if os.path.exists(path) and os.path.getsize(path) == size:
            continue
        with open(path, "wb") as f:
            for _ in range(size // MB):
                f.write(block)


class Handler(http.server.SimpleHTTPRequestHandler):
    rate = 0  # bytes per second; 0: as fast as it goes
    head_delay = 0.0

    def do_HEAD(self):
        time.sleep(self.head_delay)
        super().do_HEAD()

    def copyfile(self, source, outputfile):
        start = time.monotonic()
        sent = 0
        while True:
            data = source.read(16384)
            if not data:
                return
            outputfile.write(data)
            sent += len(data)
            if self.rate:
                ahead = sent / self.rate - (time.monotonic() - start)
                if ahead > 0:
                    time.sleep(ahead)

    def log_message(self, format, *args):
        pass


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A cancelled download closes its connection in the middle of a body.
        if isinstance(sys.exc_info()[1], ConnectionError):
            return
        super().handle_error(request, client_address)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("--rate", type=int, default=0, help="KB per second for each body")
    parser.add_argument("--head-delay", type=float, default=0.0, help="seconds before a HEAD answer")
    args = parser.parse_args()
    write_samples(args.folder)
    Handler.rate = args.rate * 1024
    Handler.head_delay = args.head_delay
    handler = functools.partial(Handler, directory=args.folder)
    server = Server(("127.0.0.1", 0), handler)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    print(f"port {server.server_address[1]}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
