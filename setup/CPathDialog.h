// CPathDialog: the page "ﾊﾟｽ設定" of the environment sheet: the work drive and the five
// folders of "Path Setting". Drives and folders are shown as this platform writes paths
// (a drive by its folder); the settings keep the drive form ("C:\MORVEL\WORK"). Choosing a
// drive moves every folder onto it; applying makes every missing level of each folder, then
// writes the keys in the case they were typed (the file system tells "work" from "WORK").
// A folder that cannot be made is named in a message and the page stays open.
#pragma once

#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/dialogs/CPropertyPage.h"
#include "setup/DriveList.h"

#include <memory>
#include <vector>

class CImageList;

class CPathDialog : public CPropertyPage {
    DECLARE_DYNCREATE(CPathDialog)
public:
    CPathDialog();
    ~CPathDialog() override;

    // The drives listed, in list order (filled when the page opens; tests may replace
    // the source).
    std::vector<CDriveInfo> m_drives;
    static std::vector<CDriveInfo> (*s_pfnListDrives)();

    CListCtrl m_list;
    // The list's pictures: 0 a removable drive (icon 261), 1 a fixed one (262).
    std::unique_ptr<CImageList> m_pImageList;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnApply() override;

protected:
    afx_msg void OnFolderChange();
    afx_msg void OnDriveChanged(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
    BOOL m_bFilling = FALSE;
};
