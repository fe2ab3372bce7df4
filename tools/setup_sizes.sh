#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# How much the package lists install on a fresh Debian 12: apt-get simulates each
# install against a package status that holds only the packages of priority required
# and what they depend on (a minimal system), and the installed sizes are added up.
#   tools/setup_sizes.sh [PACKAGE.deb]   with a .deb, also what installing it pulls in
set -euo pipefail
dir=$(dirname "$0")
status=$(mktemp)
trap 'rm -f "$status"' EXIT
# The required packages and, through the installed ones, everything they depend on.
dpkg-query -W -f='${Package}\t${Priority}\t${Provides}\t${Pre-Depends}, ${Depends}\n' |
  /usr/bin/python3 -c '
import re, sys
rows = [line.rstrip("\n").split("\t") for line in sys.stdin]
deps = {r[0]: r[3] for r in rows}
names = {r[0]: r[0] for r in rows}
for r in rows:
    for v in (p.split()[0] for p in r[2].split(",") if p.strip()):
        names.setdefault(v, r[0])
todo = [r[0] for r in rows if r[1] == "required"]
seen = set()
while todo:
    p = todo.pop()
    if p in seen:
        continue
    seen.add(p)
    for group in filter(None, (g.strip() for g in deps[p].split(","))):
        for alt in group.split("|"):
            name = re.split(r"[\s:(]", alt.strip())[0]
            if name in names:
                todo.append(names[name])
                break
print("\n".join(sorted(seen)))' | xargs dpkg-query -s >"$status"
list() { sed 's/#.*//' "$dir/packages-$1.txt" | tr '\n' ' '; }
install_sim() {
  apt-get -s -o Dir::State::status="$status" install --no-install-recommends "$@" | awk '/^Inst /{print $2}'
}
simulate() {
  # shellcheck disable=SC2046
  install_sim $(for l; do list "$l"; done)
}
kib() {
  if [ $# -eq 0 ]; then echo 0; return; fi
  apt-cache show --no-all-versions "$@" | awk '/^Installed-Size:/{s += $2} END {print s + 0}'
}
mapfile -t run < <(simulate run)
mapfile -t all < <(simulate run test)
mapfile -t test_only < <(comm -13 <(printf '%s\n' "${run[@]}" | sort) <(printf '%s\n' "${all[@]}" | sort))
printf '%-24s %4d packages %5d MiB\n' "./run (run list)" "${#run[@]}" $(($(kib "${run[@]}") / 1024))
printf '%-24s %4d packages %5d MiB\n' "./test adds (test list)" "${#test_only[@]}" \
  $(($(kib "${test_only[@]}") / 1024))
if [ $# -gt 0 ]; then
  mapfile -t game < <(install_sim "$(realpath "$1")" | grep -vx pelmanix)
  printf '%-24s %4d packages %5d MiB (and the game, %d KiB)\n' "$(basename "$1")" "${#game[@]}" \
    $(($(kib "${game[@]}") / 1024)) "$(dpkg-deb -f "$1" Installed-Size)"
fi
