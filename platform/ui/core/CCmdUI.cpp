#include "platform/ui/core/CCmdUI.h"

#include "platform/ui/core/CCmdTarget.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/DialogDefs.h"

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu) {
        // For a pop-up entry too the state is set in the menu that holds the entry.
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther) {
        m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck), 0);
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCTSTR lpszText)
{
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        const UINT nState =
            m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
    } else if (m_pOther) {
        m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF || !pTarget)
        return TRUE;
    m_bEnableChanged = FALSE;
    const BOOL bResult = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        // No update handler decided: an item is enabled when someone handles its command.
        AFX_CMDHANDLERINFO info{nullptr, nullptr};
        const BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(bHandler);
    }
    return bResult;
}

void AfxUpdateMenuCmdUI(CMenu* pPopup, CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (!pPopup || !pTarget)
        return;
    CCmdUI state;
    state.m_pMenu = pPopup;
    state.m_nIndexMax = static_cast<UINT>(pPopup->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopup->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0)
            continue; // separator
        if (state.m_nID == static_cast<UINT>(-1)) {
            // A nested pop-up is updated through its first item, never disabled for want of
            // a handler.
            state.m_pSubMenu = pPopup->GetSubMenu(static_cast<int>(state.m_nIndex));
            if (!state.m_pSubMenu)
                continue;
            state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
                continue;
            state.DoUpdate(pTarget, FALSE);
        } else {
            state.m_pSubMenu = nullptr;
            // Commands of the system menu range are never disabled automatically.
            state.DoUpdate(pTarget, bDisableIfNoHndler && state.m_nID < 0xF000);
        }
        // An update handler may have added or removed items (the recent-file list does).
        const UINT nCount = static_cast<UINT>(pPopup->GetMenuItemCount());
        if (nCount < state.m_nIndexMax) {
            const UINT nRemoved = state.m_nIndexMax - nCount;
            state.m_nIndex = state.m_nIndex >= nRemoved ? state.m_nIndex - nRemoved : 0;
            while (state.m_nIndex < nCount &&
                   pPopup->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = nCount;
    }
}

void AfxUpdateOwnedPopupCmdUI(CMenu* pPopup, CCmdTarget* pTarget)
{
    if (!pPopup || !pTarget)
        return;
    const int nCount = pPopup->GetMenuItemCount();
    for (int i = 0; i < nCount; ++i) {
        const UINT nID = pPopup->GetMenuItemID(i);
        if (nID == 0 || nID == static_cast<UINT>(-1) || nID >= 0xF000)
            continue; // separators, nested pop-ups (updated when they open), system commands
        CCmdUI state;
        state.m_pMenu = pPopup;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nIndexMax = static_cast<UINT>(nCount);
        state.m_nID = nID;
        state.m_bEnableChanged = FALSE;
        pTarget->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (state.m_bEnableChanged)
            continue;
        AFX_CMDHANDLERINFO info{nullptr, nullptr};
        if (!pTarget->OnCmdMsg(nID, CN_COMMAND, &state, &info))
            state.Enable(FALSE);
    }
}
