#include "setup/CCBPropertySheet.h"

IMPLEMENT_DYNAMIC(CCBPropertySheet, CPropertySheet)

namespace {

// The sheet font of the thread: the face is the caller's text (not copied), the size 0
// when none. A font is in force only with both.
struct CSheetFontState {
    LPCTSTR lpszFace = nullptr;
    WORD wSize = 0;
    bool InForce() const { return lpszFace != nullptr && wSize != 0; }
};

CSheetFontState& SheetFontState()
{
    thread_local CSheetFontState s_state;
    return s_state;
}

void SetTemplateFont(DialogTemplate& t, const CSheetFontState& state)
{
    // Each sheet run rewrites its own copies of the templates, which grow as the text
    // needs; the registered templates stay as they are.
    t.fontFace = state.lpszFace;
    t.pointSize = state.wSize;
}

} // namespace

CCBPropertySheet::CCBPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage)
{
}

CCBPropertySheet::CCBPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
}

INT_PTR CCBPropertySheet::DoModal()
{
    SheetFontState() = CSheetFontState();
    return CPropertySheet::DoModal();
}

INT_PTR CCBPropertySheet::DoModal(LPCTSTR lpszFaceName, WORD wSize)
{
    SetSheetFont(lpszFaceName, wSize);
    return CPropertySheet::DoModal();
}

BOOL CCBPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    SheetFontState() = CSheetFontState();
    return CPropertySheet::Create(pParentWnd, dwStyle, dwExStyle);
}

BOOL CCBPropertySheet::Create(LPCTSTR lpszFaceName, WORD wSize, CWnd* pParentWnd, DWORD dwStyle,
                              DWORD dwExStyle)
{
    SetSheetFont(lpszFaceName, wSize);
    return CPropertySheet::Create(pParentWnd, dwStyle, dwExStyle);
}

void CCBPropertySheet::SetSheetFont(LPCTSTR lpszFaceName, WORD wSize)
{
    CSheetFontState& state = SheetFontState();
    state.lpszFace = lpszFaceName;
    state.wSize = wSize;
    if (state.InForce()) {
        m_psh.pfnCallback = &CCBPropertySheet::PropSheetCallback;
        m_psh.dwFlags |= PSH_USECALLBACK;
    }
}

int CCBPropertySheet::PropSheetCallback(HWND, UINT uMsg, LPARAM lParam)
{
    const CSheetFontState& state = SheetFontState();
    if (uMsg == PSCB_PRECREATE && state.InForce() && lParam != 0)
        SetTemplateFont(*reinterpret_cast<DialogTemplate*>(lParam), state);
    return 0;
}

void CCBPropertySheet::BuildPropPageArray()
{
    CPropertySheet::BuildPropPageArray();
    const CSheetFontState& state = SheetFontState();
    if (state.wSize < 1 || state.lpszFace == nullptr)
        return;
    for (UINT i = 0; i < m_psh.nPages; ++i) {
        if (DialogTemplate* pTemplate = m_psh.ppsp[i].pResource)
            SetTemplateFont(*pTemplate, state);
    }
}
