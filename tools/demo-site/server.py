#!/usr/bin/env python3
"""The Kesto demo site: web pages, update list and signed release feed on 127.0.0.1.

    server.py --port 8080 --packages DIR [--feed DIR] [--updater-seconds S] [--broken KEY]
              [--log FILE]

Serves, on one port:
  /topapp, /csapp, /app, /ad/, /pay/    the web pages the platform shows, offering the
                                        applications of the packages folder (--packages)
  /app/pkg/<key>/<key>.gif              their tiles, which the pages show
  /app/up/1.txt                         the update list; its [up] block names the updater's
                                        version and address in the feed, its second field empty
  /app/feed.json, /app/feed.json.sig    the signed release feed and its releases' files, from
  /app/feed/...                         the folder tools/publish/publish.py publishes into (--feed)

Applications, the updater and the platform come only from the feed. --updater-seconds spreads
the bytes of the feed's up.qmz over that many seconds, so that a progress bar can be watched;
--broken KEY serves the application file <KEY>.qmz of release KEY with bytes that differ from
what the feed says of it, as a file changed on the way would. Prints
"serving on http://127.0.0.1:<port>" once it listens.
"""

import argparse
import hashlib
import json
import os
import re
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urljoin, urlsplit

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue  # noqa: E402
import pages  # noqa: E402

UPDATER_RELEASE, UPDATER_FILE = "up", "up.qmz"
RANGE_PATTERN = re.compile(r"^\s*bytes\s*=\s*(\d*)\s*-\s*(\d*)\s*$")


class DemoSite:
    def __init__(self, options, port):
        self.options = options
        self.port = port
        self.log_lock = threading.Lock()

    def apps(self):
        # Read on every request, so packages added while the site runs show up.
        return catalogue.load(self.options.packages)

    def feed_address(self):
        return f"http://127.0.0.1:{self.port}/app/feed.json"

    def update_list(self):
        """The list names the updater the feed offers; without one it has no [up] block. The
        platform takes the updater from the signed feed itself, so the list carries no
        signature."""
        text = "Kesto update list\r\n"
        release = self.feed_release(UPDATER_RELEASE)
        for entry in release.get("files", []) if isinstance(release, dict) else []:
            if isinstance(entry, dict) and entry.get("name") == UPDATER_FILE:
                url = urljoin(self.feed_address(), str(entry.get("url", "")))
                text += f"[up]{release.get('version', '')}||{url}[/up]\r\n"
                break
        return text

    def feed_release(self, name):
        """A release of the published feed as it stands, None when there is none."""
        if not self.options.feed:
            return None
        try:
            with open(os.path.join(self.options.feed, "feed.json"), encoding="utf-8") as f:
                releases = json.load(f).get("releases", {})
        except (OSError, ValueError, AttributeError):
            return None
        return releases.get(name) if isinstance(releases, dict) else None

    def log(self, line):
        if not self.options.log:
            return
        with self.log_lock, open(self.options.log, "a", encoding="utf-8") as f:
            f.write(line + "\n")


