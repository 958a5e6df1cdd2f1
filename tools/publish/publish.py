#!/usr/bin/env python3
"""Publishes releases into an update site's signed release feed.

    publish.py SITE --key VENDOR.pem [--address http://host:port]
               --release pt 1.1 build/kesto [more files]
               [--release memo 1.0 app/memo/memo.qmz app/memo/memo.dat ...]
               [--withdraw NAME VERSION]
               [--expires-days 30 | --expires SECONDS] [--sequence N]
    publish.py --public-key VENDOR.pem

Each release's files are copied to SITE/feed/<release>/<version>/<name>, and SITE/feed.json
lists every release published so far (a release published again replaces its entry) with
each file's size, SHA-256 and address (relative to the feed's own, so that the site can move,
unless --address names the site). The feed's sequence number grows by one with every
publication (or is set with --sequence); it notes when it was signed and expires --expires-days
from then, at most 30 days (the programs refuse a feed that would live longer, so that a feed
captured once cannot be replayed for ever: publish again before the expiry). The feed is
signed with the vendor's private key by the openssl tool, as SITE/feed.json.sig (DER), and
names the key that signed it (the first 16 hexadecimal digits of the SHA-256 of its public
half); the key itself never leaves the vendor.

Replacing the vendor's key: make the next key pair, and ship a release whose programs carry both
public keys (KESTO_VENDOR_KEY="<current>,<next>", each printed by --public-key); once sellers run
it, publish with --key NEXT.pem (one publication: from then on the feed names the next key), and
build later releases with the next key alone, which retires the old one.

Taking a release back: --withdraw NAME VERSION lists VERSION among the release's "withdrawn"
versions. When it is the version the feed offers, the feed offers instead the newest version
published before under SITE/feed/NAME/ that is not withdrawn. Installed programs and tools on a
withdrawn version go back to the offered one at their next start, and never take a withdrawn
version again.

Both files are written under temporary names and put on the disk first, then renamed into place,
the signature last; a program that reads the feed while it changes and finds the pair does not
match asks once more.
"""

import argparse
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

PLAIN_NAME = re.compile(r'^[^./\\:*?"<>|\x00-\x1f][^/\\:*?"<>|\x00-\x1f]*$')
VERSION = re.compile(r"^[0-9]+(\.[0-9]+)*$")


def write_temporary(path, data):
    """Writes beside the file under a temporary name, on the disk, and gives that name."""
    folder = os.path.dirname(path) or "."
    handle, temporary = tempfile.mkstemp(dir=folder, prefix=".publish-")
    with os.fdopen(handle, "wb") as out:
        out.write(data)
        out.flush()
        os.fsync(out.fileno())
    return temporary


def sync_folder(folder):
    handle = os.open(folder or ".", os.O_RDONLY)
    try:
        os.fsync(handle)
    finally:
        os.close(handle)


def replace_pair(feed_path, feed, signature):
    """Both files whole on the disk before either is renamed over the old one."""
    feed_temporary = write_temporary(feed_path, feed)
    signature_temporary = write_temporary(feed_path + ".sig", signature)
    os.replace(feed_temporary, feed_path)
    os.replace(signature_temporary, feed_path + ".sig")
    sync_folder(os.path.dirname(feed_path))


def describe(path, address, release, version):
    name = os.path.basename(path)
    with open(path, "rb") as f:
        content = f.read()
    return {
        "name": name,
        "size": len(content),
        "sha256": hashlib.sha256(content).hexdigest(),
        "url": f"{address}feed/{release}/{version}/{name}",
    }


MAX_LIFETIME_DAYS = 30


def openssl(*arguments, data=None):
    done = subprocess.run(["openssl", *arguments], input=data, capture_output=True, check=False)
    if done.returncode != 0:
        sys.exit(f"publish: openssl {arguments[0]} failed: {done.stderr.decode(errors='replace')}")
    return done.stdout


def public_key_der(key):
    return openssl("ec", "-in", key, "-pubout", "-outform", "DER")


def key_id(key):
    """How a feed names the key that signed it, as the programs compute it from their own."""
    return hashlib.sha256(public_key_der(key)).hexdigest()[:16]


