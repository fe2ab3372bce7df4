// SPDX-License-Identifier: MIT
#include "bench/bench_wx.h"

#include <thread>

#include <wx/app.h>

#include "bench/bench_table.h"

bool PumpUntil(const std::function<bool()>& bDone, int nTimeoutMs) {
    const BenchClock::time_point start = BenchClock::now();
    for (;;) {
        wxTheApp->Yield(true);
        if (bDone())
            return true;
        if (MsSince(start) >= nTimeoutMs)
            return false;
        // Short enough not to blur the timer figures, long enough not to spin hard.
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

void PumpFor(int nMilliseconds) {
    PumpUntil([] { return false; }, nMilliseconds);
}
