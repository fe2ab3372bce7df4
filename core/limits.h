// SPDX-License-Identifier: MIT
#pragma once

#include "records/ranking.h"

// The game's fixed sizes and caps, named once.
constexpr int CARD_COUNT = 52;
constexpr int RANK_COUNT = 13;
constexpr int SUIT_COUNT = 4;
// The stored ranking keeps its rows within what a game can reach.
constexpr int MAX_SCORE = RANK_MAX_SCORE;
constexpr int MAX_OPEN_COUNT = RANK_MAX_OPENS;
// Miss counts from this one on share the last counter of the histogram.
constexpr int MISS_TOP_BUCKET = 5;
// Counters the end of a game hands to CalcScore: index = miss count.
constexpr int HISTOGRAM_SIZE = 11;
// The game-clear summary shows at most two digits per count.
constexpr int MAX_SHOWN_MISS_CARDS = 99;

// Times of play, in milliseconds.
constexpr int PAIR_DELAY_MS = 500;
constexpr int CLOCK_INTERVAL_MS = 1000;
constexpr int DEAL_STEP_MS = 25;
