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

# Files in place; each icon in the directory of its own size.
for file in bin/pelmanix share/pelmanix/pelmanix.htb share/applications/pelmanix.desktop \
  share/metainfo/io.github.pelmanix.Pelmanix.metainfo.xml share/man/man6/pelmanix.6; do
  [ -s "$root/$file" ] || fail "not installed: $file"
done
[ -x "$root/bin/pelmanix" ] || fail "bin/pelmanix is not executable"
for size in 48 64 128 256; do
  icon=$root/share/icons/hicolor/${size}x${size}/apps/pelmanix.png
  got=$(identify -format '%wx%h' "$icon" 2>/dev/null || echo none)
  [ "$got" = "${size}x${size}" ] || fail "icon for ${size}x${size} is $got"
done

# Desktop data as desktops and software centres read it.
desktop=$root/share/applications/pelmanix.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/share/metainfo/io.github.pelmanix.Pelmanix.metainfo.xml" \
  >/dev/null || fail "appstreamcli validate"
grep -qx 'Exec=pelmanix' "$desktop" || fail "desktop entry does not start pelmanix"
grep -qx 'Icon=pelmanix' "$desktop" || fail "desktop entry does not name the installed icon"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/share/man/man6/pelmanix.6" 2>&1 \
  >/dev/null || true)
[ -z "$warnings" ] || fail "manual page: $warnings"

# The help window's title is the title of the book's first page.
topic=$(sed -n 's/^Default topic=//p' "$source/res/help/pelmanix.hhp" | tr -d '\r')
title=$(sed -n 's:.*<title>\(.*\)</title>.*:\1:p' "$source/res/help/$topic" | head -1)
[ -n "$title" ] || fail "no title in the help book's first page $topic"

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
