#!/usr/bin/env python3
"""The demo site on its own: byte ranges, the files it will and will not serve, a release
served broken, and the update list's [up] block, against a real server on 127.0.0.1."""

import hashlib
import http.client
import json
import os
import subprocess
import sys
import tempfile
import unittest

here = os.path.dirname(os.path.abspath(__file__))
site = os.path.join(here, "../../tools/demo-site")
sys.path.insert(0, site)
import server  # noqa: E402


class RangeHeader(unittest.TestCase):
    def test_ranges(self):
        cases = {
            "bytes=0-": (0, 9),
            "bytes=4-6": (4, 6),
            "bytes=4-100": (4, 9),
            "bytes=-3": (7, 9),
            "bytes = 2 - ": (2, 9),
        }
        for header, expected in cases.items():
            self.assertEqual(server.parse_range(header, 10), expected, header)

    def test_unusable_ranges_mean_the_whole_file(self):
        for header in (None, "", "bytes=-", "bytes=6-4", "bytes=10-", "items=0-", "bytes=-0",
                       "bytes=1-2,4-5"):
            self.assertIsNone(server.parse_range(header, 10), header)


def start_site(packages, feed, *extra):
    process = subprocess.Popen(
        [sys.executable, os.path.join(site, "server.py"), "--port", "0", "--packages", packages,
         "--feed", feed, *extra], stdout=subprocess.PIPE)
    return process, int(process.stdout.readline().decode().rsplit(":", 1)[1])


class RunningSite(unittest.TestCase):
    """The pages offer the packages' applications, and every program file comes from the signed
    feed, published as the vendor publishes it."""

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.TemporaryDirectory()
        packages = os.path.join(cls.work.name, "packages")
        for key in ("memo", "Bad.Key"):
            os.makedirs(os.path.join(packages, key))
            for suffix in (".qmz", ".dat", ".gif"):
                with open(os.path.join(packages, key, key + suffix), "wb") as f:
                    f.write(b"0123456789")
        with open(os.path.join(packages, "memo", "secret.txt"), "wb") as f:
            f.write(b"not for the web")
        cls.updater = os.path.join(cls.work.name, "up.qmz")
        with open(cls.updater, "wb") as f:
            f.write(b"UPDATER" * 100)
        key = os.path.join(cls.work.name, "vendor.pem")
        subprocess.run(["openssl", "ecparam", "-genkey", "-name", "prime256v1", "-noout",
                        "-out", key], check=True)
        feed = os.path.join(cls.work.name, "feed")
        memo = [os.path.join(packages, "memo", "memo" + s) for s in (".qmz", ".dat", ".gif")]
        subprocess.run([sys.executable, os.path.join(here, "../../tools/publish/publish.py"),
                        feed, "--key", key, "--release", "up", "1.0", cls.updater,
                        "--release", "memo", "1.0", *memo], check=True, stdout=subprocess.DEVNULL)
        with open(os.path.join(feed, "feed.json"), encoding="utf-8") as f:
            cls.feed = json.load(f)
        cls.sites = [start_site(packages, feed), start_site(packages, feed, "--broken", "memo")]
        cls.port = cls.sites[0][1]

    @classmethod
    def tearDownClass(cls):
        for process, _ in cls.sites:
            process.terminate()
            process.wait()
            process.stdout.close()
        cls.work.cleanup()

    def get(self, path, headers=None, port=None):
        connection = http.client.HTTPConnection("127.0.0.1", port or self.port, timeout=10)
        connection.request("GET", path, headers=headers or {})
        response = connection.getresponse()
        body = response.read()
        connection.close()
        return response.status, response.getheader("Content-Range"), body

    def test_update_list_names_the_feeds_updater_without_a_signature(self):
        status, _, body = self.get("/app/up/1.txt")
        block = body.decode().split("[up]", 1)[1].split("[/up]", 1)[0]
        self.assertEqual((status, block.split("|")),
                         (200, ["1.0", "", f"http://127.0.0.1:{self.port}/app/feed/up/1.0/up.qmz"]))
        _, _, updater = self.get("/app/feed/up/1.0/up.qmz")
        with open(self.updater, "rb") as f:
            self.assertEqual(updater, f.read())

    def test_range_request_as_the_platform_sends_it(self):
        status, content_range, body = self.get("/app/feed/up/1.0/up.qmz", {"Range": "bytes=0-"})
        self.assertEqual((status, content_range, len(body)), (206, "bytes 0-699/700", 700))

    def test_program_files_only_from_the_feed(self):
        self.assertEqual(self.get("/app/pkg/memo/memo.gif")[0], 200)
        for path in ("/app/pkg/memo/memo.qmz", "/app/pkg/memo/memo.dat", "/app/up/up.qmz",
                     "/app/pkg/memo/secret.txt", "/app/pkg/Bad.Key/Bad.Key.gif",
                     "/app/pkg/memo/../memo/memo.gif", "/app/pkg/nosuch/nosuch.gif",
                     "/app/pkg/memo/memo.gif/x"):
            self.assertEqual(self.get(path)[0], 404, path)

    def test_a_broken_release_differs_from_the_feed_in_its_bytes_alone(self):
        files = {f["name"]: f for f in self.feed["releases"]["memo"]["files"]}
        port = self.sites[1][1]
        for name, expected in files.items():
            status, _, body = self.get(f"/app/feed/memo/1.0/{name}", port=port)
            self.assertEqual((status, len(body)), (200, expected["size"]), name)
            intact = hashlib.sha256(body).hexdigest() == expected["sha256"]
            self.assertEqual(intact, name != "memo.qmz", name)
        self.assertEqual(self.get("/app/feed.json", port=port)[2], self.get("/app/feed.json")[2])

    def test_catalogue_offers_each_key_with_a_qmz_element_and_qmzpay(self):
        status, _, body = self.get("/app")
        page = body.decode()
        self.assertEqual(status, 200)
        self.assertIn('name="qmz" id="memo"', page)
        self.assertNotIn("Bad.Key", page)
        self.assertIn('name="qmzpay"', page)


if __name__ == "__main__":
    unittest.main()
