#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a scratch DESTDIR under an unusual prefix and checks what a
# desktop and a player get: every file in its place, the desktop entry, AppStream data
# and manual page valid, the command line, and the installed program opening its own
# help book from the menu (so the book is found relative to the program).
# Needs an X display and no window manager.   Usage: test_install.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
stage=$(mktemp -d /tmp/pelmanix-install-XXXXXX) && trap 'kill $pid 2>/dev/null; rm -rf "$stage"' EXIT
prefix=/opt/pelmanix-test root=$stage/opt/pelmanix-test id=io.github.pelmanix.Pelmanix pid=
hicolor=$root/share/icons/hicolor desktop=$root/share/applications/$id.desktop
metainfo=$root/share/metainfo/$id.metainfo.xml failures=0
fail() { echo "FAIL: $*" >&2 && failures=$((failures + 1)); }
DESTDIR=$stage cmake --install "$1" --prefix "$prefix" >/dev/null || fail "cmake --install"

# Files in place, named by the AppStream id; each icon in the directory of its own size.
for file in share/pelmanix/pelmanix.htb share/man/man6/pelmanix.6 \
  share/icons/hicolor/symbolic/apps/$id-symbolic.svg; do
  [ -s "$root/$file" ] || fail "not installed: $file"
done
[ -x "$root/bin/pelmanix" ] || fail "bin/pelmanix is not an installed program"
module=$(find "$root/lib"* -name pelmanix-dialogs.so)
[ -s "$module" ] || fail "the dialog module is not installed"
for size in 32 48 64 128 256; do
  got=$(identify -format '%wx%h' "$hicolor/${size}x${size}/apps/$id.png" 2>/dev/null)
  [ "$got" = "${size}x${size}" ] || fail "icon for ${size}x${size} is ${got:-none}"
done

# Desktop data as desktops and software centres read it.
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --pedantic --no-net "$metainfo" >/dev/null || fail "appstreamcli validate"
grep -qx 'Exec=pelmanix' "$desktop" || fail "desktop entry does not start pelmanix"
for named in "$(sed -n 's/^Icon=//p' "$desktop")" "$(sed -n 's:.*<icon type="stock">\(.*\)</icon>.*:\1:p' "$metainfo")"; do
  for icon in "$hicolor/256x256/apps/$named.png" "$hicolor/scalable/apps/$named.svg"; do
    [ -s "$icon" ] || fail "icon \"$named\" named by the desktop data is not installed as $icon"
  done
done
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the AppStream data does not launch the installed desktop entry"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/share/man/man6/pelmanix.6" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "manual page: $warnings"

# The command line is answered before any display is needed.
version=$(sed -n 's/^project(Pelmanix VERSION \([0-9.]*\).*/\1/p' "$2/CMakeLists.txt")
for args in --version "--display=:99 --version" "--name pelmanix --version"; do
  # shellcheck disable=SC2086
  got=$(env -u DISPLAY "$root/bin/pelmanix" $args 2>&1)
  [ "$got" = "Pelmanix $version" ] || fail "pelmanix $args printed \"$got\""
done
usage=$(env -u DISPLAY "$root/bin/pelmanix" --help) || fail "pelmanix --help failed"
iconv -f UTF-8 -t UTF-8 <<<"$usage" >/dev/null && [[ $usage == *--version* ]] &&
  LC_ALL=C.UTF-8 grep -qP '\p{Katakana}' <<<"$usage" || fail "pelmanix --help: no Japanese usage: $usage"
for args in --bogus -x "--help=no" "--display"; do
  # shellcheck disable=SC2086
  err=$(env -u DISPLAY "$root/bin/pelmanix" $args 2>&1 >/dev/null)
  status=$?
  [ "$status" = 2 ] && [[ $err == *"$usage"* ]] || fail "pelmanix $args: status $status, \"$err\""
done

# "ヘルプ(&F)" then its first item, "ヘルプを見る(&H)", from the keyboard opens a window
# with the title of the book's first page. Names compared as UTF-8 (_NET_WM_NAME):
# search --name reads only WM_NAME, which GTK may leave at an older title.
topic=$(sed -n 's/^Default topic=//p' "$2/res/help/pelmanix.hhp" | tr -d '\r')
title=$(sed -n 's:.*<title>\(.*\)</title>.*:\1:p' "$2/res/help/$topic" | head -1)
mkdir "$stage/state"
TEMP=$stage/state "$root/bin/pelmanix" &
pid=$!
window=$(timeout 20 xdotool search --all --sync --onlyvisible --pid $pid --name '^Pelmanix$' | head -1)
xdotool windowfocus --sync "$window" key alt+f sleep 0.5 key Return
for _ in $(seq 100); do
  for w in $(xdotool search --all --onlyvisible --pid $pid); do
    [ "$(xdotool getwindowname "$w")" = "$title" ] && found=$w
  done
  [ -n "${found:-}" ] && break || sleep 0.2
done
[ -n "$title" ] && [ -n "${found:-}" ] || fail "no help window titled \"$title\" from the installed program"

# Without its module the program goes on, and tells which file it could not load.
kill $pid && wait $pid; rm -f "$module"
TEMP=$stage/state "$root/bin/pelmanix" 2>"$stage/err" &
pid=$!
window=$(timeout 20 xdotool search --all --sync --onlyvisible --pid $pid --name '^Pelmanix$' | head -1)
xdotool windowfocus --sync "$window" key alt+f sleep 0.5 key Return
for _ in $(seq 100); do
  [ "$(xdotool search --all --onlyvisible --pid $pid --name '^Pelmanix$' | wc -l)" = 2 ] && break || sleep 0.2
done
grep -q "pelmanix-dialogs.so: " "$stage/err" && [ "$(xdotool search --all --onlyvisible --pid $pid \
  --name '^Pelmanix$' | wc -l)" = 2 ] || fail "no message box naming the missing module: $(cat "$stage/err")"
[ "$failures" = 0 ] && echo "installed tree, desktop data and help book: all checks passed"
