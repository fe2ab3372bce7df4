// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include <wx/gdicmn.h>

class wxDialog;

// Grows a dialog built from a template until every control has the room its text
// needs and every painted rectangle (client pixels) lies inside the client area, clear
// of the controls. Nothing shrinks: the template's geometry is the minimum. Whatever
// lies beyond a grown control moves on by as much; a group box grows around what it holds.
void FitDialogToContents(wxDialog* pDlg, const std::vector<wxRect>& painted = {});
