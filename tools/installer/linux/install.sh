#!/bin/sh
# Installs Kesto for the current user, without root: the programs into $XDG_DATA_HOME/kesto
# (~/.local/share/kesto), because the platform writes qmztx.ini and the app folder beside itself
# and its updater replaces its files; a menu entry, the icon in the icon theme's sizes, and a
# start at login unless declined. A platform running from the folder is asked to exit first.
# Installed beside the programs as uninstall.sh, the same script removes what it installed and
# the platform's browser data and cache; whatever else is in the folder (the seller's
# applications in app/, the settings in qmztx.ini) stays, and it says what.
#   sh install.sh [--no-autostart]     from the unpacked download
#   sh ~/.local/share/kesto/uninstall.sh
set -eu

data=${XDG_DATA_HOME:-$HOME/.local/share}
config=${XDG_CONFIG_HOME:-$HOME/.config}
cache=${XDG_CACHE_HOME:-$HOME/.cache}
target=$data/kesto
programs="kesto up.qmz regtool"
entry=$data/applications/kesto.desktop
autostart=$config/autostart/kesto.desktop
icon_sizes="16 24 32 48"

say() { printf '%s\n' "$*"; }
fail() {
  say "$*" >&2
  exit 1
}

# The programs' processes by their path, also once the file itself has been replaced.
platform_pids() {
  for exe in /proc/[0-9]*/exe; do
    path=$(readlink "$exe" 2>/dev/null) || continue
    case $path in
    "$target/kesto" | "$target/kesto (deleted)" | "$target/up.qmz" | "$target/up.qmz (deleted)")
      pid=${exe#/proc/}
      say "${pid%/exe}"
      ;;
    esac
  done
}

# Asks a running platform (and an updater at work) to end, and waits for it; a program that
# ignores the request is ended after 10 s.
stop_platform() {
  pids=$(platform_pids)
  [ -n "$pids" ] || return 0
  say "正在退出运行中的 Kesto…"
  # shellcheck disable=SC2086 # one pid a word
  kill -TERM $pids 2>/dev/null || true
  tries=0
  while [ -n "$(platform_pids)" ] && [ $tries -lt 100 ]; do
    sleep 0.1
    tries=$((tries + 1))
  done
  pids=$(platform_pids)
  # shellcheck disable=SC2086
  [ -z "$pids" ] || kill -KILL $pids 2>/dev/null || true
}

# A desktop entry's string value: "\" starts an escape there.
string_value() {
  say "$1" | sed -e 's/\\/\\\\/g'
}

# An argument of a desktop entry's Exec key: quoted, with the quoting rules' own escapes, then
# the escapes of a string value.
exec_argument() {
  say "$1" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g' -e 's/^/"/' -e 's/$/"/'
}

write_entry() {
  file=$1
  shift
  mkdir -p "$(dirname "$file")"
  {
    say "[Desktop Entry]"
    say "Type=Application"
    say "Name=Kesto"
    say "Name[zh_CN]=Kesto应用平台"
    say "Comment=Tools for online-shop sellers"
    say "Comment[zh_CN]=卖家工具平台"
    # The program is the shell's argument, not the command: GLib looks for the command as it
    # stands, with a "%" of the path still doubled, and refuses the entry when it finds none.
    # shellcheck disable=SC2016 # "$0" is for the shell the entry starts
    say "Exec=sh -c $(exec_argument 'exec "$0"') $(exec_argument "$target/kesto")"
    say "Path=$(string_value "$target")"
    say "Icon=kesto"
    say "Terminal=false"
    say "Categories=Office;"
    for line in "$@"; do say "$line"; done
  } >"$file.new"
  mv -f "$file.new" "$file"
}

