// SPDX-License-Identifier: MIT
#pragma once

// Resource ids of the menu, the icon and the dialog templates.
constexpr int MENU_MAIN = 101;
constexpr int ICON_MAIN = 216;
constexpr int DLG_RANKING = 161;
constexpr int DLG_OPTIONS = 165;
constexpr int DLG_CLEAR = 214;
constexpr int DLG_VERSION = 215;
