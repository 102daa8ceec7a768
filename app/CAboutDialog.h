// "ﾊﾞｰｼﾞｮﾝ情報" (dialog 100): the program's name and version.
#pragma once

#include "platform/ui/dialogs/CDialog.h"

class CAboutDialog : public CDialog {
    DECLARE_DYNAMIC(CAboutDialog)
public:
    explicit CAboutDialog(CWnd* pParent = nullptr);
    ~CAboutDialog() override;
};