# Raises the installed up.ini to the floor the download carries (its up.ini, less the tools
# named, which the seller had already): each version and the feed sequence only go up, compared
# as dotted numbers, and every other line stays.
raise_floor() {
  [ -f "$target/up.ini" ] || : >"$target/up.ini"
  cp "$source/up.ini" "$target/.up-floor.new"
  for tool in "$@"; do
    grep -v -i "^$tool=" "$target/.up-floor.new" >"$target/.up-floor.kept" || true
    mv -f "$target/.up-floor.kept" "$target/.up-floor.new"
  done
  awk -v floor="$target/.up-floor.new" '
    function trim(text) { gsub(/^[ \t]+|[ \t]+$/, "", text); return text }
    function newer(a, b,   x, y, n, m, i) {
      n = split(a, x, "."); m = split(b, y, "."); if (m > n) n = m
      for (i = 1; i <= n; i++) if (x[i] + 0 != y[i] + 0) return x[i] + 0 > y[i] + 0
      return 0
    }
    # The keys of the floor that the section just read lacked.
    function add_missing(   k, p) {
      for (k in want) {
        split(k, p, SUBSEP)
        if (p[1] == section && !(k in done)) { print p[2] "=" want[k] "\r"; done[k] = 1 }
      }
    }
    BEGIN {
      while ((getline line < floor) > 0) {
        sub(/\r$/, "", line)
        if (line ~ /^\[/) { s = tolower(trim(substr(line, 2, index(line, "]") - 2))); order[++n] = s }
        else if (index(line, "=")) want[s SUBSEP tolower(trim(substr(line, 1, index(line, "=") - 1)))] = trim(substr(line, index(line, "=") + 1))
      }
    }
    { sub(/\r$/, "") }
    /^[ \t]*\[/ {
      add_missing(); section = tolower(trim(substr($0, index($0, "[") + 1, index($0, "]") - index($0, "[") - 1)))
      seen[section] = 1; print $0 "\r"; next
    }
    index($0, "=") {
      k = section SUBSEP tolower(trim(substr($0, 1, index($0, "=") - 1)))
      if ((k in want) && !(k in done)) {
        done[k] = 1
        if (newer(want[k], trim(substr($0, index($0, "=") + 1)))) { print substr($0, 1, index($0, "=") - 1) "=" want[k] "\r"; next }
      }
    }
    { print $0 "\r" }
    END {
      add_missing()
      for (i = 1; i <= n; i++) if (!(order[i] in seen)) { section = order[i]; seen[section] = 1; print "[" section "]\r"; add_missing() }
    }
  ' "$target/up.ini" >"$target/.up.ini.new"
  mv -f "$target/.up.ini.new" "$target/up.ini"
  rm -f "$target/.up-floor.new"
}

# The libraries the platform cannot start without (WebKitGTK above all); the loader would
# only say so where nobody reads it when the menu starts the platform. The programs load their
# toolkit (GTK, WebKitGTK) only when they show a window, libcurl at the first transfer and
# libcrypto at the first signature check, so ldd does not name those libraries: they are looked
# up in the loader's cache, where there is one to ask.
toolkit_libraries="libgtk-3.so.0 libwebkit2gtk-4.1.so.0 libjavascriptcoregtk-4.1.so.0
libgdk_pixbuf-2.0.so.0 libjpeg.so.62 libX11.so.6 libcurl.so.4 libcrypto.so.3"
missing_toolkit_libraries() {
  cache=$(PATH="$PATH:/sbin:/usr/sbin" ldconfig -p 2>/dev/null) || return 0
  for library in $toolkit_libraries; do
    printf '%s\n' "$cache" | grep -q "^[[:space:]]*$library " || printf '%s ' "$library"
  done
}

check_can_run() {
  missing=$(ldd "$source/kesto" 2>/dev/null |
    sed -n 's/^[[:space:]]*\([^ ]*\) => not found.*/\1/p' | tr '\n' ' ')
  missing="$missing$(missing_toolkit_libraries)"
  if [ -n "$missing" ]; then
    fail "Kesto 需要的系统库没有安装：$missing
Kesto needs these libraries: $missing
请先安装 WebKitGTK 4.1 和 GTK 3，例如 Debian / Ubuntu：sudo apt install libwebkit2gtk-4.1-0
Fedora：sudo dnf install webkit2gtk4.1；openSUSE：sudo zypper install libwebkit2gtk-4_1-0"
  fi
}

install_kesto() {
  source=$(cd "$(dirname "$0")" && pwd)
  for file in $programs install.sh README.txt reg.qmz up.ini; do
    [ -f "$source/$file" ] || fail "install.sh: $file is missing beside it; unpack the whole download"
  done
  check_can_run
  stop_platform
  mkdir -p "$target"
  # Each file replaced by a rename: a program that still runs keeps its old file.
  for file in $programs README.txt reg.qmz; do
    cp "$source/$file" "$target/.$file.new"
    mv -f "$target/.$file.new" "$target/$file"
  done
  cp "$source/install.sh" "$target/.uninstall.sh.new"
  mv -f "$target/.uninstall.sh.new" "$target/uninstall.sh"
  chmod 755 "$target/kesto" "$target/up.qmz" "$target/regtool" "$target/uninstall.sh"
  # The tools the download brings, where the seller has none of that name yet.
  had=""
  for tool in "$source"/app/*/; do
    [ -d "$tool" ] || continue
    tool=$(basename "$tool")
    if [ -e "$target/app/$tool" ]; then
      had="$had $tool"
    else
      mkdir -p "$target/app" && cp -R "$source/app/$tool" "$target/app/"
    fi
  done
  # shellcheck disable=SC2086 # one key a word
  raise_floor $had
  for size in $icon_sizes; do
    mkdir -p "$data/icons/hicolor/${size}x$size/apps"
    cp "$source/icons/kesto-$size.png" "$data/icons/hicolor/${size}x$size/apps/kesto.png"
  done
  touch "$data/icons/hicolor" # desktops look again at a theme folder that changed
  write_entry "$entry"
  if [ "$start_at_login" = yes ] && [ -t 0 ]; then
    printf '登录时自动启动 Kesto？Start Kesto at login? [Y/n] '
    read -r answer || answer=
    case $answer in [nN]*) start_at_login=no ;; esac
  fi
  if [ "$start_at_login" = yes ]; then
    write_entry "$autostart" "X-GNOME-Autostart-enabled=true"
  else
    rm -f "$autostart"
  fi
  if command -v update-desktop-database >/dev/null 2>&1; then
    update-desktop-database -q "$data/applications" || true
  fi
  say "Kesto 已安装到 $target，可以从应用菜单启动。"
  say "Kesto is installed in $target; start it from the applications menu."
}

# The platform's browser data and cache, by the platform's own rule: a folder named by the first
# 16 hexadecimal digits of the SHA-256 of the program folder's path, under the data and cache
# homes; the folders above it go once empty.
remove_web_data() {
  folder=$(cd "$target" 2>/dev/null && pwd -P) || return 0
  hash=$(printf '%s' "$folder" | sha256sum | cut -c1-16)
  rm -rf "$data/kesto/webdata/$hash" "$cache/kesto/webcache/$hash"
  rmdir "$data/kesto/webdata" "$cache/kesto/webcache" "$cache/kesto" 2>/dev/null || true
}

uninstall_kesto() {
  stop_platform
  remove_web_data
  for file in $programs README.txt reg.qmz uninstall.sh; do rm -f "$target/$file"; done
  for size in $icon_sizes; do rm -f "$data/icons/hicolor/${size}x$size/apps/kesto.png"; done
  rm -f "$entry" "$autostart"
  say "Kesto 已卸载。Kesto is uninstalled."
  # The folder goes when nothing else is in it; otherwise what stays is named.
  rmdir "$target" 2>/dev/null && return 0
  kept=$(cd "$target" && for name in * .[!.]* ..?*; do
    [ -e "$name" ] || continue
    if [ -d "$name" ]; then printf ' %s/' "$name"; else printf ' %s' "$name"; fi
  done)
  say "保留在 $target：$kept"
  say "These stay in $target:$kept"
}

start_at_login=yes
mode=install
[ "$(basename "$0")" = uninstall.sh ] && mode=uninstall
for option in "$@"; do
  case $option in
  --no-autostart) start_at_login=no ;;
  --uninstall) mode=uninstall ;;
  *) fail "usage: install.sh [--no-autostart] | uninstall.sh" ;;
  esac
done
"${mode}_kesto"
