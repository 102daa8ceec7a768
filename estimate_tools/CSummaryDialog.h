// The summary table's dialog "集計表": which levels the summary shows (kind, large,
// middle, small subjects) and where it is made: on the summary page (外部作成) or at the
// top of the edit page (内部作成).
#pragma once

#include "platform/ui/dialogs/CDialog.h"

class CSummaryDialog : public CDialog {
public:
    explicit CSummaryDialog(CWnd* pParent);
    CSummaryDialog(CWnd* pParent, int nKind, int nLarge, int nMiddle, int nSmall);

    int m_nExternal = 1;
    int m_nInternal = 0;
    int m_nLevels[4] = {0, 0, 0, 0}; // kind, large, middle, small

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnExternal();
    afx_msg void OnInternal();
    DECLARE_MESSAGE_MAP()
};
