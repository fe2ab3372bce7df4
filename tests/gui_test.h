#pragma once

#include <functional>

#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>

#include <gtest/gtest.h>

class CGameFrame;

// Runs the event loop for about nMilliseconds, so timers fire and paints happen.
void PumpEvents(int nMilliseconds);

// Answers every modal dialog shown while it lives: pAnswer sees the dialog,
// ready but not shown, and returns what ShowModal gives back.
class DialogScript : public wxModalDialogHook {
public:
    explicit DialogScript(std::function<int(wxDialog*)> answer) : m_answer(std::move(answer)) {
        Register();
    }
    ~DialogScript() override { Unregister(); }
    int m_nShown = 0;

protected:
    int Enter(wxDialog* pDialog) override {
        ++m_nShown;
        return m_answer(pDialog);
    }
    void Exit(wxDialog*) override {}

private:
    std::function<int(wxDialog*)> m_answer;
};

// A shown main window, as the program starts it, that counts its paints.
class MainWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CGameFrame* m_pFrame = nullptr;
    int m_nPaints = 0;
};
