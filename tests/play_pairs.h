// SPDX-License-Identifier: MIT
#pragma once

#include "core/board.h"

// What a player who knows the deal does: play(a, b) turns up cards a and b of one rank,
// pair after pair in the order of their places, each card once.
template <class Play> void PlayPairs(const CGameBoard& deal, Play play) {
    bool abTaken[CARD_COUNT] = {};
    for (int a = 0; a < CARD_COUNT; ++a)
        for (int b = a + 1; b < CARD_COUNT && !abTaken[a]; ++b)
            if (!abTaken[b] && deal.m_apCards[a]->m_nRank == deal.m_apCards[b]->m_nRank)
                abTaken[a] = abTaken[b] = true, play(a, b);
}
