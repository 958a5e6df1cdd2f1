# shellcheck shell=bash
# Reads a release configuration (release.conf.example describes it) into shell variables
# conf_<KEY>, with the defaults filled in, paths made absolute and the values checked.
# Sourced (bash) by make-release.sh; needs `fail` (build_tools.sh).
#   read_release_config FILE [KEY=VALUE...]

release_keys=(VERSION UPDATE_HOST UPDATE_PORT LINUX_UPDATE_HOST LINUX_UPDATE_PORT WEB_HOST PAY_SITE
  VENDOR_KEYS SIGN_CERT SIGN_KEY SIGN_CA TIMESTAMP_URL SHOP_NAME SHOP_QQ SHOP_WEB PURCHASE_PAGE
  AD_PAGE SPARE_FIELD TOOLS TOOLS_FOLDER FEED_FOLDER FEED_EXPIRES_DAYS)

# A path of the configuration, taken from the configuration file's folder.
config_path() {
  case $1 in
  /*) printf '%s\n' "$1" ;;
  *) printf '%s\n' "$conf_dir/$1" ;;
  esac
}

set_release_value() {
  local line=$1 where=$2 key value
  key=${line%%=*}
  value=${line#*=}
  [ "$key" != "$line" ] || fail "$where: not KEY=VALUE: $line"
  [[ " ${release_keys[*]} " == *" $key "* ]] || fail "$where: unknown key $key"
  printf -v "conf_$key" '%s' "$value"
}

# The hexadecimal digits of a private key's public half (its DER SubjectPublicKeyInfo), as the
# build takes it.
public_key_hex() {
  openssl pkey -in "$1" -pubout -outform DER 2>/dev/null | od -An -v -tx1 | tr -d ' \n'
}

read_release_config() {
  local file=$1 line key
  shift
  [ -f "$file" ] || fail "no release configuration $file"
  conf_dir=$(cd "$(dirname "$file")" && pwd)
  for key in "${release_keys[@]}"; do printf -v "conf_$key" '%s' ""; done
  while IFS= read -r line || [ -n "$line" ]; do
    line=${line%$'\r'}
    case $line in '' | '#'*) continue ;; esac
    set_release_value "$line" "$file"
  done <"$file"
  for line in "$@"; do set_release_value "$line" "command line"; done

  for key in VERSION UPDATE_HOST UPDATE_PORT WEB_HOST PAY_SITE VENDOR_KEYS SIGN_CERT SIGN_KEY \
    SHOP_NAME SHOP_QQ SHOP_WEB; do
    local name=conf_$key
    [ -n "${!name}" ] || fail "$file: $key is not set"
  done
  [[ $conf_VERSION =~ ^[0-9]+(\.[0-9]+){0,3}$ ]] ||
    fail "$file: VERSION $conf_VERSION is not up to four dotted numbers"
  : "${conf_LINUX_UPDATE_HOST:=$conf_UPDATE_HOST}" "${conf_LINUX_UPDATE_PORT:=$conf_UPDATE_PORT}"
  for key in UPDATE_PORT LINUX_UPDATE_PORT; do
    local name=conf_$key
    [[ ${!name} =~ ^[0-9]+$ ]] || fail "$file: $key ${!name} is not a port number"
  done
  : "${conf_PURCHASE_PAGE:=$conf_PAY_SITE}" "${conf_AD_PAGE:=http://$conf_WEB_HOST/ad/}"
  : "${conf_SPARE_FIELD:=-}" "${conf_FEED_FOLDER:=feed}" "${conf_FEED_EXPIRES_DAYS:=30}"

  conf_SIGN_CERT=$(config_path "$conf_SIGN_CERT")
  conf_SIGN_KEY=$(config_path "$conf_SIGN_KEY")
  conf_SIGN_CA=$(config_path "${conf_SIGN_CA:-$conf_SIGN_CERT}")
  conf_FEED_FOLDER=$(config_path "$conf_FEED_FOLDER")
  [ -z "$conf_TOOLS" ] || [ -n "$conf_TOOLS_FOLDER" ] || fail "$file: TOOLS needs TOOLS_FOLDER"
  [ -z "$conf_TOOLS_FOLDER" ] || [ "$conf_TOOLS_FOLDER" = demo ] ||
    conf_TOOLS_FOLDER=$(config_path "$conf_TOOLS_FOLDER")
  IFS=, read -r -a conf_tools <<<"$conf_TOOLS"
  for key in SIGN_CERT SIGN_KEY SIGN_CA; do
    local name=conf_$key
    [ -f "${!name}" ] || fail "$file: $key ${!name} does not exist"
  done
  openssl x509 -in "$conf_SIGN_CERT" -noout -ext extendedKeyUsage 2>/dev/null |
    grep -q "Code Signing" || fail "$file: $conf_SIGN_CERT is not a code-signing certificate"

  # The private keys, the first signing; their public halves for the build, "," between.
  conf_vendor_pems=()
  conf_vendor_hex=""
  local pem hex
  IFS=, read -r -a pems <<<"$conf_VENDOR_KEYS"
  for pem in "${pems[@]}"; do
    pem=$(config_path "$pem")
    hex=$(public_key_hex "$pem")
    [ -n "$hex" ] || fail "$file: $pem is not a private key openssl can read"
    conf_vendor_pems+=("$pem")
    conf_vendor_hex+=${conf_vendor_hex:+,}$hex
  done
}
