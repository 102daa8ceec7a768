// Menus on the Qt side (platform/ui internal; for the frames and the tests).
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/core/WinDefs.h"

#include <functional>
#include <vector>

class CMenu;
class QMenu;
class QMenuBar;
class QWidget;

struct CMenuItemData {
    CString text;
    UINT nID = 0;
    UINT flags = 0;       // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR, MF_POPUP, MF_HELP, ...
    HMENU hSub = nullptr; // pop-ups
};

// The items of a live menu; null for an unknown handle.
std::vector<CMenuItemData>* AfxGetMenuItems(HMENU hMenu);
BOOL IsMenu(HMENU hMenu);

// A Qt menu showing a pop-up. hOwner gets WM_INITMENUPOPUP before each nested pop-up opens
// and WM_MENUSELECT while items are highlighted; the chosen action's data() is the command.
QMenu* AfxBuildQMenu(HMENU hMenu, HWND hOwner, QWidget* pParent);
// Fills a menu bar from a menu: each pop-up asks hOwner (WM_MENUSELECT, WM_INITMENUPOPUP)
// before it opens, WM_MENUSELECT with 0xFFFF and no menu follows when the menus close, and a
// chosen item posts WM_COMMAND to hOwner.
void AfxFillMenuBar(QMenuBar* pBar, HMENU hMenu, HWND hOwner);

// Tests answer pop-up menus by program: while set, TrackPopupMenu asks this function for
// the chosen command (0: none) instead of showing the menu.
using PopupMenuChooser = std::function<UINT(CMenu* pPopup)>;
PopupMenuChooser AfxSetPopupMenuChooser(PopupMenuChooser chooser);
