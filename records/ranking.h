// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <ctime>
#include <vector>

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
// The same with a stamp made before.
void InsertResultDated(RankingTable& table, int nScore, int nOpens, int nSeconds,
                       const char* pszDate);
// Both return whether the file was read / replaced; nobody shows the result to the player.
bool LoadRanking(RankingTable& table, const char* pszPath);
bool SaveRanking(const RankingTable& table, const char* pszPath);

// This run's changes to the ranking, kept until a save has put them into the file, so that
// two copies of the game on one file each keep their results.
class RankingChanges {
public:
    // Enters a finished game into the table.
    void Enter(RankingTable& table, int nScore, int nOpens, int nSeconds);
    // Empties the table; the save empties from the file the rows the table held here.
    void Clear(RankingTable& table);
    // Under the file's lock applies the changes to what it holds now, writes that and makes
    // it the table. On failure (errno says why) the changes wait for the next save.
    bool Save(RankingTable& table, const char* pszPath);
    bool IsEmpty() const { return m_changes.empty(); }

private:
    struct Change {
        bool bClear;
        RankingTable entry; // row 0: the game entered; or the rows a clear emptied
    };
    std::vector<Change> m_changes;
};
