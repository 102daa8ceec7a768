// "DOS版ＭＯＲＶＥＬﾌｧｲﾙを選択" (dialog 276): the estimate (*.MIT) or parts (*.BZI) files
// of a folder of the DOS edition, several of which may be chosen. "参照..." moves to
// another folder of the DOS edition (one that holds its "MORINTL.IDT").
#pragma once

#include "app/SharedRecords.h"
#include "platform/base/CString.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/dialogs/CDialog.h"

#include <memory>
#include <vector>

class CImageList;

class CDosFileDialog : public CDialog {
    DECLARE_DYNAMIC(CDosFileDialog)
public:
    enum { modeParts = 0, modeEstimates = 1 };

    // The folder ends in a backslash.
    CDosFileDialog(int nMode, const CString& strFolder, CWnd* pParent = nullptr);
    ~CDosFileDialog() override;

    // After IDOK: the chosen files, in list order.
    const std::vector<std::unique_ptr<CDosFileEntry>>& GetChosenFiles() const { return m_aChosen; }
    // The folder listed (it may have changed through "参照...").
    const CString& GetFolder() const { return m_strFolder; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    afx_msg void OnBrowse();
    DECLARE_MESSAGE_MAP()

private:
    void ListFiles();

    CListCtrl m_listFiles;
    std::unique_ptr<CImageList> m_pImageList;
    std::vector<std::unique_ptr<CDosFileEntry>> m_aChosen;
    CString m_strFolder;
    int m_nMode;
    CString m_strBrowsedPath;
};
