#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command on an X display of its own, set up as one kind of desktop:
#   a  C.UTF-8, IPA fonts, light theme      d  dark theme (Adwaita:dark)
#   b  ja_JP.UTF-8, IPA fonts               e  text scaled by 1.5 (GDK_DPI_SCALE)
#   c  ja_JP.UTF-8, Noto CJK only           f  whole desktop scaled by 2 (GDK_SCALE)
# Usage: desktop_cell.sh CELL COMMAND [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cell=$1
shift
unset LC_ALL LANGUAGE GTK_THEME GDK_SCALE GDK_DPI_SCALE FONTCONFIG_FILE
export LANG=C.UTF-8 NO_AT_BRIDGE=1 PELMANIX_CELL=$cell
screen=1280x1024
case $cell in
  a) ;;
  b) export LANG=ja_JP.UTF-8 ;;
  c) export LANG=ja_JP.UTF-8 FONTCONFIG_FILE=$here/fonts-no-ipa.conf ;;
  d) export GTK_THEME=Adwaita:dark ;;
  e) export GDK_DPI_SCALE=1.5 ;;
  f) export GDK_SCALE=2 screen=2560x2048 ;; # a double-density screen
  *) echo "unknown desktop cell: $cell" >&2; exit 2 ;;
esac
if [[ $LANG != C.UTF-8 ]] && ! locale -a | grep -qix "${LANG/UTF-8/utf8}"; then
  echo "locale $LANG is not generated (tools/setup.sh makes it)" >&2
  exit 1
fi
exec xvfb-run -a -s "-screen 0 ${screen}x24 -nolisten tcp" "$@"
