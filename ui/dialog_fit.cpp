// SPDX-License-Identifier: MIT
#include "ui/dialog_fit.h"

#include <algorithm>

#include <wx/dialog.h>
#include <wx/statbox.h>

namespace {

struct Item {
    wxWindow* pWindow; // null for painted text
    wxRect rect;
    int nContainer; // innermost group box holding it; -1 for the dialog itself
};

class CFitter {
public:
    CFitter(wxDialog* pDlg, const std::vector<wxRect>& painted) : m_pDlg(pDlg) {
        for (wxWindow* pChild : pDlg->GetChildren())
            if (pChild->IsShown())
                m_items.push_back({pChild, pChild->GetRect(), -1});
        for (const wxRect& r : painted)
            m_items.push_back({nullptr, r, -1});
        // A control belongs to the smallest group box its top-left corner lies in.
        for (Item& item : m_items)
            for (size_t g = 0; g < m_items.size(); ++g)
                if (IsGroup(g) && &m_items[g] != &item &&
                    m_items[g].rect.Contains(item.rect.GetTopLeft()) &&
                    (item.nContainer < 0 || Area(g) < Area(item.nContainer)))
                    item.nContainer = static_cast<int>(g);
        m_client = pDlg->GetClientSize();
        m_groupMargin = pDlg->ConvertDialogToPixels(wxSize(4, 4));
        m_edgeMargin = pDlg->ConvertDialogToPixels(wxSize(7, 7));
    }

    void Run() {
        for (int nAxis : {0, 1}) {
            for (size_t i = 0; i < m_items.size(); ++i) {
                if (!m_items[i].pWindow)
                    continue;
                m_items[i].pWindow->InvalidateBestSize();
                const wxSize best = m_items[i].pWindow->GetBestSize();
                const int nNeed = (nAxis ? best.y : best.x) - Len(i, nAxis);
                if (nNeed > 0)
                    Grow(static_cast<int>(i), nAxis, nNeed);
            }
            // Painted text must not sit under a control: what overlaps it moves beyond it.
            for (size_t p = 0; p < m_items.size(); ++p)
                if (!m_items[p].pWindow && nAxis == 1)
                    ClearPainted(p);
            for (size_t i = 0; i < m_items.size(); ++i)
                KeepInside(static_cast<int>(i), nAxis);
        }
        for (const Item& item : m_items)
            if (item.pWindow && item.pWindow->GetRect() != item.rect)
                item.pWindow->SetSize(item.rect);
        const wxSize now = m_pDlg->GetClientSize();
        if (m_client.x > now.x || m_client.y > now.y)
            m_pDlg->SetClientSize(wxSize(std::max(now.x, m_client.x), std::max(now.y, m_client.y)));
    }

private:
    bool IsGroup(size_t i) const { return dynamic_cast<wxStaticBox*>(m_items[i].pWindow); }
    int Area(int i) const { return m_items[i].rect.width * m_items[i].rect.height; }
    int Start(size_t i, int nAxis) const { return nAxis ? m_items[i].rect.y : m_items[i].rect.x; }
    int Len(size_t i, int nAxis) const {
        return nAxis ? m_items[i].rect.height : m_items[i].rect.width;
    }
    int End(size_t i, int nAxis) const { return Start(i, nAxis) + Len(i, nAxis); }
    bool CrossOverlap(size_t i, size_t j, int nAxis) const {
        return Start(i, !nAxis) < End(j, !nAxis) && Start(j, !nAxis) < End(i, !nAxis);
    }
    bool Holds(int nGroup, size_t i) const {
        for (int c = m_items[i].nContainer; c >= 0; c = m_items[c].nContainer)
            if (c == nGroup)
                return true;
        return false;
    }

    void Shift(size_t i, int nAxis, int nBy) {
        for (size_t j = 0; j < m_items.size(); ++j)
            if (j == i || Holds(static_cast<int>(i), j))
                (nAxis ? m_items[j].rect.y : m_items[j].rect.x) += nBy;
    }

    // Lengthens item i; its siblings beyond its old end, and what stands in line with
    // them, move on; then its group (or the dialog) makes room.
    void Grow(int i, int nAxis, int nBy) {
        const int nOldEnd = End(i, nAxis);
        (nAxis ? m_items[i].rect.height : m_items[i].rect.width) += nBy;
        std::vector<size_t> moving;
        for (bool bMore = true; bMore;) {
            bMore = false;
            for (size_t j = 0; j < m_items.size(); ++j) {
                if ((int)j == i || m_items[j].nContainer != m_items[i].nContainer ||
                    Start(j, nAxis) < nOldEnd ||
                    std::find(moving.begin(), moving.end(), j) != moving.end())
                    continue;
                bool bInLine = CrossOverlap(i, j, nAxis);
                for (size_t k : moving)
                    bInLine = bInLine || CrossOverlap(k, j, nAxis);
                if (bInLine) {
                    moving.push_back(j);
                    bMore = true;
                }
            }
        }
        for (size_t j : moving)
            Shift(j, nAxis, nBy);
        KeepInside(i, nAxis);
        for (size_t j : moving)
            KeepInside(static_cast<int>(j), nAxis);
    }

    void KeepInside(int i, int nAxis) {
        const int nGroup = m_items[i].nContainer;
        if (nGroup < 0) {
            int& nClient = nAxis ? m_client.y : m_client.x;
            const int nMargin = m_items[i].pWindow ? (nAxis ? m_edgeMargin.y : m_edgeMargin.x)
                                                   : (nAxis ? m_groupMargin.y : m_groupMargin.x);
            nClient = std::max(nClient, End(i, nAxis) + nMargin);
            return;
        }
        const int nExcess =
            End(i, nAxis) + (nAxis ? m_groupMargin.y : m_groupMargin.x) - End(nGroup, nAxis);
        if (nExcess > 0)
            Grow(nGroup, nAxis, nExcess);
    }

    void ClearPainted(size_t p) {
        for (size_t j = 0; j < m_items.size(); ++j) {
            if (!m_items[j].pWindow || m_items[j].nContainer >= 0)
                continue;
            const int nOverlap = End(p, 1) + m_groupMargin.y - Start(j, 1);
            if (nOverlap > 0 && Start(j, 1) > Start(p, 1) && CrossOverlap(p, j, 1))
                Shift(j, 1, nOverlap), KeepInside(static_cast<int>(j), 1);
        }
    }

    wxDialog* m_pDlg;
    std::vector<Item> m_items;
    wxSize m_client, m_groupMargin, m_edgeMargin;
};

} // namespace

void FitDialogToContents(wxDialog* pDlg, const std::vector<wxRect>& painted) {
    CFitter(pDlg, painted).Run();
}
