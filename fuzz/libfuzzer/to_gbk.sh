#!/usr/bin/env bash
# Converts one UTF-8 source to GBK for clang, which keeps a literal's bytes as they stand.
# Refuses a source where the second byte of a two-byte character is a backslash: clang would
# read it as an escape in a literal, or as a line joined to the next at a comment's end.
set -euo pipefail
in=$1
out=$2
mkdir -p "$(dirname "$out")"
iconv -f UTF-8 -t GBK "$in" >"$out.tmp"
if ! perl -e '
  local $/;
  my $bytes = <STDIN>;
  for (my $i = 0; $i < length $bytes; ++$i) {
    next if ord(substr($bytes, $i, 1)) < 0x80;
    if (substr($bytes, $i + 1, 1) eq "\\") {
      my $line = (substr($bytes, 0, $i) =~ tr/\n//) + 1;
      die "$ARGV[0]:$line: a GBK character ends in a backslash byte\n";
    }
    ++$i;
  }' "$in" <"$out.tmp"; then
  rm -f "$out.tmp"
  exit 1
fi
mv "$out.tmp" "$out"
