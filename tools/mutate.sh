#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Mutation check: puts small realistic faults into the program one at a time,
# builds, runs the tests that cover the mutated folder, and puts the file back.
# A mutant is killed when a test fails (or times out), survives when all pass.
#   tools/mutate.sh              all mutants
#   tools/mutate.sh 3 7          only mutants 3 and 7
# MUTATE_BUILD names the build directory (default build); MUTATE_ALL_GUI=1 runs
# the window tests for every mutant, not only for those in ui/.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${MUTATE_BUILD:-build}
quick_tests="test_core test_records test_faults"
gui_tests="test_window test_windows"

if [[ -z ${DISPLAY:-} && -z ${MUTATE_IN_XVFB:-} ]]; then
  MUTATE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
fi
export NO_AT_BRIDGE=1 GTEST_COLOR=no

# file @ sed expression @ what the fault is
mutants=(
  "core/board.cpp@s/x % CELL_WIDTH < CELL_GAP/x % CELL_WIDTH <= CELL_GAP/@a card's left column hits the gap"
  "core/board.cpp@s/return nIndex < CARD_COUNT ? nIndex : -1;/return nIndex < CARD_COUNT + 13 ? nIndex % CARD_COUNT : -1;/@a click below the last row hits a card"
  "core/board.cpp@s/srand((unsigned)tSecond);/srand((unsigned)tSecond + 1);/@the shuffle is seeded off the given second"
  "core/board.cpp@s/NewDeal(time(NULL));/NewDeal(time(NULL) + clock());/@the deal depends on more than the second"
  "core/board.cpp@s/j = -1;/j = 0;/@the repeat check skips the first card"
  "core/board.cpp@s/if (m_nOpenCount < MAX_OPEN_COUNT)/if (m_nOpenCount <= MAX_OPEN_COUNT)/@the turn count passes 9999"
  "core/board.cpp@s/m_apCards\[nIndex1\]->m_nRank == m_apCards\[nIndex2\]->m_nRank/m_apCards[nIndex1]->m_nSuit == m_apCards[nIndex2]->m_nSuit/@pairs are matched by suit"
  "core/board.cpp@s/nMiss \* (nMiss - 1) \/ 2/nMiss * (nMiss + 1) \/ 2/@one miss is already penalised"
  "core/board.cpp@s/nMiss < MISS_TOP_BUCKET ? nMiss/nMiss < MISS_TOP_BUCKET - 1 ? nMiss/@four misses count as five or more"
  "core/board.cpp@s/new CCard(CELL_GAP + CELL_WIDTH \* nCol/new CCard(CELL_WIDTH * nCol/@cards lose their left gap"
  "core/score.cpp@s/if (nScore == MAX_SCORE)/if (nScore >= MAX_SCORE - 1)/@499 points grade SS"
  "core/score.cpp@s/else if (nScore > 450)/else if (nScore >= 450)/@450 points grade S"
  "core/score.cpp@s/else if (nScore > 200)/else if (nScore > 250)/@the D band starts at 251"
  "core/score.cpp@s/nSeconds \/ 60 % 60/nSeconds \/ 60/@minutes past the hour are not wrapped"
  "core/turn_rules.cpp@s/m_board.GetOpenCard(1) != -1)$/m_board.GetOpenCard(1) != -1 \&\& false)/@a third click turns a card"
  "core/turn_rules.cpp@s/StartTimer(TIMER_PAIR, PAIR_DELAY_MS);/StartTimer(TIMER_PAIR, CloseDelayMs(m_board.m_nTimeIndex));/@a pair waits for the close delay"
  "core/turn_rules.cpp@s/else if (m_board.m_bTimeAuto)/else/@a mismatch closes by itself in right-click mode"
  "core/turn_rules.cpp@s/if (m_window.IsProgramActive())/if (m_window.IsProgramActive() || true)/@the clock counts while another program is active"
  "core/turn_rules.cpp@/^            StopTimer(TIMER_CLOCK);/d@winning leaves the clock running"
  "core/turn_rules.cpp@s/InsertResult(nScore, m_board.GetOpenCount(), g_nGameSeconds)/InsertResult(nScore, g_nGameSeconds, m_board.GetOpenCount())/@the result swaps turns and seconds"
  "core/turn_rules.cpp@s/            pCard->AddMiss();/            if (pCard == apPair[0]) pCard->AddMiss();/@only the first card of a mismatch counts a miss"
  "core/turn_rules.cpp@s/^    if (m_board.m_bTimeAuto)$/    if (!m_board.m_bTimeAuto)/@right clicks act in automatic mode"
  "core/turn_rules.cpp@/^    StopTimer(TIMER_MISS);/d@a mismatch timer of the old deal survives a new game"
  "core/turn_rules.cpp@/^    g_nGameSeconds = 0;/d@a new game keeps the old time"
  "core/dialog_text.cpp@s/if (table.anScore\[i\] != nPrevious)/if (table.anScore[i] != nPrevious || true)/@equal scores get places of their own"
  "core/dialog_text.cpp@s/Append(pszLine, szGrade + 2);/Append(pszLine, szGrade);/@the summary shows the grade with its space"
  "records/ranking.cpp@s/table.anScore\[nRow\] >= nScore/table.anScore[nRow] > nScore/@an equal score goes above the older one"
  "records/ranking.cpp@s/if (table.nCount < RANK_ROWS)/if (table.nCount <= RANK_ROWS)/@the row count passes five"
  "records/ranking.cpp@s/PutInt32(pRow + 6, table.anOpens\[nRow\]);/PutInt32(pRow + 5, table.anOpens[nRow]);/@turns are written one byte early"
  "records/ranking.cpp@s/nBase + 10, \&table.anSeconds/nBase + 6, \&table.anSeconds/@seconds are read from the turns field"
  "records/ranking.cpp@s/Clamp(table.anScore\[nRow\], 0, RANK_MAX_SCORE)/table.anScore[nRow]/@a damaged score is not clamped"
  "records/ranking.cpp@s/tmLocal.tm_mon + 1,/tmLocal.tm_mon,/@the date stamp's month is off by one"
  "records/settings.cpp@s/^        return 1;$/        return 0;/@an absent start-up switch reads as off"
  "records/settings.cpp@s/        s.nTimeIndex = FIRST_RUN_TIME_INDEX;/        s.nTimeIndex = 0;/@the first-run close delay is 100 ms"
  "records/settings.cpp@s/\* 1000.0/* 100.0/@close delays are a tenth too short"
  "records/settings.cpp@s/nDraw % nRows/nDraw % (nRows - 1)/@the last row is never drawn"
  "records/ini.cpp@s/AsciiLower(strText\[nBegin + i\]) != AsciiLower(pszName\[i\])/AsciiLower(strText[nBegin + i]) != pszName[i]/@names are matched with case"
  "records/ini.cpp@s/strText\[nBegin\] == ';'/strText[nBegin] == '#'/@comments start with #"
  "ui/paint.cpp@s/GAME_TIME_POS(625, 294)/GAME_TIME_POS(625, 290)/@the time is drawn 4 pixels high"
  "ui/paint.cpp@s/if (m_board.m_bShowTime)/if (m_board.m_bShowOpens)/@the time follows the turn count's switch"
  "ui/paint.cpp@s/if (!card.m_bDealt || card.m_bRemoved)/if (!card.m_bDealt)/@removed cards are still drawn"
  "ui/paint.cpp@s/BlitCardBack(pDC, card.m_nX, card.m_nY);/BlitCardBack(pDC, card.m_nY, card.m_nX);/@backs are drawn at swapped places"
  "ui/frame_records.cpp@s/wxPoint(settings.nLeft, settings.nTop)/wxPoint(settings.nTop, settings.nLeft)/@LEFT and TOP are swapped"
  "ui/frame_records.cpp@s/if (g_bRandomCard)/if (g_bRandomBack)/@the random card back follows the background's switch"
  "ui/frame_records.cpp@s/m_nBackground = DrawRandomRow(BACKGROUND_COUNT)/m_nBackground = DrawRandomRow(CARD_PATTERN_COUNT)/@a random background is one of the first four"
  "ui/frame.cpp@s/        m_aTimers\[TIMER_CLOCK\].Stop();/        (void)0;/@a dialog leaves the clock running"
  "ui/frame_records.cpp@/m_board.m_bTimeAuto = dlg.m_bTimeAuto;/d@OK drops the closing rule"
  "ui/frame_records.cpp@s/if (dlg.m_bCleared)/if (!dlg.m_bCleared)/@the ranking is emptied when not confirmed"
  "ui/option_dialog.cpp@s/IsChecked(ID_CHECK_RIGHT_CLOSE) ? 0 : 1/IsChecked(ID_CHECK_RIGHT_CLOSE) ? 1 : 0/@the right-click box works backwards"
  "ui/ranking_dialog.cpp@s/RANKING_LINE_STEP = 25/RANKING_LINE_STEP = 24/@ranking rows stand a pixel closer"
  "ui/paint.cpp@s/m_pShown->m_aTextRect\[1\].Intersects(area)/m_pShown->m_aTextRect[0].Intersects(area)/@a redraw of part of the board leaves the time out"
  "ui/paint.cpp@s/changed.push_back(area.Union(shown.m_aTextRect\[n\]));/changed.push_back(area.Intersect(shown.m_aTextRect[n]));/@a changed status text redraws only where old and new overlap"
  "ui/paint.cpp@s/for (int nPlace : {shown.m_nFocus, nFocus})/for (int nPlace : {nFocus})/@a moved frame stays drawn at its old place"
  "ui/frame_records.cpp@s/IsX11Display() ? GetPosition() : m_storedPosition/IsX11Display() ? m_storedPosition : GetPosition()/@closing stores the place as read, not where the window stood"
)

