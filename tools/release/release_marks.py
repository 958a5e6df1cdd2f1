#!/usr/bin/env python3
"""Reads what each file of a release carries and checks it against the release configuration.

    release_marks.py --version V --keys HEX[,HEX] --web HOST --pay ADDRESS
                     --update-windows HOST:PORT --sequence-windows N
                     --update-linux HOST:PORT --sequence-linux N
                     --cert PEM --ca PEM [--timestamped] FILE...

Read from the file's bytes, as a seller's copy would be read:
  marks     the line "kesto-release version=... sequence=... update=... web=... pay=... keys=..."
            that the built-in settings put into the platform and the updater: each must carry
            the configured values, and exactly the configured vendor keys (public, hexadecimal
            DER), shown by a short fingerprint (the first 16 digits of their SHA-256)
  version   a Windows file's version resource (its fixed numbers and its FileVersion text), its
            machine (i686) and subsystem; of a tool the release brings, only the machine
  signature a Windows file's Authenticode signature, verified by osslsigncode against --ca, and
            its signer, which must be the configured certificate (--cert)
Prints one line a file and each difference; exits 1 when any file differs, 0 otherwise.
"""

import argparse
import hashlib
import os
import re
import struct
import subprocess
import sys

MARK_NAMES = ("version", "sequence", "update", "web", "pay", "keys")
MARKS = re.compile(rb"kesto-release " + rb" ".join(name.encode() + rb"=([^\s\x00]*)"
                                                  for name in MARK_NAMES) + rb"\x00")
# The platform and the updater: the programs that fetch and check updates.
KEYED = {"kesto", "kesto.exe", "up.qmz"}
FIXED_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def fingerprint(hex_digits):
    try:
        return hashlib.sha256(bytes.fromhex(hex_digits)).hexdigest()[:16]
    except ValueError:
        return f"not a key: {hex_digits[:12]}"


# The subsystem each Windows file must have: the programs without a console window, regtool a
# command-line tool.
SUBSYSTEMS = {"kesto.exe": 2, "up.qmz": 2, "kesto-setup.exe": 2, "regtool.exe": 3}


def pe_header(content):
    """(machine, subsystem) of a PE file: machine "i686" or "x86_64"; None for anything else."""
    if content[:2] != b"MZ" or len(content) < 0x40:
        return None
    offset = struct.unpack_from("<I", content, 0x3C)[0]
    if content[offset:offset + 4] != b"PE\0\0":
        return None
    machine = struct.unpack_from("<H", content, offset + 4)[0]
    # The optional header follows the 20-byte file header; its subsystem field is at 68.
    subsystem = struct.unpack_from("<H", content, offset + 24 + 68)[0]
    return {0x14C: "i686", 0x8664: "x86_64"}.get(machine, hex(machine)), subsystem


def resource_version(content):
    """(fixed file version "a.b.c.d", FileVersion text) of a version resource; None parts when
    the file has none."""
    fixed = None
    at = content.find(FIXED_INFO_SIGNATURE)
    if at >= 0:
        ms, ls = struct.unpack_from("<II", content, at + 8)
        fixed = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    # A value's text starts at the next four-byte boundary after its key.
    text = None
    found = re.search("FileVersion\0".encode("utf-16-le") + rb"(?:\x00\x00)?((?:[^\x00]\x00)+)\x00\x00",
                      content)
    if found:
        text = found.group(1).decode("utf-16-le")
    return fixed, text


def signature(path, options):
    """(text for the table, problem or None) of a Windows file's Authenticode signature."""
    result = subprocess.run(["osslsigncode", "verify", "-CAfile", options.ca, "-in", path],
                            capture_output=True, text=True, errors="replace")
    if result.returncode != 0:
        why = [line for line in (result.stdout + result.stderr).splitlines()
               if "error" in line.lower() or "failed" in line.lower()]
        return "not verified", f"osslsigncode verify failed: {' / '.join(why[:3]) or 'no signature'}"
    serials = re.findall(r"Serial : ([0-9A-F]+)", result.stdout)
    if not serials or serials[0] != options.cert_serial:
        return "other signer", f"signed by serial {serials[:1]}, not the configured certificate"
    if options.timestamped and "Timestamp is not available" in result.stdout:
        return "no time-stamp", "signed without the configured time-stamp"
    return f"{options.cert_subject} ({options.cert_fingerprint})", None


