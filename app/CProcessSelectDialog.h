// "処理選択" (dialog 270): asked at start-up when a master or form file is missing — make it
// anew with the setup sheet ("新規作成", 0) or point the folders elsewhere ("ﾊﾟｽ変更", 1).
#pragma once

#include "platform/ui/dialogs/CDialog.h"

class CProcessSelectDialog : public CDialog {
    DECLARE_DYNAMIC(CProcessSelectDialog)
public:
    enum { choiceNew = 0, choicePath = 1 };

    explicit CProcessSelectDialog(CWnd* pParent = nullptr);
    ~CProcessSelectDialog() override;

    // The chosen radio button of the group 1071 ("新規作成") / 1073 ("ﾊﾟｽ変更").
    int m_nSelect = choiceNew;

    void DoDataExchange(CDataExchange* pDX) override;
};
