#!/usr/bin/env bash
# A build must carry the key it was meant to have: a KESTO_VENDOR_KEY that is not a P-256
# public key (not hexadecimal, cut short, another curve, one bad key of two) stops the configure
# step with a message that says so, before anything is built.
set -u
top=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
openssl ecparam -genkey -name prime256v1 -noout -out "$work/p256.pem" 2>/dev/null
openssl ecparam -genkey -name secp384r1 -noout -out "$work/p384.pem" 2>/dev/null
hex() { openssl ec -in "$1" -pubout -outform DER 2>/dev/null | od -An -v -tx1 | tr -d ' \n'; }
good=$(hex "$work/p256.pem")
failures=0
for key in "zz$good" "${good:0:100}" "$(hex "$work/p384.pem")" "$good,${good:2}"; do
  rm -rf "$work/build"
  if cmake -S "$top" -B "$work/build" -DKESTO_VENDOR_KEY="$key" >"$work/log" 2>&1; then
    echo "configured with the key \"$key\""
    failures=$((failures + 1))
  elif ! grep -q "is not a P-256 public key\|holds no key" "$work/log"; then
    echo "the configure step failed without saying why for \"$key\":"
    cat "$work/log"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ] && echo "every malformed key stopped the configure step"
exit $((failures > 0))
