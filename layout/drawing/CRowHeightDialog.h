// CRowHeightDialog: "行高さ調整", how the selected rows of a table are made equally high:
// to the lowest row (choice 0), the highest (1) or the average height (2, preset).
#pragma once

#include "platform/ui/dialogs/CDialog.h"

class CRowHeightDialog : public CDialog {
    DECLARE_DYNAMIC(CRowHeightDialog)
public:
    explicit CRowHeightDialog(CWnd* pParent = nullptr);

    int m_nChoice = 2;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