def expected_marks(windows, options):
    system = "windows" if windows else "linux"
    return {"version": options.version, "sequence": getattr(options, f"sequence_{system}"),
            "update": getattr(options, f"update_{system}"), "web": options.web, "pay": options.pay}


def inspect(path, options):
    """(table line, [problems]) of one file."""
    name = os.path.basename(path)
    with open(path, "rb") as f:
        content = f.read()
    problems = []
    header = pe_header(content)
    machine = header and header[0]
    kind = f"PE {machine}" if machine else ("ELF" if content[:4] == b"\x7fELF" else "other")

    keys, version, sequence = [], "-", "-"
    marks = set(MARKS.findall(content))
    marks_found = len(marks) == 1
    if name in KEYED and not marks_found:
        problems.append(f"has {len(marks)} settings lines, not one")
    elif marks_found:
        found = dict(zip(MARK_NAMES, (m.decode("utf-8", "replace") for m in marks.pop())))
        version, sequence = found["version"], found["sequence"]
        keys = sorted(k.lower() for k in found["keys"].split(",") if k)
    # A tool's program may come from an earlier build: only the platform and the updater are the
    # release's own.
    if name in KEYED and marks_found:
        if keys != options.keys:
            problems.append(f"carries key(s) {[fingerprint(k) for k in keys] or 'none'}, "
                            f"configured {[fingerprint(k) for k in options.keys]}")
        for key, wanted in expected_marks(bool(machine), options).items():
            if found[key] != wanted:
                problems.append(f"built with {key} {found[key]!r}, configured {wanted!r}")

    signer = "-"
    if machine:
        if machine != "i686":
            problems.append(f"is a {machine} program, not i686")
        if name in SUBSYSTEMS:
            if header[1] != SUBSYSTEMS[name]:
                problems.append(f"has subsystem {header[1]}, not {SUBSYSTEMS[name]}")
            fixed, text = resource_version(content)
            numbers = (options.version.split(".") + ["0"] * 4)[:4]
            if fixed != ".".join(str(int(n)) for n in numbers) or text != options.version:
                problems.append(f"version resource says {fixed} / {text!r}, "
                                f"configured {options.version}")
            version = text or "none"
        signer, problem = signature(path, options)
        if problem:
            problems.append(problem)

    key_text = ",".join(fingerprint(k) for k in keys) or "-"
    line = (f"{name:<16} {kind:<10} key {key_text:<16} version {version:<8} feed {sequence:<4} "
            f"signed by {signer}")
    return line, problems


def certificate_facts(options):
    """The configured certificate's serial, subject and short SHA-256 fingerprint."""
    result = subprocess.run(["openssl", "x509", "-in", options.cert, "-noout", "-serial",
                             "-subject", "-fingerprint", "-sha256", "-nameopt", "compat"],
                            capture_output=True, text=True, check=True)
    facts = dict(line.split("=", 1) for line in result.stdout.splitlines() if "=" in line)
    options.cert_serial = facts["serial"].strip().upper()
    options.cert_subject = facts["subject"].strip()
    options.cert_fingerprint = "sha256 " + facts["sha256 Fingerprint"].replace(":", "")[:16].lower()


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for name in ("version", "keys", "web", "pay", "update-windows", "sequence-windows",
                 "update-linux", "sequence-linux", "cert", "ca"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("--timestamped", action="store_true")
    parser.add_argument("files", nargs="+")
    options = parser.parse_args(argv)
    options.keys = sorted(k.lower() for k in options.keys.split(","))
    certificate_facts(options)
    differs = False
    for path in options.files:
        line, problems = inspect(path, options)
        print(line)
        for problem in problems:
            print(f"  DIFFERS: {os.path.basename(path)} {problem}")
        differs = differs or bool(problems)
    return 1 if differs else 0


if __name__ == "__main__":
    sys.exit(main())
