#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Quits the program RUNS times through its menu while the help window is open; fails
# on any run that does not end with status 0, a crash included, and on any complaint
# GTK prints.
# Usage: exit_with_help.sh PROGRAM [RUNS]   (on an X display)
set -u
runs=${2:-50} run=0 failed=0 complaints=0 refused=0
export TEMP=$(mktemp -d) NO_AT_BRIDGE=1 && trap 'rm -rf "$TEMP"' EXIT
# Waits until the program shows $2 windows; prints the newest.
windows() {
  for _ in $(seq 100); do
    w=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null)
    [[ $(grep -c . <<<"$w") -ge $2 ]] && tail -n1 <<<"$w" && return
    sleep 0.1
  done
  return 1
}
while [[ $run -lt $runs ]]; do
  "$1" >/dev/null 2>"$TEMP/err" &
  pid=$! driven=0
  frame=$(windows $pid 1) && xdotool windowfocus --sync "$frame" key alt+f sleep 0.2 key h &&
    windows $pid 2 >/dev/null && xdotool windowfocus --sync "$frame" key alt+m sleep 0.2 key x &&
    box=$(windows $pid 3) && xdotool windowfocus --sync "$box" key Return && driven=1
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null && sleep 0.1; done
  kill -9 $pid 2>/dev/null
  wait $pid; status=$?
  # The test's X server turns away a connection now and then (the program's or the
  # input tool's): such a run never reached the exit, and is run again.
  [[ $driven -eq 0 && $status -ne 139 && $status -ne 134 && $((++refused)) -lt 10 ]] && continue
  run=$((run + 1)) complaints=$((complaints + $(grep -c 'Gtk-CRITICAL\|Gtk-WARNING' "$TEMP/err")))
  [[ $status -eq 0 ]] || { echo "run $run: status $status" >&2; cat "$TEMP/err" >&2; failed=$((failed + 1)); }
done
echo "$runs exits with the help window open, $failed failed; GTK complained $complaints" \
  "times; $refused runs not driven to the exit were run again"
[[ $failed -eq 0 && $complaints -eq 0 ]]
