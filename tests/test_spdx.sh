#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every source, script and build file the repository tracks names its licence in
# its first lines.
#   test_spdx.sh SOURCE_DIR
set -euo pipefail
cd "$1"
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || { echo "not a git checkout: nothing to check"; exit 0; }
missing=$(git ls-files -- '*.cpp' '*.h' '*.sh' '*.py' '*.cmake' '*CMakeLists.txt' run test .ci/run \
  debian/rules bench/run | while read -r file; do
  [ -f "$file" ] && ! head -3 "$file" | grep -q 'SPDX-License-Identifier: MIT' && echo "$file"
done || true)
[ -z "$missing" ] || { echo "no SPDX-License-Identifier line in:" $missing >&2; exit 1; }
echo "every source file names its licence"
