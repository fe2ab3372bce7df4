#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Prints the non-blank, non-comment lines of the tests (tests/, fuzz/) and of the
# program (core/, records/, ui/), and the first as a share of the second.
set -euo pipefail
cd "$(dirname "$0")/.."

count() {
  git ls-files "$@" | grep -E '\.(cpp|h|sh|py|cmake)$|CMakeLists.txt$' |
    xargs -r cat | grep -cvE '^\s*(//.*|#.*)?$' || true
}

tests=$(count tests fuzz)
product=$(count core records ui)
echo "test lines:    $tests"
echo "product lines: $product"
echo "ratio:         $((100 * tests / product)) %"
