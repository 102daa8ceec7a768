// CElementWidthDialog: "要素幅調整", how the selected objects are made equally wide: to
// the narrowest (choice 0), the widest (1) or the average width (2, preset).
#pragma once

#include "platform/ui/dialogs/CDialog.h"

class CElementWidthDialog : public CDialog {
    DECLARE_DYNAMIC(CElementWidthDialog)
public:
    explicit CElementWidthDialog(CWnd* pParent = nullptr);

    int m_nChoice = 2;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
