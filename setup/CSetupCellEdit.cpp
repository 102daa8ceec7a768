#include "setup/CSetupCellEdit.h"

#include "platform/ui/core/WinApi.h"

IMPLEMENT_DYNAMIC(CSetupCellEdit, CEdit)
IMPLEMENT_DYNAMIC(CUnitsCellEdit, CSetupCellEdit)
IMPLEMENT_DYNAMIC(CSubjectCellEdit, CSetupCellEdit)
IMPLEMENT_DYNAMIC(CDivisionCellEdit, CSetupCellEdit)
IMPLEMENT_DYNAMIC(CEstimationCellEdit, CSetupCellEdit)
IMPLEMENT_DYNAMIC(CPartsCellEdit, CSetupCellEdit)
IMPLEMENT_DYNAMIC(CInformationFormCellEdit, CSetupCellEdit)

BEGIN_MESSAGE_MAP(CSetupCellEdit, CEdit)
ON_WM_GETDLGCODE()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
END_MESSAGE_MAP()

UINT CSetupCellEdit::OnGetDlgCode()
{
    return static_cast<UINT>(Default()) | DLGC_WANTTAB | DLGC_WANTALLKEYS;
}

void CSetupCellEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    MoveKey key = keyEnter;
    switch (nChar) {
    case VK_TAB:
        key = GetKeyState(VK_SHIFT) < 0 ? keyShiftTab : keyTab;
        break;
    case VK_RETURN:
        key = keyEnter;
        break;
    case VK_UP:
        key = keyUp;
        break;
    case VK_DOWN:
        key = keyDown;
        break;
    case VK_PRIOR:
        key = keyPageUp;
        break;
    case VK_NEXT:
        key = keyPageDown;
        break;
    case VK_ESCAPE:
        key = keyEscape;
        break;
    default:
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        if (afterKey)
            afterKey();
        return;
    }
    m_nMoveCode = key;
    if (onMove)
        onMove(key);
}

void CSetupCellEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    (void)nRepCnt;
    (void)nFlags;
    // The moving keys arrive as characters too; they have been handled.
    if (nChar == '\t' || nChar == '\r' || nChar == 0x1B || nChar == '\n')
        return;
    if (acceptChar && !acceptChar(nChar))
        return;
    Default();
    if (afterKey)
        afterKey();
}

void CSetupCellEdit::OnChange()
{
    GetWindowText(m_strLastText);
    // Typed characters reach the text after the key message; the change reports them.
    if (afterKey)
        afterKey();
}
