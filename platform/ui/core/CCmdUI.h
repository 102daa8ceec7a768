// CCmdUI: one user-interface item (a menu item, a tool-bar button, a status pane) whose
// state the command handlers' update functions set. The update pass hands one of these to
// the command routing for every item before a menu opens and, for bars, at idle time.
#pragma once

#include "platform/base/Types.h"
#include "platform/ui/core/WinDefs.h"

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;                 // the command id of the item
    UINT m_nIndex = 0;              // its position in the menu or bar
    CMenu* m_pMenu = nullptr;       // the menu holding the item (menu items)
    CMenu* m_pSubMenu = nullptr;    // the pop-up the item opens (pop-up entries)
    CMenu* m_pParentMenu = nullptr; // the menu bar when m_pMenu is one of its pop-ups
    CWnd* m_pOther = nullptr;       // a window standing for the item (bars and controls)
    UINT m_nIndexMax = 0;           // number of items in the menu or bar being updated
    BOOL m_bEnableChanged = FALSE;  // an update handler called Enable
    BOOL m_bContinueRouting = FALSE;

    // The item's state. For a menu item these change the menu; for a window (m_pOther)
    // Enable enables the window. Bars override these for their buttons and panes.
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1); // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);

    // Called from an update handler: let the next target in the route decide too.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Runs the update for this item through pTarget's routing. An item whose update handler
    // ran keeps what the handler set. Without an update handler, an item with a command
    // handler is enabled; with neither it is disabled when bDisableIfNoHndler is set.
    // Returns TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// Runs the update pass over every item of a pop-up menu, routing through pTarget. Used
// before a menu opens (a nested pop-up gets its own pass when it opens).
void AfxUpdateMenuCmdUI(CMenu* pPopup, CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

// The update pass of a pop-up menu tracked for a window that is not a frame (a view, a
// control), routing through that window, the target of the chosen command. Update
// handlers set their items; an item without one keeps the state its owner gave it when a
// command handler answers it, and is disabled when nothing along the route handles it.
void AfxUpdateOwnedPopupCmdUI(CMenu* pPopup, CCmdTarget* pTarget);
