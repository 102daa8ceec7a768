#include "grid/CGridCellEdit.h"

#include "grid/IGridCellEditOwner.h"
#include "platform/base/Cp932Text.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/WinApi.h"
#include "resources/SharedControlResources.h"

IMPLEMENT_DYNAMIC(CGridCellEdit, CRichEditCtrl)

BEGIN_MESSAGE_MAP(CGridCellEdit, CRichEditCtrl)
ON_WM_KEYDOWN()
ON_WM_GETDLGCODE()
ON_WM_RBUTTONDOWN()
ON_CONTROL_REFLECT(EN_KILLFOCUS, OnKillFocusReflect)
ON_COMMAND(ID_EDIT_CUT, OnEditCut)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
END_MESSAGE_MAP()

namespace {

// Where the menu opens: a little right of and below the point it belongs to, so that the
// pointer does not land on the first item.
constexpr int kMenuOffset = 5;

bool EndsTheEdit(UINT nChar)
{
    return nChar == VK_RETURN || nChar == VK_DOWN || nChar == VK_UP || nChar == VK_ESCAPE;
}

} // namespace

CGridCellEdit::CGridCellEdit() = default;

CGridCellEdit::~CGridCellEdit() = default;

BOOL CGridCellEdit::CreateInView(CWnd* pView, UINT nID)
{
    return Create(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, CRect(0, 0, 50, 25), pView, nID);
}

BOOL CGridCellEdit::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CLIPSIBLINGS | ES_MULTILINE;
    return CRichEditCtrl::PreCreateWindow(cs);
}

void CGridCellEdit::GetCellText(CString& rText) const
{
    CString text;
    GetWindowText(text);
    // A line break can only come in by pasting; a cell holds one line.
    text.Remove('\r');
    text.Remove('\n');
    // A number typed in full-width characters is stored in ASCII; any other text (the
    // conversion refuses it and leaves it alone) is stored as typed.
    CString converted = text;
    if (ToHalfWidthNumber(converted) == 0)
        text = converted;
    rText = text;
}

void CGridCellEdit::GetText(CString& rText) const
{
    GetWindowText(rText);
}

// ---------------------------------------------------------------------------------------
// Keys.
// ---------------------------------------------------------------------------------------
void CGridCellEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CRichEditCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
    if (!EndsTheEdit(nChar))
        return;
    CWnd* pParent = GetParent();
    auto* pOwner = dynamic_cast<IGridCellEditOwner*>(pParent);
    if (!pOwner)
        return;
    const HWND hParent = pParent->m_hWnd;
    HideAndFocusView();
    if (::IsWindow(hParent))
        pOwner->OnCellEditKeyDown(nChar, nRepCnt, nFlags);
}

void CGridCellEdit::HideAndFocusView()
{
    CWnd* pView = GetParent();
    if (pView != nullptr && CWnd::GetFocus() == this)
        pView->SetFocus();
    ShowWindow(SW_HIDE);
}

UINT CGridCellEdit::OnGetDlgCode()
{
    // Every key, Tab and Enter included, belongs to the cell being edited.
    return CRichEditCtrl::OnGetDlgCode() | DLGC_WANTALLKEYS;
}

void CGridCellEdit::OnKillFocusReflect()
{
    // The text stays in the control; the view decides what becomes of it.
    ShowWindow(SW_HIDE);
}

// ---------------------------------------------------------------------------------------
// The context menu.
// ---------------------------------------------------------------------------------------
BOOL CGridCellEdit::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd == m_hWnd) {
        const UINT nMsg = pMsg->message;
        const bool bShiftF10 = (nMsg == WM_KEYDOWN || nMsg == WM_SYSKEYDOWN) && pMsg->wParam == VK_F10 &&
                               ::GetKeyState(VK_SHIFT) < 0;
        // Releasing the menu key is what asks a window for its context menu.
        const bool bMenuKey = nMsg == WM_KEYUP && pMsg->wParam == VK_APPS;
        if (nMsg == WM_CONTEXTMENU || bShiftF10 || bMenuKey) {
            CPoint pt(0, 0);
            ClientToScreen(&pt);
            pt.Offset(kMenuOffset, kMenuOffset);
            ShowContextMenu(pt);
            return TRUE;
        }
    }
    return CRichEditCtrl::PreTranslateMessage(pMsg);
}

void CGridCellEdit::OnRButtonDown(UINT nFlags, CPoint point)
{
    const HWND hWnd = m_hWnd;
    CRichEditCtrl::OnRButtonDown(nFlags, point);
    if (!::IsWindow(hWnd))
        return;
    ClientToScreen(&point);
    point.Offset(kMenuOffset, kMenuOffset);
    ShowContextMenu(point);
}

void CGridCellEdit::ShowContextMenu(CPoint ptScreen)
{
    RegisterSharedControlResources();
    CMenu menu;
    if (!menu.LoadMenu(IDR_CELL_EDIT_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return;
    long nStart = 0, nEnd = 0;
    GetSel(nStart, nEnd);
    const UINT nSelection = nStart < nEnd ? MF_ENABLED : MF_GRAYED;
    const UINT nPaste = ::IsClipboardFormatAvailable(CF_TEXT) ? MF_ENABLED : MF_GRAYED;
    pPopup->EnableMenuItem(ID_EDIT_CUT, MF_BYCOMMAND | nSelection);
    pPopup->EnableMenuItem(ID_EDIT_COPY, MF_BYCOMMAND | nSelection);
    pPopup->EnableMenuItem(ID_EDIT_PASTE, MF_BYCOMMAND | nPaste);
    // The chosen command comes back to the editor itself (OnEditCut ...).
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, this);
}

void CGridCellEdit::OnEditCut()
{
    SetFocus();
    Cut();
    SetFocus();
}

void CGridCellEdit::OnEditCopy()
{
    SetFocus();
    Copy();
    SetFocus();
}

void CGridCellEdit::OnEditPaste()
{
    SetFocus();
    Paste();
    SetFocus();
}
