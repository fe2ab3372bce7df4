// SPDX-License-Identifier: MIT
#pragma once

// wx for the in-process bench programs: the real main window on $DISPLAY, and
// waiting on its event loop.

#include <functional>

#include "tests/wx_start.h"

// Runs the event loop until bDone() holds; false when nTimeoutMs passed first.
bool PumpUntil(const std::function<bool()>& bDone, int nTimeoutMs);
void PumpFor(int nMilliseconds);
