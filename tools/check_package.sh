#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from a copy of the tree and checks what a player gets:
# lintian shows no E: or W: line, the versions agree, the files sit where Debian
# puts a game's, the binary is stripped, the package depends on no build tool, the
# desktop data validates and keeps its Japanese through composition, and the packaged
# game starts and opens its help book on the X display (xvfb-run when there is none).
#   tools/check_package.sh            unpacks the package into a scratch root
#   tools/check_package.sh --install  installs it with apt-get, starts /usr/games/pelmanix
#                                     and removes it again (as root, on a machine of your own)
# PELMANIX_KEEP_PACKAGE=1 keeps the scratch directory with the .deb and the build log.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in dpkg-buildpackage dh lintian; do
  command -v "$tool" >/dev/null || { echo "check_package: skipped, no $tool"; exit 0; }
done
install=false
[ "${1:-}" = --install ] && install=true

work=$(mktemp -d /tmp/pelmanix-package-XXXXXX)
pid=""
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  if [ -n "${PELMANIX_KEEP_PACKAGE:-}" ]; then echo "package kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# One version everywhere: the package, the build and the AppStream release.
version=$(dpkg-parsechangelog -S Version)
cmake_version=$(sed -n 's/^project(Pelmanix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
release=$(grep -o '<release version="[^"]*"' res/desktop/io.github.pelmanix.Pelmanix.metainfo.xml |
  head -1 | cut -d'"' -f2)
[ "$version" = "$cmake_version" ] || fail "debian/changelog says $version, CMakeLists.txt $cmake_version"
[ "$version" = "$release" ] || fail "debian/changelog says $version, the newest AppStream release $release"

# The tree as git sees it (committed or not, ignored files left out), without build dirs.
tree=$work/pelmanix-$version
mkdir "$tree"
git ls-files -z -co --exclude-standard | tar -c --null --ignore-failed-read -T - -f - 2>/dev/null |
  tar -x -C "$tree"
start=$(date +%s)
if ! (cd "$tree" && DEB_BUILD_OPTIONS="parallel=2 ${DEB_BUILD_OPTIONS:-}" \
  dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1; then
  tail -40 "$work/build.log" >&2
  echo "FAIL: dpkg-buildpackage" >&2
  exit 1
fi
echo "package built in $(($(date +%s) - start)) s"
deb=$(ls "$work"/pelmanix_"$version"_*.deb)

# Root is what CI has; lintian's remark about it is no finding.
lintian_out=$(lintian --display-level '>=warning' "$work"/pelmanix_"$version"_*.changes 2>&1 |
  grep -v '^running with root privileges' || true)
[ -z "$lintian_out" ] || echo "$lintian_out"
if grep -qE '^[EW]: ' <<<"$lintian_out"; then fail "lintian reports errors or warnings"; fi

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
tools=$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}' |
  grep -E -- '-dev$|^(cmake|make|g\+\+.*|gcc.*|clang.*|debhelper|lintian|xvfb|xdotool)$' || true)
[ -z "$tools" ] || fail "the package depends on build or test tools: $tools"


root=$work/root
dpkg-deb -x "$deb" "$root"
id=io.github.pelmanix.Pelmanix
for file in usr/games/pelmanix usr/share/games/pelmanix/pelmanix.htb \
  usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
  usr/share/man/man6/pelmanix.6.gz usr/share/doc/pelmanix/copyright \
  usr/share/icons/hicolor/256x256/apps/$id.png usr/share/icons/hicolor/scalable/apps/$id.svg \
  usr/share/icons/hicolor/symbolic/apps/$id-symbolic.svg \
  "usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/pelmanix/pelmanix-dialogs.so"; do
  [ -s "$root/$file" ] || fail "not in the package: /$file"
done
for file in "$root"/usr/games/pelmanix "$root"/usr/lib/*/pelmanix/pelmanix-dialogs.so; do
  if readelf -S "$file" | grep -qE '\.(debug_info|symtab)\b'; then fail "${file#"$root"} is not stripped"; fi
done
echo "installed size: $(dpkg-deb -f "$deb" Installed-Size) KiB; binary $(stat -c %s "$root/usr/games/pelmanix") bytes"

desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --pedantic --no-net "$root/usr/share/metainfo/$id.metainfo.xml" ||
  fail "appstreamcli validate --pedantic"
# Software centres read the composed catalogue; the Japanese texts must survive it.
if [ -x /usr/libexec/appstreamcli-compose ]; then
  appstreamcli compose --no-net --prefix=/usr --origin=pelmanix --result-root="$work/compose" \
    "$root" >"$work/compose.log" 2>&1 || fail "appstreamcli compose: $(cat "$work/compose.log")"
  catalogue=$(zcat "$work"/compose/usr/share/swcatalog/xml/pelmanix.xml.gz 2>/dev/null || true)
  for tag in name summary description; do
    grep -q "<$tag xml:lang=\"ja\">" <<<"$catalogue" || fail "the composed catalogue has no Japanese $tag"
  done
fi

# The packaged game: a window, and its help book from the menu.
game=$root/usr/games/pelmanix
if $install; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
  game=/usr/games/pelmanix
fi
[ "$("$game" --version)" = "Pelmanix $version" ] || fail "$game --version"
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  run_x=(xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp")
else
  run_x=()
fi
if command -v xdotool >/dev/null && { [ -n "${DISPLAY:-}" ] || [ ${#run_x[@]} -gt 0 ]; }; then
  topic=$(sed -n 's/^Default topic=//p' res/help/pelmanix.hhp | tr -d '\r')
  title=$(sed -n 's:.*<title>\(.*\)</title>.*:\1:p' "res/help/$topic" | head -1)
  mkdir "$work/state"
  # shellcheck disable=SC2016
  "${run_x[@]}" env TEMP="$work/state" NO_AT_BRIDGE=1 GAME="$game" TITLE="$title" bash -c '
    "$GAME" & pid=$!
    trap "kill $pid 2>/dev/null" EXIT
    window=$(timeout 20 xdotool search --all --sync --onlyvisible --pid $pid --name "^Pelmanix$" | head -1)
    [ -n "$window" ] || { echo "FAIL: the packaged game showed no window" >&2; exit 1; }
    xdotool windowfocus --sync "$window" key alt+f
    sleep 0.5
    xdotool key Return
    for _ in $(seq 100); do
      for w in $(xdotool search --all --onlyvisible --pid $pid 2>/dev/null); do
        [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$TITLE" ] && exit 0
      done
      sleep 0.2
    done
    echo "FAIL: the packaged game opened no help window titled \"$TITLE\"" >&2
    exit 1' || failures=$((failures + 1))
else
  echo "check_package: no X display or no xdotool, the game was not started"
fi
if $install; then
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq pelmanix >/dev/null
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package $(basename "$deb"): all checks passed"
