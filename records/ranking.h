#pragma once

#include <cstddef>
#include <ctime>

constexpr int RANK_ROWS = 5;
// The ranges a stored row is kept within: a game scores at most 500 in at most 9999 turns.
constexpr int RANK_MAX_SCORE = 500;
constexpr int RANK_MAX_OPENS = 9999;
constexpr int RANK_DATE_SIZE = 20;
constexpr int RANK_STAMP_BYTES = 19;
constexpr int RANK_ROW_BYTES = 33;
constexpr int RANK_FILE_SIZE = 169;
constexpr const char* RANKING_FILE_NAME = "kq320217.dat";

struct RankingTable {
    RankingTable() { ClearRanking(); }
    void ClearRanking();

    int nCount;
    int anScore[RANK_ROWS];
    int anOpens[RANK_ROWS];
    int anSeconds[RANK_ROWS];
    char aszDate[RANK_ROWS][RANK_DATE_SIZE];
};

// Full path of the ranking file; false when no path fits the buffer.
bool GetRankingPath(char* pszPath, size_t nSize);
void MakeDateStamp(char* pszDate);
void MakeDateStampAt(time_t tWhen, char* pszDate);
void InsertResult(RankingTable& table, int nScore, int nOpens, int nSeconds);
// Both return whether the file was read / replaced; nobody shows the result to the player.
bool LoadRanking(RankingTable& table, const char* pszPath);
bool SaveRanking(const RankingTable& table, const char* pszPath);
