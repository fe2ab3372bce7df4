#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command as a native Wayland client of a headless compositor of its own,
# with no X display: fails when the command fails or GTK complains.
# Usage: wayland_cell.sh COMMAND [ARGS...]
set -uo pipefail
command -v weston >/dev/null || { echo "weston is not installed (tools/setup.sh)" >&2; exit 1; }
XDG_RUNTIME_DIR=$(mktemp -d) && chmod 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR WAYLAND_DISPLAY=pelmanix-test GDK_BACKEND=wayland NO_AT_BRIDGE=1
unset DISPLAY
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --width=1280 --height=1024 \
  --idle-time=0 >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null; wait $weston 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 100); do [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] && break; sleep 0.1; done
[[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] || { cat "$XDG_RUNTIME_DIR/weston.log" >&2; exit 1; }
"$@" 2>&1 | tee "$XDG_RUNTIME_DIR/out"
status=$?
# A headless compositor has no seat, hence no keyboard for GTK's key bindings to ask about.
if grep -E '(Gtk|Gdk)-(CRITICAL|WARNING)' "$XDG_RUNTIME_DIR/out" | grep -qv gdk_seat_get_keyboard; then
  echo "GTK complained (above)" >&2
  exit 1
fi
exit $status
