// CMenu: a menu bar or pop-up menu, loaded from the menu resources or built by code.
//
// A menu is a tree of items {text, command id, flags, pop-up}; texts are code page 932 with
// "&" mnemonics and "\t" followed by the accelerator text. The Qt menus that show a menu are
// built from this tree when it opens, so the tree is what code reads and changes.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/ui/core/WinDefs.h"

class CWnd;

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu() = default;
    // Destroys the menu it holds (menus attached to a window belong to the window).
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    // The object for a menu handle: the permanent object attached to it, or an object that
    // lives as long as the menu.
    static CMenu* FromHandle(HMENU hMenu);

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // From the menu resources (RegisterMenuResource); FALSE for an unknown id.
    BOOL LoadMenu(UINT nIDResource);
    BOOL LoadMenu(LPCTSTR lpszResourceName);
    BOOL DestroyMenu();
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    int GetMenuItemCount() const;
    // The command id at a position; -1 (0xFFFFFFFF) for a pop-up, 0 for a separator.
    UINT GetMenuItemID(int nPos) const;
    CMenu* GetSubMenu(int nPos) const;
    // MF_ flags of an item (with the item count in the high byte for pop-ups), or -1.
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;

    // Return the previous state (MF_ENABLED/MF_GRAYED, MF_CHECKED/MF_UNCHECKED) or -1.
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags);
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);

    // With MF_POPUP, nIDNewItem is the HMENU of the pop-up (which then belongs to this menu).
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    // DeleteMenu destroys a pop-up it removes; RemoveMenu only takes it out.
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);

    // Shows the pop-up at (x, y) in screen coordinates. pWnd gets WM_INITMENUPOPUP before it
    // opens and WM_COMMAND for the chosen item (posted). With TPM_RETURNCMD nothing is sent
    // and the chosen id (0 for none) is returned; otherwise TRUE when an item was chosen.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);

private:
    BOOL m_bOwnsHandle = FALSE; // DestroyMenu at destruction
};

// Finds the menu (and position) holding a command id anywhere in the tree.
CMenu* AfxFindPopupMenuFromID(CMenu* pMenu, UINT nID);
