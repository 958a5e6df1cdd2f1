#!/usr/bin/env bash
# Makes the update tests' signed samples with the openssl tool and the publishing tool, into the
# folder given (and, given an updater program, its release): the vendor's public key and another one, a message and a payload with their
# signatures, and release feeds (current, expired, older, signed but no feed, signed with the
# next key) each with its detached signature. The private keys are deleted at the end.
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
# feed NAME SEQUENCE EXPIRY [RELEASES...]: by default the payload published as the platform's
# release 1.1 and the memo application's 1.0; the expiry is publish.py's options for it.
feed() {
  local name=$1 sequence=$2 expires=$3
  shift 3
  [ $# -gt 0 ] || set -- --release pt 1.1 payload --release memo 1.0 memo.qmz memo.dat
  rm -rf site
  python3 "$top/tools/publish/publish.py" site --key "${key:-vendor.pem}" --sequence "$sequence" \
    $expires "$@" >/dev/null
  mv site/feed.json "$name.json"
  mv site/feed.json.sig "$name.json.sig"
  rm -rf site
}
lasting="--expires-days 30"
feed feed 7 "$lasting"
feed expired 7 "--expires 1000000000"
feed older 6 "$lasting"
key=other.pem feed other-key 7 "$lasting"
# The memo application's next release, and a later feed that offers an older one.
feed next 8 "$lasting" --release memo 1.1 next/memo.qmz next/memo.dat
feed downgrade 9 "$lasting" --release memo 0.9 old/memo.qmz
feed old-platform 11 "$lasting" --release pt 0.9 payload
# Packages that do not fit on a disk that holds 4096 bytes a file: the program, or its title.
# memo 1.0, then 1.1, then 1.1 withdrawn: the feed offers 1.0 again.
rm -rf site
for step in "--release memo 1.0 memo.qmz memo.dat" "--release memo 1.1 next/memo.qmz next/memo.dat" \
  "--withdraw memo 1.1"; do
  python3 "$top/tools/publish/publish.py" site --key vendor.pem $lasting $step >/dev/null
done
python3 "$top/tools/publish/publish.py" site --key vendor.pem $lasting --sequence 12 \
  --withdraw memo 1.1 >/dev/null
mv site/feed.json withdrawn.json
mv site/feed.json.sig withdrawn.json.sig
rm -rf site
mkdir -p big-program big-title fits
head -c 8192 /dev/zero | tr '\0' p > big-program/memo.qmz
printf '[ini]\r\nbt=new\r\n' > big-program/memo.dat
printf 'application' > big-title/memo.qmz
head -c 8192 /dev/zero | tr '\0' t > big-title/memo.dat
cp big-title/memo.qmz big-program/memo.dat fits/
cp big-program/memo.qmz big-program/clock.qmz
for package in big-program big-title fits; do
  feed "$package" 10 "$lasting" --release memo 1.0 $package/memo.qmz $package/memo.dat
done
feed big-clock 10 "$lasting" --release clock 1.0 big-program/clock.qmz
# The updater the platform fetches when its own is missing (the stand-in program given), padded
# to whole 5 KiB so that its download makes five equal pieces of 1 KiB reads; a program file
# runs with bytes added at its end.
if [ $# -ge 2 ]; then
  mkdir -p updater
  python3 -c 'import sys; p = open(sys.argv[1], "rb").read(); open(sys.argv[2], "wb").write(p + bytes(-len(p) % 5120))' \
    "$2" updater/up.qmz
  feed updater 5 "$lasting" --release up 1.0 updater/up.qmz
fi
printf '{"sequence": 8}' > malformed.json
for file in message payload malformed.json; do
  openssl dgst -sha256 -sign vendor.pem -out "$file.sig" "$file"
done
rm -f vendor.pem other.pem
