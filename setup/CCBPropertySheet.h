// CCBPropertySheet: the base of the setup and environment sheets. For one run it can give
// the sheet's own template and every page's template one face name and point size, so
// that the sheet and all its pages are laid out in the same font whatever the page
// templates name. The main frame's commands run the sheets in "ＭＳ Ｐゴシック" 9;
// every other caller runs them in the templates' own fonts.
//
// The font state is kept per thread, as the sheet callback receives no object; it is
// reset before every run, so a run without a font after one with a font shows the
// templates' own fonts.
#pragma once

#include "platform/ui/dialogs/CPropertySheet.h"

class CCBPropertySheet : public CPropertySheet {
    DECLARE_DYNAMIC(CCBPropertySheet)
public:
    CCBPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    CCBPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // Runs the sheet in the templates' own fonts.
    INT_PTR DoModal() override;
    // Runs the sheet with every template in the face and size given.
    INT_PTR DoModal(LPCTSTR lpszFaceName, WORD wSize);
    BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1),
                DWORD dwExStyle = 0) override;
    BOOL Create(LPCTSTR lpszFaceName, WORD wSize, CWnd* pParentWnd = nullptr,
                DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);

    // Stores the font for the thread; with a face and a size it also installs the sheet
    // callback, which stays installed (it does nothing once the state is reset).
    void SetSheetFont(LPCTSTR lpszFaceName, WORD wSize);
    static int PropSheetCallback(HWND hWnd, UINT uMsg, LPARAM lParam);

protected:
    void BuildPropPageArray() override;
};
