// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/modalhook.h>

#include <gtest/gtest.h>

#include "tests/temp_dir.h"

class CGameFrame;

// Runs the event loop for about nMilliseconds, so timers fire and paints happen.
void PumpEvents(int nMilliseconds);

// What the screen shows of a window's client area, one pixel per screen pixel; kept as
// pszSaveAs.png under PELMANIX_SHOT_DIR when that is set.
wxImage GrabClient(wxWindow* pWin, const char* pszSaveAs = nullptr);

// Answers every modal dialog shown while it lives: answer sees the dialog, ready but
// not shown, and returns what ShowModal gives back.
class DialogScript : public wxModalDialogHook {
public:
    explicit DialogScript(std::function<int(wxDialog*)> answer) : m_answer(std::move(answer)) {
        Register();
    }
    ~DialogScript() override { Unregister(); }
    int m_nShown = 0;

protected:
    int Enter(wxDialog* pDialog) override { return ++m_nShown, m_answer(pDialog); }
    void Exit(wxDialog*) override {}

private:
    std::function<int(wxDialog*)> m_answer;
};

// The main window as the program starts it, in a TEMP of its own holding these settings.
class MainWindowTest : public testing::Test {
protected:
    void Start(const std::string& strSettings = "");
    void TearDown() override;

    TempDir m_temp;
    CGameFrame* m_pFrame = nullptr;
};
