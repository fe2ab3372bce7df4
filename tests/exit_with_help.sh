#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Quits the program RUNS times through its menu while the help window is open;
# fails on any run that does not end with status 0.
# Usage: exit_with_help.sh PROGRAM [RUNS]   (on an X display)
set -u
exe=$1 runs=${2:-50}
temp=$(mktemp -d) && trap 'rm -rf "$temp"' EXIT
export TEMP=$temp NO_AT_BRIDGE=1

windows() { xdotool search --onlyvisible --pid "$1" 2>/dev/null; }
# Polls until the program shows N windows; prints the newest.
wait_windows() {
  local w
  for _ in $(seq ${POLLS:-100}); do
    w=$(windows "$1")
    [[ $(grep -c . <<<"$w") -ge $2 ]] && { tail -n1 <<<"$w"; return 0; }
    sleep 0.1
  done
  return 1
}

crashes=0
for run in $(seq "$runs"); do
  "$exe" >/dev/null 2>"$temp/err" &
  pid=$!
  frame=$(wait_windows $pid 1) &&
    xdotool windowfocus --sync "$frame" key alt+f && sleep 0.2 && xdotool key h &&
    wait_windows $pid 2 >/dev/null &&
    xdotool windowfocus --sync "$frame" key alt+m && sleep 0.2 && xdotool key x &&
    box=$(wait_windows $pid 3) && xdotool windowfocus --sync "$box" key Return
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -9 $pid 2>/dev/null
  wait $pid
  status=$?
  if [[ $status -ne 0 ]] || grep -q 'Gtk-CRITICAL\|Gtk-WARNING' "$temp/err"; then
    echo "run $run: status $status" >&2
    cat "$temp/err" >&2
    crashes=$((crashes + 1))
  fi
done
echo "$runs exits with the help window open, $crashes failed"
[[ $crashes -eq 0 ]]