backup=$(mktemp -d)
current=""
restore() { [[ -n $current ]] && cp "$backup/file" "$root/$current"; current=""; }
trap 'restore; rm -rf "$backup"' EXIT
trap 'exit 130' INT TERM

build_targets() { cmake --build "$build" -j2 --target "$@" >"$backup/build.log" 2>&1; }
run_tests() {
  local t
  for t in "$@"; do
    timeout 180 "$build/tests/$t" --gtest_brief=1 >"$backup/test.log" 2>&1 || return 1
  done
}
tests_for() {
  if [[ $1 == ui/* || -n ${MUTATE_ALL_GUI:-} ]]; then echo "$quick_tests $gui_tests"; else echo "$quick_tests"; fi
}

# The unmutated program must pass, or every mutant would look killed.
[[ -d $build ]] || cmake --preset default >/dev/null
all="$quick_tests $gui_tests"
if ! build_targets $all || ! run_tests $all; then
  echo "the unmutated build or its tests fail; see $build" >&2
  cat "$backup/build.log" "$backup/test.log" | tail -30 >&2
  exit 2
fi

killed=0 survived=0 unbuilt=0 missing=0 n=0
survivors=()
for entry in "${mutants[@]}"; do
  n=$((n + 1))
  if (($# > 0)) && [[ " $* " != *" $n "* ]]; then continue; fi
  IFS='@' read -r file expr what <<<"$entry"
  cp "$file" "$backup/file"
  current=$file
  sed -i "$expr" "$file"
  if cmp -s "$file" "$backup/file"; then
    printf '%2d not found  %s: %s\n' "$n" "$file" "$what"
    missing=$((missing + 1))
    restore
    continue
  fi
  tests=$(tests_for "$file")
  if ! build_targets $tests; then
    result="unbuilt"
    unbuilt=$((unbuilt + 1))
  elif run_tests $tests; then
    result="SURVIVED"
    survived=$((survived + 1))
    survivors+=("$n $file: $what")
  else
    result="killed"
    killed=$((killed + 1))
  fi
  printf '%2d %-9s %s: %s\n' "$n" "$result" "$file" "$what"
  restore
done
build_targets $all || true

echo "killed $killed, survived $survived, not built $unbuilt, not found $missing (of $n)"
for s in "${survivors[@]}"; do echo "  survivor: $s"; done
