#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command as a native Wayland client of a headless compositor of its own, with
# no X display: fails when the command fails or GTK complains.
# Usage: wayland_cell.sh COMMAND [ARGS...]
set -uo pipefail
XDG_RUNTIME_DIR=$(mktemp -d) && chmod 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR TEMP=$XDG_RUNTIME_DIR WAYLAND_DISPLAY=pelmanix-test GDK_BACKEND=wayland NO_AT_BRIDGE=1
unset DISPLAY
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 \
  >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
trap 'kill $!; wait; rm -rf "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 100); do [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]] && break; sleep 0.1; done
"$@" 2>&1 | tee "$XDG_RUNTIME_DIR/out" || exit 1
# A headless compositor has no seat, hence no keyboard for GTK's key bindings to ask about.
! grep -E '(Gtk|Gdk)-(CRITICAL|WARNING)' "$XDG_RUNTIME_DIR/out" | grep -v gdk_seat_get_keyboard
