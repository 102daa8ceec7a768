// CColorDialog: the colour dialog. The colour it opens with comes in through the
// constructor (or m_cc.rgbResult); the chosen one comes back from GetColor. The sixteen
// custom colours are kept for the whole run of the program, as the system keeps them.
#pragma once

#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/dialogs/CDialog.h"

struct CHOOSECOLOR {
    DWORD lStructSize;
    HWND hwndOwner;
    HWND hInstance;
    COLORREF rgbResult;
    COLORREF* lpCustColors; // 16 colours
    DWORD Flags;
    LPARAM lCustData;
    void* lpfnHook;
    LPCTSTR lpTemplateName;
};

class CColorDialog : public CDialog {
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    CHOOSECOLOR m_cc;

    // IDOK or IDCANCEL.
    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF clr) { m_cc.rgbResult = clr; }

    // The custom colours shared by every colour dialog of the program.
    static COLORREF* GetSavedCustomColors();
};
