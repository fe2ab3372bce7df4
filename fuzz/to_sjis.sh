#!/bin/sh
# SPDX-License-Identifier: MIT
# Copies a UTF-8 source as Shift_JIS. gcc turns literals into Shift_JIS with
# -fexec-charset=CP932; clang only knows UTF-8 there, but takes the converted bytes of a
# literal as they stand, which gives the same program.
set -eu
mkdir -p "$(dirname "$2")"
# A part file of its own per run: two targets may convert the same source at once.
iconv -f UTF-8 -t CP932 "$1" >"$2.part$$"
# A trail byte of 0x5C would read as a backslash: an escape in a literal, or a line
# joined to a comment.
if [ "$(tr -cd '\\' <"$1" | wc -c)" != "$(tr -cd '\\' <"$2.part$$" | wc -c)" ]; then
    echo "$1: a Shift_JIS trail byte is a backslash; this text cannot go through clang" >&2
    rm -f "$2.part$$"
    exit 1
fi
mv "$2.part$$" "$2"
