#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Memcheck over the real main window's tests: start-up, painting, the ranking, options
# and game-clear dialogs, closing and saving both files (tests/test_window, test_windows). Library
# noise is suppressed by
# tools/valgrind.supp; anything left, a definite leak or a bad access, fails the run.
# Usage: tools/valgrind_game.sh [build dir, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
command -v valgrind >/dev/null || { echo "valgrind is not installed (apt-get install valgrind)"; exit 2; }
cmake --build "$build" -j2 --target test_window test_windows
log=$(mktemp /tmp/pelmanix-valgrind-XXXXXX.log)
status=0
for t in test_window test_windows; do
  NO_AT_BRIDGE=1 GDK_BACKEND=x11 xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
      valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
      --errors-for-leak-kinds=definite --error-exitcode=1 --num-callers=40 \
      --suppressions=tools/valgrind.supp \
      "$build/tests/$t" >>"$log" 2>&1 || status=$?
done
grep -E "PASSED|FAILED|definitely lost:|indirectly lost:|possibly lost:|ERROR SUMMARY|suppressed:" "$log" |
    sed 's/^==[0-9]*== //'
echo "full log: $log"
exit $status
