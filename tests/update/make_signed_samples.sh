#!/usr/bin/env bash
# Makes the update tests' signed samples with the openssl tool, into the folder given: a
# vendor key pair and another key, a message with its signature, and release feeds (whole,
# expired, older, signed but no feed) each with its detached signature.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
for name in vendor other; do
  openssl ecparam -genkey -name prime256v1 -noout -out $name.pem 2>/dev/null
  openssl ec -in $name.pem -pubout -outform DER -out $name.pub.der 2>/dev/null
done
printf 'the bytes the vendor signed' > message
payload='MZ the new program'
printf '%s' "$payload" > payload
digest=$(printf '%s' "$payload" | openssl dgst -sha256 -r | cut -d' ' -f1)
feed() {  # sequence expires
  printf '{"sequence": %s, "expires": %s, "releases": {"pt": {"version": "1.1", "files": [{"name": "kesto", "size": %d, "sha256": "%s", "url": "http://127.0.0.1/feed/pt/1.1/kesto"}]}}}' \
    "$1" "$2" ${#payload} "$digest"
}
feed 7 4102444800 > feed.json
feed 7 1000000000 > expired.json
feed 6 4102444800 > older.json
printf '{"sequence": 8}' > malformed.json
for file in message payload feed.json expired.json older.json malformed.json; do
  openssl dgst -sha256 -sign vendor.pem -out "$file.sig" "$file"
done
rm -f vendor.pem other.pem
