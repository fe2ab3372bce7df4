// SPDX-License-Identifier: MIT
#include "bench/bench_table.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

std::string ProcFile(pid_t pid, const char* pszName) {
    return pid ? Format("/proc/%d/%s", static_cast<int>(pid), pszName)
               : Format("/proc/self/%s", pszName);
}

} // namespace

double MsSince(BenchClock::time_point start) {
    return std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
}

long ReadStatusKb(pid_t pid, const char* pszKey) {
    FILE* pFile = std::fopen(ProcFile(pid, "status").c_str(), "r");
    if (!pFile)
        return -1;
    char szLine[256];
    long nKb = -1;
    const size_t nKey = std::strlen(pszKey);
    while (std::fgets(szLine, sizeof szLine, pFile))
        if (std::strncmp(szLine, pszKey, nKey) == 0 && szLine[nKey] == ':')
            nKb = std::strtol(szLine + nKey + 1, nullptr, 10);
    std::fclose(pFile);
    return nKb;
}

double ReadCpuSeconds(pid_t pid) {
    // The scheduler's own count, in nanoseconds: the tick counts of "stat" are
    // 10 ms steps, as coarse as the whole idle budget of a short run.
    if (FILE* pFile = std::fopen(ProcFile(pid, "schedstat").c_str(), "r")) {
        unsigned long long nNs = 0;
        const bool bRead = std::fscanf(pFile, "%llu", &nNs) == 1;
        std::fclose(pFile);
        if (bRead)
            return static_cast<double>(nNs) / 1e9;
    }
    FILE* pFile = std::fopen(ProcFile(pid, "stat").c_str(), "r");
    if (!pFile)
        return -1;
    char szLine[1024] = "";
    const bool bRead = std::fgets(szLine, sizeof szLine, pFile) != nullptr;
    std::fclose(pFile);
    // The command name may hold spaces: the fields are counted after its ')'.
    const char* p = bRead ? std::strrchr(szLine, ')') : nullptr;
    if (!p)
        return -1;
    unsigned long nUser = 0, nSystem = 0;
    if (std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &nUser,
                    &nSystem) != 2)
        return -1;
    return static_cast<double>(nUser + nSystem) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

Spread Summarise(std::vector<double> values) {
    Spread spread;
    if (values.empty())
        return spread;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    spread.dMedian = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    spread.dWorst = values.back();
    spread.dLeast = values.front();
    return spread;
}

std::string Format(const char* pszFormat, ...) {
    char szText[512];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(szText, sizeof szText, pszFormat, args);
    va_end(args);
    return szText;
}

void PrintRow(const std::string& strWhat, const std::string& strFigure, const std::string& strGoal,
              bool bMet) {
    std::printf("ROW\t%s\t%s\t%s\t%s\n", strWhat.c_str(), strFigure.c_str(), strGoal.c_str(),
                bMet ? "met" : "MISSED");
    std::fflush(stdout);
}

void PrintInfo(const std::string& strWhat, const std::string& strFigure) {
    std::printf("ROW\t%s\t%s\t-\tinfo\n", strWhat.c_str(), strFigure.c_str());
    std::fflush(stdout);
}
