// CSortDialog (並べ替え): asks the direction of a sort. Either button ends the dialog as OK
// ("昇順" ascending, "降順" descending); the close box and Esc end it without a choice, and
// nothing is sorted. Used by the estimate and the parts grid.
#pragma once

#include "platform/ui/dialogs/CDialog.h"

class CSortDialog : public CDialog {
public:
    explicit CSortDialog(CWnd* pParent = nullptr);

    int m_bAscending = 1; // 1 ascending, 0 descending

protected:
    afx_msg void OnAscending();
    afx_msg void OnDescending();
    DECLARE_MESSAGE_MAP()
};
