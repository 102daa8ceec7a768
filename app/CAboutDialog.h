// "ﾊﾞｰｼﾞｮﾝ情報" (dialog 100): the program's name and version.
#pragma once

#include "platform/ui/CDialog.h"

class CAboutDialog : public CDialog {
    DECLARE_DYNAMIC(CAboutDialog)
public:
    explicit CAboutDialog(CWnd* pParent = nullptr);
    ~CAboutDialog() override;
};
