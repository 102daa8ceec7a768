// What the document windows (estimate, parts list and their print layouts) share: the
// bars they show and hide, the commands they hand on to the main frame, the message for a
// missing import sheet and the menu messages the main frame's message pane follows.
#pragma once

#include "platform/ui/core/WinDefs.h"

class CCmdUI;
class CControlBar;
class CFont;
class CFrameWnd;
class CMenu;
class CWnd;

// The stock GUI font, or the variable-pitch system font where there is none.
CFont* ChildFrameGuiFont();

// Whether a key message goes to the text of a box that can be typed into on a control bar
// (the layouts' font-size box) and is a key that edits that text: every key but Esc, Tab,
// the function keys and Alt combinations other than Alt+Backspace. The frames translate no
// accelerator for such keys, so that Ctrl+A, Ctrl+C or Del act on the box's text and not
// on the document behind it.
BOOL IsTextKeyForBarBox(const MSG* pMsg);

// Shows a hidden bar or hides a shown one, and lays the frame out again.
void ToggleChildFrameBar(CFrameWnd* pFrame, CControlBar& bar);
// Checks a bar's menu item while the bar is shown.
void UpdateChildFrameBarCheck(CCmdUI* pCmdUI, const CControlBar& bar);

// The main tool bar belongs to the main frame. (The document windows' own first bars
// carry the standard tool-bar id too, so the framework's own handling would toggle those.)
void ViewMainToolBar();
void UpdateViewMainToolBar(CCmdUI* pCmdUI);

// Says that the setup sheet in import mode is not available (the windows that have none; the
// others run theirs through CShellServices::Run...ImportSheet).
void ShowImportSheetMissing();

// The main frame widens its message pane while a menu is open: a child window passes its
// menu messages on. A closing menu (no menu handle) is passed on once, after a selection
// that had a menu; bMenuSelected remembers that for one kind of window.
void PassInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
void PassMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu, BOOL& bMenuSelected);
