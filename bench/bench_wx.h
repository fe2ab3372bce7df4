#pragma once

// wx for the in-process bench programs: the real main window on $DISPLAY, and
// waiting on its event loop.

#include <functional>

// Starts wx with asserts and logged errors sent to stderr; false without a display.
bool StartWx(int argc, char** argv);
void StopWx();

// Runs the event loop until bDone() holds; false when nTimeoutMs passed first.
bool PumpUntil(const std::function<bool()>& bDone, int nTimeoutMs);
void PumpFor(int nMilliseconds);
