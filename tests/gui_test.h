#pragma once

#include <functional>

#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>

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

// Colour of one pixel of a bitmap.
wxColour PixelAt(const wxBitmap& bitmap, int x, int y);
