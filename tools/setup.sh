#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages of the named lists, tools/packages-NAME.txt: "run" for
# building and playing the game, "test" for the tests on top of it (both when none is
# named). Quick when they are all present.
#   tools/setup.sh run [test]
set -euo pipefail
dir=$(dirname "$0")
[ $# -gt 0 ] || set -- run test
packages=()
for list in "$@"; do
  read -r -a names <<<"$(sed 's/#.*//' "$dir/packages-$list.txt" | tr '\n' ' ')"
  packages+=("${names[@]}")
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The tests' desktop matrix runs the game under a Japanese locale too.
if [[ " $* " == *" test "* ]] && ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
  echo "Generating the locale ja_JP.UTF-8"
  $sudo_cmd localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
