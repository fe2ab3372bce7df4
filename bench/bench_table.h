// SPDX-License-Identifier: MIT
#pragma once

// What every bench program shares: the monotonic clock, process figures from
// /proc, and the rows of the table bench/run prints. Texts stay ASCII: sources
// are built for Shift_JIS.

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

using BenchClock = std::chrono::steady_clock;

double MsSince(BenchClock::time_point start);

// A "Vm..." line of /proc/<pid>/status in kB (pid 0: this process); -1 when absent.
long ReadStatusKb(pid_t pid, const char* pszKey);
// User plus system CPU time of a process so far, in seconds; -1 when unreadable.
double ReadCpuSeconds(pid_t pid);

struct Spread {
    double dMedian = 0;
    double dWorst = 0; // the largest value
    double dLeast = 0;
};
Spread Summarise(std::vector<double> values);

std::string Format(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));

// One line of the table: what was measured, the figure, the goal, met or not.
void PrintRow(const std::string& strWhat, const std::string& strFigure, const std::string& strGoal,
              bool bMet);
// A figure shown for context, with no goal of its own.
void PrintInfo(const std::string& strWhat, const std::string& strFigure);
