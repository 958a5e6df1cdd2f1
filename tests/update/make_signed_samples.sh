#!/usr/bin/env bash
# Makes the update tests' signed samples with the openssl tool and the publishing tool, into the
# folder given: the vendor's public key and another one, a message and a payload with their
# signatures, and release feeds (current, expired, older, signed but no feed) each with its
# detached signature. The private key is deleted at the end.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
out=$1
mkdir -p "$out"
cd "$out"
for name in vendor other; do
  openssl ecparam -genkey -name prime256v1 -noout -out $name.pem 2>/dev/null
  openssl ec -in $name.pem -pubout -outform DER -out $name.pub.der 2>/dev/null
done
printf 'the bytes the vendor signed' > message
printf 'MZ the new program' > payload
printf 'MZ the memo program' > memo.qmz
printf '[ini]\r\nbt=Memo\r\n' > memo.dat
mkdir -p next old
printf 'MZ the memo program 1.1' > next/memo.qmz
cp memo.dat next/memo.dat
printf 'MZ the memo program 0.9' > old/memo.qmz
# feed NAME SEQUENCE EXPIRES [RELEASES...]: by default the payload published as the platform's
# release 1.1 and the memo application's 1.0.
feed() {
  local name=$1 sequence=$2 expires=$3
  shift 3
  [ $# -gt 0 ] || set -- --release pt 1.1 payload --release memo 1.0 memo.qmz memo.dat
  rm -rf site
  python3 "$top/tools/publish/publish.py" site --key vendor.pem --sequence "$sequence" \
    --expires "$expires" "$@" >/dev/null
  mv site/feed.json "$name.json"
  mv site/feed.json.sig "$name.json.sig"
  rm -rf site
}
feed feed 7 4102444800
feed expired 7 1000000000
feed older 6 4102444800
# The memo application's next release, and a later feed that offers an older one.
feed next 8 4102444800 --release memo 1.1 next/memo.qmz next/memo.dat
feed downgrade 9 4102444800 --release memo 0.9 old/memo.qmz
printf '{"sequence": 8}' > malformed.json
for file in message payload malformed.json; do
  openssl dgst -sha256 -sign vendor.pem -out "$file.sig" "$file"
done
rm -f vendor.pem other.pem