def parse_range(header, size):
    """(start, end) inclusive for a single satisfiable "bytes=a-b" range, else None."""
    match = RANGE_PATTERN.match(header or "")
    if not match or (match.group(1) == "" and match.group(2) == ""):
        return None
    first, last = match.group(1), match.group(2)
    if first == "":  # suffix range: the last n bytes
        length = min(int(last), size)
        return (size - length, size - 1) if length > 0 else None
    start = int(first)
    end = min(int(last), size - 1) if last else size - 1
    return (start, end) if start <= end else None


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "KestoDemo/1.0"

    @property
    def site(self):
        return self.server.site

    def log_message(self, format, *args):  # noqa: A002 - the base class's name
        if self.site.options.verbose:
            sys.stderr.write("demo-site: " + (format % args) + "\n")

    def do_HEAD(self):
        self.respond(head_only=True)

    def do_GET(self):
        self.respond(head_only=False)

    def respond(self, head_only):
        self.extra_headers = []  # lines of this response only: a connection serves many
        path, _, query = self.path.partition("?")
        path = urlsplit(path).path
        apps = self.site.apps()
        status = 200
        if path in ("/csapp", "/csapp/"):
            self.send_page(pages.catalogue(apps, "首次使用？点击应用即可自动下载添加"), head_only)
        elif path in ("/app", "/app/"):
            self.send_page(pages.catalogue(apps, "全部应用 · 点击自动下载添加"), head_only)
        elif path in ("/topapp", "/topapp/"):
            self.send_page(pages.side_panel(apps), head_only)
        elif path in ("/ad", "/ad/"):
            self.send_page(pages.advert(), head_only)
        elif path in ("/pay", "/pay/"):
            self.send_page(pages.purchase(apps), head_only)
        elif path == "/pay/done":
            key = parse_qs(query).get("app", [""])[0]
            self.send_page(pages.purchase(apps, done_key=key), head_only)
        elif path == "/":
            self.send_page(pages.index(apps, self.site.port), head_only)
        elif path == "/app/up/1.txt":
            self.send_bytes(self.site.update_list().encode("ascii"), "text/plain", head_only)
        elif path.startswith("/app/pkg/"):
            status = self.send_tile(path, apps, head_only)
        elif self.site.options.feed and (path in ("/app/feed.json", "/app/feed.json.sig")
                                         or path.startswith("/app/feed/")):
            status = self.send_feed_file(path[len("/app/"):], head_only)
        else:
            status = self.send_not_found(head_only)
        self.site.log(f"{self.command} {path} {status}")

    def send_page(self, body, head_only):
        self.send_bytes(body, "text/html; charset=utf-8", head_only)

    def send_bytes(self, body, content_type, head_only):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-cache")
        self.end_headers()
        if not head_only:
            self.wfile.write(body)

    def send_not_found(self, head_only):
        body = b"not found\n"
        self.send_response(404)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if not head_only:
            self.wfile.write(body)
        return 404

    def send_tile(self, path, apps, head_only):
        parts = path[len("/app/pkg/"):].split("/")
        app = next((a for a in apps if a.key == parts[0]), None) if len(parts) == 2 else None
        file_path = app.file_path(parts[1]) if app and parts[1] == app.key + ".gif" else None
        data = read_bytes(file_path) if file_path else None
        if data is None:
            return self.send_not_found(head_only)
        return self.send_data(data, head_only)

    def send_feed_file(self, relative, head_only):
        root = os.path.realpath(self.site.options.feed)
        file_path = os.path.realpath(os.path.join(root, relative))
        data = read_bytes(file_path) if file_path.startswith(root + os.sep) else None
        if data is None:
            return self.send_not_found(head_only)
        # A release's file is feed/<release>/<version>/<name>.
        parts = relative.split("/")
        release, name = (parts[1], parts[3]) if len(parts) == 4 else (None, None)
        seconds = 0.0
        if (release, name) == (UPDATER_RELEASE, UPDATER_FILE):
            seconds = self.site.options.updater_seconds
        if release and release == self.site.options.broken and name == release + ".qmz":
            data = tampered(data)
        # A feed the updater already has costs it one small answer.
        tag = '"' + hashlib.sha256(data).hexdigest()[:32] + '"'
        if self.headers.get("If-None-Match") == tag:
            self.send_response(304)
            self.send_header("ETag", tag)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return 304
        self.extra_headers = [("ETag", tag)]
        return self.send_data(data, head_only, seconds)

    def send_data(self, data, head_only, seconds=0.0):
        size = len(data)
        byte_range = parse_range(self.headers.get("Range"), size)
        if byte_range:
            start, end = byte_range
            self.send_response(206)
            self.send_header("Content-Range", f"bytes {start}-{end}/{size}")
            body = data[start:end + 1]
        else:
            self.send_response(200)
            body = data
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Accept-Ranges", "bytes")
        for name, value in self.extra_headers:
            self.send_header(name, value)
        self.end_headers()
        if not head_only:
            self.write_paced(body, seconds)
        return 206 if byte_range else 200

    def write_paced(self, body, seconds):
        if seconds <= 0 or not body:
            self.wfile.write(body)
            return
        steps = 50
        chunk = max(1, -(-len(body) // steps))
        for offset in range(0, len(body), chunk):
            self.wfile.write(body[offset:offset + chunk])
            self.wfile.flush()
            time.sleep(seconds / steps)


def read_bytes(path):
    """The bytes of a file, None when it is no file that can be read."""
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return None


def tampered(data):
    """The same number of bytes, the second half of them changed: only the file's digest can
    tell it from the one the feed describes."""
    half = len(data) // 2
    return data[:half] + bytes(byte ^ 0xFF for byte in data[half:])


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def parse_options(argv):
    parser = argparse.ArgumentParser(description="Kesto demo site on 127.0.0.1")
    parser.add_argument("--port", type=int, default=8080, help="port (0: any free one)")
    parser.add_argument("--packages", help="folder of application packages <key>/<key>.qmz ...")
    parser.add_argument("--feed", help="the folder the release feed is published into")
    parser.add_argument("--updater-seconds", type=float, default=0.0,
                        help="spread the feed's updater download over this many seconds")
    parser.add_argument("--broken", help="release whose application file is served changed")
    parser.add_argument("--log", help="append one line per request to this file")
    parser.add_argument("--verbose", action="store_true", help="log requests to stderr")
    return parser.parse_args(argv)


def main(argv=None):
    options = parse_options(argv)
    try:
        server = Server(("127.0.0.1", options.port), Handler)
    except OSError as error:
        sys.stderr.write(f"demo-site: cannot listen on 127.0.0.1:{options.port}: {error}\n")
        return 1
    port = server.server_address[1]
    server.site = DemoSite(options, port)
    print(f"serving on http://127.0.0.1:{port}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
