// The file dialog of File Open: the framework's dialog with a resizable frame that leaves
// the current directory alone. The dialog of this platform honours the start folder it is
// given, so nothing has to force the folder into it.
#pragma once

#include "platform/ui/dialogs/CFileDialog.h"

class CMorvelFileDialog : public CFileDialog {
    DECLARE_DYNAMIC(CMorvelFileDialog)
public:
    CMorvelFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                      DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                      CWnd* pParentWnd = nullptr);
    ~CMorvelFileDialog() override;
};
