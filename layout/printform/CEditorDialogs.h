// The small dialogs of the layout editor: the size of a new table "表の挿入" (1 to 100 rows
// and columns), the grid width and the line spacing (the user zoom is CZoomDialog.h). The caller presets the
// public fields and reads them back after IDOK; a number outside its range is refused with the standard
// message and the dialog stays open.
#pragma once

#include "platform/ui/dialogs/CDialog.h"

// Gives the spin button nSpin of a dialog its range and position, counting in decimal.
void SetUpSpin(CDialog& dialog, UINT nSpin, int nLower, int nUpper, int nPos);

class CInsertTableDialog : public CDialog {
    DECLARE_DYNAMIC(CInsertTableDialog)
public:
    enum { IDD = 191 };
    explicit CInsertTableDialog(CWnd* pParent = nullptr);

    UINT m_nRows = 2;
    UINT m_nCols = 2;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// Registers the template 191 (safe to call more than once).
void RegisterEditorDialogTemplates();

// "ｸﾞﾘｯﾄﾞ": the snap-grid width, 5 to 50 (the caller presets the view's pitch).
class CGridWidthDialog : public CDialog {
    DECLARE_DYNAMIC(CGridWidthDialog)
public:
    enum { IDD = 236 };
    explicit CGridWidthDialog(CWnd* pParent = nullptr);
    UINT m_nWidth = 0;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// "要素行間指定": the gap between stacked elements, 0 to 100 (the caller presets 10).
class CLineSpacingDialog : public CDialog {
    DECLARE_DYNAMIC(CLineSpacingDialog)
public:
    enum { IDD = 260 };
    explicit CLineSpacingDialog(CWnd* pParent = nullptr);
    UINT m_nSpacing = 0;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
