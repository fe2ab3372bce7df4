#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR under an unusual prefix and checks
# what a desktop and a player get: every file in its place, the desktop entry,
# AppStream data and manual page valid, and the installed program opening its
# own help book from the menu (so the book is found relative to the program).
# Needs an X display (ctest runs inside xvfb-run) and no window manager.
#   test_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
stage=$(mktemp -d /tmp/pelmanix-install-XXXXXX)
prefix=/opt/pelmanix-test
root=$stage$prefix
pid=""
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$stage"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >/dev/null

# Files in place, named by the AppStream id; each icon in the directory of its own size.
id=io.github.pelmanix.Pelmanix
hicolor=$root/share/icons/hicolor
for file in bin/pelmanix share/pelmanix/pelmanix.htb share/applications/$id.desktop \
  share/metainfo/$id.metainfo.xml share/man/man6/pelmanix.6 \
  share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/symbolic/apps/$id-symbolic.svg; do
  [ -s "$root/$file" ] || fail "not installed: $file"
done
[ -x "$root/bin/pelmanix" ] || fail "bin/pelmanix is not executable"
for size in 32 48 64 128 256; do
  icon=$hicolor/${size}x${size}/apps/$id.png
  got=$(identify -format '%wx%h' "$icon" 2>/dev/null || echo none)
  [ "$got" = "${size}x${size}" ] || fail "icon for ${size}x${size} is $got"
done

# Desktop data as desktops and software centres read it.
desktop=$root/share/applications/$id.desktop
metainfo=$root/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --pedantic --no-net "$metainfo" >/dev/null || fail "appstreamcli validate"
grep -qx 'Exec=pelmanix' "$desktop" || fail "desktop entry does not start pelmanix"
for named in "$(sed -n 's/^Icon=//p' "$desktop")" "$(sed -n 's:.*<icon type="stock">\(.*\)</icon>.*:\1:p' "$metainfo")"; do
  for icon in "$hicolor/256x256/apps/$named.png" "$hicolor/scalable/apps/$named.svg"; do
    [ -s "$icon" ] || fail "icon \"$named\" named by the desktop data is not installed as $icon"
  done
done
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
  fail "the AppStream data does not launch the installed desktop entry"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/share/man/man6/pelmanix.6" 2>&1 \
  >/dev/null || true)
[ -z "$warnings" ] || fail "manual page: $warnings"

# The help window's title is the title of the book's first page.
topic=$(sed -n 's/^Default topic=//p' "$source/res/help/pelmanix.hhp" | tr -d '\r')
title=$(sed -n 's:.*<title>\(.*\)</title>.*:\1:p' "$source/res/help/$topic" | head -1)
[ -n "$title" ] || fail "no title in the help book's first page $topic"

# The command line is answered before any display is needed.
version=$(sed -n 's/^project(Pelmanix VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
for args in --version "--display=:99 --version" "--name pelmanix --version"; do
  # shellcheck disable=SC2086
  got=$(env -u DISPLAY "$root/bin/pelmanix" $args 2>&1) || true
  [ "$got" = "Pelmanix $version" ] || fail "pelmanix $args printed \"$got\""
done
usage=$(env -u DISPLAY "$root/bin/pelmanix" --help) || fail "pelmanix --help failed"
iconv -f UTF-8 -t UTF-8 <<<"$usage" >/dev/null && [[ $usage == *--version* ]] &&
  LC_ALL=C.UTF-8 grep -qP '\p{Katakana}' <<<"$usage" || fail "pelmanix --help: no Japanese usage: $usage"
for args in --bogus -x "--help=no" "--display"; do
  # shellcheck disable=SC2086
  status=0 && err=$(env -u DISPLAY "$root/bin/pelmanix" $args 2>&1 >/dev/null) || status=$?
  [ "$status" = 2 ] && [[ $err == *"$usage"* ]] || fail "pelmanix $args: status $status, \"$err\""
done

mkdir "$stage/state"
TEMP=$stage/state NO_AT_BRIDGE=1 "$root/bin/pelmanix" &
pid=$!
window=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Pelmanix$' |
  head -1) || true
if [ -z "$window" ]; then
  fail "the installed program showed no window"
else
  # "ヘルプ(&F)" then its first item, "ヘルプを見る(&H)", from the keyboard.
  xdotool windowfocus --sync "$window"
  xdotool key alt+f
  sleep 0.5
  xdotool key Return
  # Names compared as UTF-8 (_NET_WM_NAME): search --name reads only WM_NAME, which
  # GTK may leave at an older title when the locale cannot encode the new one.
  found=""
  for _ in $(seq 100); do
    for candidate in $(xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null); do
      [ "$(xdotool getwindowname "$candidate" 2>/dev/null)" = "$title" ] && found=$candidate
    done
    [ -n "$found" ] && break
    sleep 0.2
  done
  [ -n "$found" ] || fail "no help window titled \"$title\" from the installed program"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "installed tree, desktop data and help book: all checks passed"
