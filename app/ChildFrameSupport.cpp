#include "app/ChildFrameSupport.h"

#include "app/CMainFrame.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/frames/CControlBar.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/gdi/GdiObjects.h"

CFont* ChildFrameGuiFont()
{
    HFONT hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (hFont == nullptr)
        hFont = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    return CFont::FromHandle(hFont);
}

void ToggleChildFrameBar(CFrameWnd* pFrame, CControlBar& bar)
{
    pFrame->ShowControlBar(&bar, (bar.GetStyle() & WS_VISIBLE) == 0, FALSE);
    pFrame->RecalcLayout();
}

void UpdateChildFrameBarCheck(CCmdUI* pCmdUI, const CControlBar& bar)
{
    pCmdUI->SetCheck((bar.GetStyle() & WS_VISIBLE) != 0 ? 1 : 0);
}

void ViewMainToolBar()
{
    if (CMainFrame* pMain = CMainFrame::GetMain())
        pMain->OnViewToolBar();
}

void UpdateViewMainToolBar(CCmdUI* pCmdUI)
{
    if (CMainFrame* pMain = CMainFrame::GetMain())
        pMain->OnUpdateViewToolBar(pCmdUI);
}

void ShowImportSheetMissing()
{
    AfxMessageBox("導入処理の画面はまだ用意されていません。"_sj, MB_OK | MB_ICONINFORMATION);
}

void PassInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(WM_INITMENUPOPUP,
                           reinterpret_cast<WPARAM>(pPopupMenu ? pPopupMenu->m_hMenu : nullptr),
                           MAKELPARAM(static_cast<WORD>(nIndex), static_cast<WORD>(bSysMenu)));
}

void PassMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu, BOOL& bMenuSelected)
{
    if (hSysMenu == nullptr) {
        if (!bMenuSelected)
            return;
        bMenuSelected = FALSE;
    } else {
        bMenuSelected = TRUE;
    }
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(nItemID), static_cast<WORD>(nFlags)),
                           reinterpret_cast<LPARAM>(hSysMenu));
}

BOOL IsTextKeyForBarBox(const MSG* pMsg)
{
    if (pMsg == nullptr)
        return FALSE;
    const UINT vk = static_cast<UINT>(pMsg->wParam);
    switch (pMsg->message) {
    case WM_KEYDOWN:
        if (vk == VK_ESCAPE || vk == VK_TAB || (vk >= VK_F1 && vk <= VK_F1 + 23))
            return FALSE;
        break;
    case WM_SYSKEYDOWN:
        if (vk != VK_BACK)
            return FALSE;
        break;
    case WM_CHAR:
        break;
    default:
        return FALSE;
    }
    auto* pBox = dynamic_cast<CComboBox*>(CWnd::FromHandle(pMsg->hwnd));
    if (pBox == nullptr || (pBox->GetStyle() & CBS_DROPDOWNLIST) != CBS_DROPDOWN)
        return FALSE;
    return dynamic_cast<CControlBar*>(pBox->GetParent()) != nullptr;
}
