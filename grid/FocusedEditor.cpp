#include "grid/FocusedEditor.h"

#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinApi.h"

CWnd* GetFocusedEditor(const CWnd* pGrid)
{
    if (pGrid == nullptr || pGrid->m_hWnd == nullptr)
        return nullptr;
    CWnd* pFocus = CWnd::GetFocus();
    if (pFocus == nullptr || pFocus == pGrid)
        return nullptr;
    // A text box is what keeps a selection of its own text: the dialog code says so.
    const UINT nCode = static_cast<UINT>(pFocus->SendMessage(WM_GETDLGCODE, 0, 0));
    return (nCode & DLGC_HASSETSEL) != 0 ? pFocus : nullptr;
}

bool ForwardToFocusedEditor(const CWnd* pGrid, UINT nMessage)
{
    CWnd* pEditor = GetFocusedEditor(pGrid);
    if (pEditor == nullptr)
        return false;
    pEditor->SendMessage(nMessage, 0, 0);
    return true;
}

bool UpdatePasteForFocusedEditor(const CWnd* pGrid, CCmdUI* pCmdUI)
{
    if (GetFocusedEditor(pGrid) == nullptr)
        return false;
    pCmdUI->Enable(IsClipboardFormatAvailable(CF_TEXT));
    return true;
}
