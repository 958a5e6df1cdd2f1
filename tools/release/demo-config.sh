#!/usr/bin/env bash
# Makes the demo's release configuration in a folder: release.conf with every host at the demo
# site on 127.0.0.1:PORT, a throw-away vendor key pair (vendor.pem) and a throw-away self-signed
# code-signing certificate (codesign.pem, codesign.key). The demo and the test command release
# with it; no vendor ships it.
#   demo-config.sh FOLDER [--port PORT] [--feed FEED-FOLDER]
# The folder is made anew; the feed folder (default FOLDER/feed) is left as it is.
set -euo pipefail

usage() {
  echo "usage: demo-config.sh FOLDER [--port PORT] [--feed FEED-FOLDER]" >&2
  exit 2
}
[ $# -ge 1 ] || usage
folder=$1
shift
port=8080
feed=feed
while [ $# -gt 0 ]; do
  case $1 in
  --port) port=${2:?}; shift 2 ;;
  --feed) feed=${2:?}; shift 2 ;;
  *) usage ;;
  esac
done

rm -rf "$folder"
mkdir -p "$folder"
cd "$folder"
openssl ecparam -genkey -name prime256v1 -noout -out vendor.pem 2>/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -keyout codesign.key -out codesign.pem -days 30 \
  -subj "/CN=Kesto Demo Code Signing/O=Kesto Demo" \
  -addext "extendedKeyUsage=critical,codeSigning" -addext "keyUsage=critical,digitalSignature" \
  -addext "basicConstraints=critical,CA:FALSE" 2>/dev/null
chmod 600 vendor.pem codesign.key

site=127.0.0.1:$port
cat >release.conf <<EOF
# The demo's release configuration (tools/release/demo-config.sh): throw-away keys, every host
# at the demo site on $site.
VERSION=1.0
UPDATE_HOST=127.0.0.1
UPDATE_PORT=$port
WEB_HOST=$site
PAY_SITE=http://$site/pay/
VENDOR_KEYS=vendor.pem
SIGN_CERT=codesign.pem
SIGN_KEY=codesign.key
SHOP_NAME=Kesto演示店
SHOP_QQ=4702519
SHOP_WEB=$site
AD_PAGE=http://$site/ad/
SPARE_FIELD=demo
TOOLS=memo,profit
TOOLS_FOLDER=demo
FEED_FOLDER=$feed
FEED_EXPIRES_DAYS=30
EOF
echo "made $(pwd)/release.conf"
