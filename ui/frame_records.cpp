// SPDX-License-Identifier: MIT
// The frame's two files, the settings and the ranking: read, saved, and changed through
// the dialogs that show them.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "records/paths.h"
#include "records/settings.h"
#include "ui/frame.h"
#include "ui/option_dialog.h"
#include "ui/ranking_dialog.h"
#include "ui/wsys.h"

void CGameFrame::LoadSettings() {
    char szPath[DATA_PATH_SIZE] = "";
    GetSettingsPath(szPath, sizeof szPath);
    const wxSize created = GetSize();

    StoredSettings settings;
    ReadSettings(szPath, &settings);
    g_bCenterWindow = settings.bCenterWindow;
    g_bRandomCard = settings.bRandomCard;
    g_bRandomBack = settings.bRandomBack;
    m_board.m_nCardPattern = settings.nCardPattern;
    m_board.m_nBackground = settings.nBackground;
    m_board.m_nTimeIndex = settings.nTimeIndex;
    m_board.m_bTimeAuto = settings.bTimeAuto;

    m_storedPosition = wxPoint(settings.nLeft, settings.nTop);
    // A compositor places windows itself.
    if (IsX11Display()) {
        if (g_bCenterWindow)
            Centre();
        else
            Move(KeepOnAMonitor(wxRect(m_storedPosition, created)));
    }

    if (g_bRandomCard)
        m_board.m_nCardPattern = DrawRandomRow(CARD_PATTERN_COUNT);
    if (g_bRandomBack)
        m_board.m_nBackground = DrawRandomRow(BACKGROUND_COUNT);
}

void CGameFrame::SaveSettings() {
    char szPath[DATA_PATH_SIZE] = "";
    // While minimised the frame still reports where it will be restored to. Where the
    // window system does not say, the position read at start-up stays.
    const wxPoint position = IsX11Display() ? GetPosition() : m_storedPosition;
    StoredSettings settings;
    settings.nLeft = position.x;
    settings.nTop = position.y;
    settings.bCenterWindow = g_bCenterWindow;
    settings.bRandomCard = g_bRandomCard;
    settings.bRandomBack = g_bRandomBack;
    settings.nCardPattern = m_board.m_nCardPattern;
    settings.nBackground = m_board.m_nBackground;
    settings.nTimeIndex = m_board.m_nTimeIndex;
    settings.bTimeAuto = m_board.m_bTimeAuto;
    // Saved again at exit, so a failure here is only worth a line on standard error.
    errno = ENOENT;
    if (!GetSettingsPath(szPath, sizeof szPath) || !WriteSettings(szPath, settings))
        fprintf(stderr, "pelmanix: settings not saved to \"%s\": %s\n", szPath, strerror(errno));
}

void CGameFrame::LoadRanking() {
    char szPath[DATA_PATH_SIZE];
    if (GetRankingPath(szPath, sizeof szPath))
        ::LoadRanking(*m_board.m_pRanking, szPath);
}

bool CGameFrame::SaveRankingChanges(char* pszPath, size_t nSize) {
    errno = ENOENT;
    return GetRankingPath(pszPath, nSize) && m_rankingChanges.Save(*m_board.m_pRanking, pszPath);
}

// At exit nothing is lost that the player was not told of in play: standard error will do.
void CGameFrame::SaveRanking() {
    char szPath[DATA_PATH_SIZE] = "";
    if (!SaveRankingChanges(szPath, sizeof szPath))
        fprintf(stderr, "pelmanix: ranking not saved to \"%s\": %s\n", szPath, strerror(errno));
}

// Told once: the next failures are of the same file for the same reason.
void CGameFrame::SaveRankingInPlay() {
    char szPath[DATA_PATH_SIZE] = "";
    if (SaveRankingChanges(szPath, sizeof szPath) || m_bToldSaveFailure)
        return;
    m_bToldSaveFailure = true;
    const int nError = errno;
    const char* pszText = "ランキングを保存できませんでした。";
    if (nError == ENOSPC || nError == EDQUOT || nError == EFBIG)
        pszText = "ランキングを保存できませんでした。ディスクに空きがありません。";
    else if (nError == EACCES || nError == EPERM || nError == EROFS)
        pszText = "ランキングを保存できませんでした。書き込みが許可されていません。";
    ShowFileErrorBox(this, pszText, szPath, "Pelmanix");
}

void CGameFrame::InsertResult(int nScore, int nOpens, int nSeconds) {
    m_rankingChanges.Enter(*m_board.m_pRanking, nScore, nOpens, nSeconds);
    SaveRankingInPlay();
}

void CGameFrame::ClearRanking() {
    m_rankingChanges.Clear(*m_board.m_pRanking);
    SaveRankingInPlay();
}

void CGameFrame::OnRanking() {
    SuspendClock();
    {
        CRankingDialog dlg(this);
        BuildRankingRows(*m_board.m_pRanking, dlg.m_aRows);
        if (dlg.GetHandle())
            dlg.ShowModal();
        if (dlg.m_bCleared)
            ClearRanking();
    }
    ResumeClock();
}

void CGameFrame::OnOptions() {
    SuspendClock();
    {
        COptionDialog dlg(this);
        dlg.m_nCardPattern = m_board.m_nCardPattern;
        dlg.m_nBackground = m_board.m_nBackground;
        dlg.m_nTimeIndex = m_board.m_nTimeIndex;
        dlg.m_bTimeAuto = m_board.m_bTimeAuto;
        dlg.m_bCenterWindow = g_bCenterWindow;
        dlg.m_bRandomCard = g_bRandomCard;
        dlg.m_bRandomBack = g_bRandomBack;
        if (dlg.GetHandle() && dlg.ShowModal() == 1) {
            m_board.m_nCardPattern = dlg.m_nCardPattern;
            m_board.m_nBackground = dlg.m_nBackground;
            m_board.m_nTimeIndex = dlg.m_nTimeIndex;
            m_board.m_bTimeAuto = dlg.m_bTimeAuto;
            g_bCenterWindow = dlg.m_bCenterWindow;
            g_bRandomCard = dlg.m_bRandomCard;
            g_bRandomBack = dlg.m_bRandomBack;
            LoadScreenBitmap(BACKGROUND_BASE_ID + m_board.m_nBackground, g_pBackgroundBitmap);
            LoadScreenBitmap(CARD_BACK_BASE_ID + m_board.m_nCardPattern, g_pCardBackBitmap);
            Refresh(false);
            SaveSettings();
        }
    }
    ResumeClock();
}
