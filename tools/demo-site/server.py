#!/usr/bin/env python3
"""The Kesto demo site: web pages, update list, updater and application packages on 127.0.0.1.

    server.py --port 8080 --packages DIR --updater FILE [--updater-seconds S] [--broken KEY]
              [--feed DIR] [--updater-signature FILE] [--log FILE]

Serves, on one port:
  /topapp, /csapp, /app, /ad/, /pay/    the web pages the platform shows
  /app/up/1.txt                         the update list; its [up] block names /app/up/up.qmz
  /app/up/up.qmz                        the updater program (--updater)
  /app/pkg/<key>/<key>.qmz|.dat|.gif    the application packages (--packages)
  /app/feed.json, /app/feed.json.sig    the signed release feed and its releases' files, from
  /app/feed/...                         the folder tools/publish/publish.py publishes into (--feed)

--updater-signature names a file with the vendor's signature of the updater in hexadecimal
digits, which the update list then carries in its second field.
--updater-seconds spreads the updater's bytes over that many seconds, so that a progress bar
can be watched; --broken KEY makes that package's application file break off half-way, as a
dropped connection would. Prints "serving on http://127.0.0.1:<port>" once it listens.
"""

import argparse
import hashlib
import os
import re
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue  # noqa: E402
import pages  # noqa: E402

UPDATER_VERSION = "1.0.0"
RANGE_PATTERN = re.compile(r"^\s*bytes\s*=\s*(\d*)\s*-\s*(\d*)\s*$")


class DemoSite:
    def __init__(self, options, port):
        self.options = options
        self.port = port
        self.log_lock = threading.Lock()

    def apps(self):
        # Read on every request, so packages added while the site runs show up.
        return catalogue.load(self.options.packages)

    def update_list(self):
        url = f"http://127.0.0.1:{self.port}/app/up/up.qmz"
        notes = "Kesto demo updater"
        if self.options.updater_signature:
            with open(self.options.updater_signature, encoding="ascii") as f:
                notes = f.read().strip()
        return f"Kesto update list\r\n[up]{UPDATER_VERSION}|{notes}|{url}[/up]\r\n"

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
        elif path == "/app/up/up.qmz" and self.site.options.updater:
            status = self.send_file(self.site.options.updater, head_only,
                                    self.site.options.updater_seconds)
        elif path.startswith("/app/pkg/"):
            status = self.send_package_file(path, apps, head_only)
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

    def send_package_file(self, path, apps, head_only):
        parts = path[len("/app/pkg/"):].split("/")
        if len(parts) != 2:
            return self.send_not_found(head_only)
        key, name = parts
        app = next((a for a in apps if a.key == key), None)
        file_path = app.file_path(name) if app else None
        if file_path is None:
            return self.send_not_found(head_only)
        broken = key == self.site.options.broken and name == key + ".qmz"
        return self.send_file(file_path, head_only, 0.0, broken)

    def send_feed_file(self, relative, head_only):
        root = os.path.realpath(self.site.options.feed)
        file_path = os.path.realpath(os.path.join(root, relative))
        if not file_path.startswith(root + os.sep) or not os.path.isfile(file_path):
            return self.send_not_found(head_only)
        # A feed the updater already has costs it one small answer.
        with open(file_path, "rb") as f:
            tag = '"' + hashlib.sha256(f.read()).hexdigest()[:32] + '"'
        if self.headers.get("If-None-Match") == tag:
            self.send_response(304)
            self.send_header("ETag", tag)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return 304
        self.extra_headers = [("ETag", tag)]
        return self.send_file(file_path, head_only, 0.0)

    def send_file(self, file_path, head_only, seconds, broken=False):
        try:
            with open(file_path, "rb") as f:
                data = f.read()
        except OSError:
            return self.send_not_found(head_only)
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
        if head_only:
            return 206 if byte_range else 200
        if broken:
            # Half the promised bytes, then the connection drops.
            self.wfile.write(body[: len(body) // 2])
            self.wfile.flush()
            self.close_connection = True
            return "cut"
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


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def parse_options(argv):
    parser = argparse.ArgumentParser(description="Kesto demo site on 127.0.0.1")
    parser.add_argument("--port", type=int, default=8080, help="port (0: any free one)")
    parser.add_argument("--packages", help="folder of application packages <key>/<key>.qmz ...")
    parser.add_argument("--updater", help="the updater program served as /app/up/up.qmz")
    parser.add_argument("--updater-seconds", type=float, default=0.0,
                        help="spread the updater download over this many seconds")
    parser.add_argument("--broken", help="key of a package whose application file breaks off")
    parser.add_argument("--feed", help="the folder the release feed is published into")
    parser.add_argument("--updater-signature",
                        help="file with the updater's signature in hexadecimal digits")
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