def parse_arguments(argv):
    if len(argv) == 2 and argv[0] == "--public-key":
        print(public_key_der(argv[1]).hex())
        sys.exit(0)
    parser = argparse.ArgumentParser(description="Publish releases into a signed release feed")
    parser.add_argument("site", help="the update site's folder")
    parser.add_argument("--key", required=True, help="the vendor's private key (PEM)")
    parser.add_argument("--address", default="", help="the site's address, http://host:port")
    parser.add_argument("--release", nargs="+", action="append", default=[],
                        metavar="NAME VERSION FILE", help="a release and its files")
    parser.add_argument("--withdraw", nargs=2, action="append", default=[],
                        metavar=("NAME", "VERSION"), help="take a published release back")
    parser.add_argument("--expires-days", type=float, default=30.0)
    parser.add_argument("--expires", type=int, help="expiry in seconds since 1970 instead")
    parser.add_argument("--sequence", type=int, help="the feed's sequence number instead")
    options = parser.parse_args(argv)
    if not options.release and not options.withdraw:
        parser.error("nothing to publish: give --release or --withdraw")
    for name, version in options.withdraw:
        if not PLAIN_NAME.match(name) or not VERSION.match(version):
            parser.error(f"--withdraw {name} {version}: a plain name and dotted numbers")
    if not 0 < options.expires_days <= MAX_LIFETIME_DAYS:
        parser.error(f"--expires-days must be above 0 and at most {MAX_LIFETIME_DAYS}")
    for entry in options.release:
        if len(entry) < 3:
            parser.error("--release takes a name, a version and at least one file")
        name, version, files = entry[0], entry[1], entry[2:]
        if not PLAIN_NAME.match(name):
            parser.error(f"release name {name!r} is not a plain name")
        if not VERSION.match(version):
            parser.error(f"version {version!r} is not dotted numbers")
        names = [os.path.basename(f).lower() for f in files]
        if len(set(names)) != len(names) or not all(PLAIN_NAME.match(n) for n in names):
            parser.error(f"the files of {name} need distinct plain names")
    return options


def version_key(version):
    return tuple(int(part) for part in version.split("."))


def withdraw(feed, site, address, name, version):
    """Lists the version as withdrawn; a release offering it goes back to the newest one
    published before that is not withdrawn."""
    release = feed["releases"].get(name)
    if release is None:
        sys.exit(f"publish: the feed has no release {name}")
    taken = set(release.get("withdrawn", [])) | {version}
    release["withdrawn"] = sorted(taken, key=version_key)
    if version_key(release["version"]) != version_key(version):
        return
    folder = os.path.join(site, "feed", name)
    published = [v for v in os.listdir(folder) if VERSION.match(v)] if os.path.isdir(folder) else []
    kept = [v for v in published if all(version_key(v) != version_key(t) for t in taken)]
    if not kept:
        sys.exit(f"publish: no release of {name} is left to go back to")
    back = max(kept, key=version_key)
    files = sorted(os.listdir(os.path.join(folder, back)))
    release["version"] = back
    release["files"] = [describe(os.path.join(folder, back, f), address, name, back) for f in files]


def main(argv):
    options = parse_arguments(argv)
    address = options.address.rstrip("/") + "/" if options.address else ""
    feed_path = os.path.join(options.site, "feed.json")
    feed = {"sequence": 0, "releases": {}}
    if os.path.exists(feed_path):
        with open(feed_path, encoding="utf-8") as f:
            feed = json.load(f)
    for entry in options.release:
        name, version, files = entry[0], entry[1], entry[2:]
        folder = os.path.join(options.site, "feed", name, version)
        os.makedirs(folder, exist_ok=True)
        for path in files:
            shutil.copyfile(path, os.path.join(folder, os.path.basename(path)))
        feed["releases"][name] = {
            "version": version,
            "files": [describe(os.path.join(folder, os.path.basename(p)), address, name, version)
                      for p in files],
        }
    for name, version in options.withdraw:
        withdraw(feed, options.site, address, name, version)
    feed["sequence"] = options.sequence if options.sequence is not None else feed["sequence"] + 1
    feed["signed"] = int(time.time())
    feed["expires"] = (options.expires if options.expires is not None
                       else feed["signed"] + int(options.expires_days * 86400))
    if feed["expires"] - feed["signed"] > MAX_LIFETIME_DAYS * 86400:
        sys.exit(f"publish: a feed may expire at most {MAX_LIFETIME_DAYS} days after signing")
    feed["key"] = key_id(options.key)
    text = json.dumps(feed, indent=1, sort_keys=True).encode("utf-8")
    signature = openssl("dgst", "-sha256", "-sign", options.key, data=text)
    replace_pair(feed_path, text, signature)
    print(f"published feed {feed['sequence']}: " +
          ", ".join([f"{e[0]} {e[1]}" for e in options.release] +
                    [f"{name} {version} withdrawn" for name, version in options.withdraw]))


if __name__ == "__main__":
    main(sys.argv[1:])
