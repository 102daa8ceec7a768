// The pop-up menus of the estimate grid view: its context menu (the right button, Shift+F10)
// and the two pop-ups of the "科目" and "合計" tool-bar buttons.
#pragma once

#include "platform/base/Types.h"

constexpr UINT IDR_ESTIMATE_CONTEXT_MENU = 107; // the grid's context menu
constexpr UINT IDR_SUBJECT_POPUP_MENU = 154;    // "科目": headings, discount, steps, numbering
constexpr UINT IDR_TOTAL_POPUP_MENU = 156;      // "合計": subtotals, discount total, tax, grand total

// Registers the three menus with the window layer. Cheap to call again: the view calls it
// before it loads one of them.
void RegisterEstimateViewMenus();
