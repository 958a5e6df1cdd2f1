#!/usr/bin/env python3
"""Runs the profile-file cases through two back ends and fails on any case whose outcome
differs. A file whose
bytes differ while every reader sees the same values is reported as a layout difference:
Wine's profile calls write the whole file out again in their own layout.

usage: compare_profiles.py <reference command...> -- <compared command...>
Each command prints "<number> <content kind>/<operation kind> <outcome hex> <file hex>" per
case.
"""

import subprocess
import sys

def outcomes(command):
    result = subprocess.run(command, capture_output=True, text=True, timeout=600, check=True)
    cases = {}
    for line in result.stdout.splitlines():
        words = line.split()
        if len(words) == 4:
            cases[int(words[0])] = (words[1], words[2], words[3])
    return cases


def show(hex_text):
    return "" if hex_text == "-" else repr(bytes.fromhex(hex_text))


def main():
    split = sys.argv.index("--")
    reference = outcomes(sys.argv[1:split])
    compared = outcomes(sys.argv[split + 1:])
    if not reference or reference.keys() != compared.keys():
        print(f"case sets differ: {len(reference)} against {len(compared)} cases")
        return 1
    failures = layout = 0
    for number in sorted(reference):
        kind, expected, expected_file = reference[number]
        _, got, got_file = compared[number]
        if expected == got:
            if expected_file != got_file:
                layout += 1
                print(f"layout case {number} {kind}:\n  reference {show(expected_file)}\n"
                      f"  compared  {show(got_file)}")
            continue
        failures += 1
        print(f"DIFFERS case {number} {kind}:\n  reference {show(expected)}\n  compared  {show(got)}")
    print(f"{len(reference)} cases, {failures} differing, {layout} with another layout")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
