#!/usr/bin/env python3
"""The demo site on its own: byte ranges, the package files it will and will not serve, and
the update list's [up] block, against a real server on 127.0.0.1."""

import http.client
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


class RunningSite(unittest.TestCase):
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
        cls.process = subprocess.Popen(
            [sys.executable, os.path.join(site, "server.py"), "--port", "0", "--packages",
             packages, "--updater", cls.updater], stdout=subprocess.PIPE)
        cls.port = int(cls.process.stdout.readline().decode().rsplit(":", 1)[1])

    @classmethod
    def tearDownClass(cls):
        cls.process.terminate()
        cls.process.wait()
        cls.process.stdout.close()
        cls.work.cleanup()

    def get(self, path, headers=None):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        connection.request("GET", path, headers=headers or {})
        response = connection.getresponse()
        body = response.read()
        connection.close()
        return response.status, response.getheader("Content-Range"), body

    def test_update_list_names_the_served_updater(self):
        status, _, body = self.get("/app/up/1.txt")
        block = body.decode().split("[up]", 1)[1].split("[/up]", 1)[0]
        fields = block.split("|")
        self.assertEqual((status, len(fields)), (200, 3))
        self.assertEqual(fields[2], f"http://127.0.0.1:{self.port}/app/up/up.qmz")
        _, _, updater = self.get("/app/up/up.qmz")
        with open(self.updater, "rb") as f:
            self.assertEqual(updater, f.read())

    def test_range_request_as_the_platform_sends_it(self):
        status, content_range, body = self.get("/app/up/up.qmz", {"Range": "bytes=0-"})
        self.assertEqual((status, content_range, len(body)), (206, "bytes 0-699/700", 700))

    def test_only_package_files_of_listed_keys(self):
        self.assertEqual(self.get("/app/pkg/memo/memo.qmz")[0], 200)
        for path in ("/app/pkg/memo/secret.txt", "/app/pkg/Bad.Key/Bad.Key.qmz",
                     "/app/pkg/memo/../memo/memo.qmz", "/app/pkg/nosuch/nosuch.qmz",
                     "/app/pkg/memo/memo.qmz/x"):
            self.assertEqual(self.get(path)[0], 404, path)

    def test_catalogue_offers_each_key_with_a_qmz_element_and_qmzpay(self):
        status, _, body = self.get("/app")
        page = body.decode()
        self.assertEqual(status, 200)
        self.assertIn('name="qmz" id="memo"', page)
        self.assertNotIn("Bad.Key", page)
        self.assertIn('name="qmzpay"', page)


if __name__ == "__main__":
    unittest.main()
