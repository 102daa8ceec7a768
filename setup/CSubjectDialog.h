// CSubjectDialog: the page "科目名" of the setup sheet; edits the three levels of the
// subject master (large, middle, small: "kamoku.MKB", "kamoku.MKM", "kamoku.MKS"), one
// level at a time, chosen with three radio buttons. Edits of a level survive a switch to
// another level (they go into the application's table) and are written with the other
// levels when the page is applied. Opened alone at start-up it edits the level the sheet
// set and writes only that level's file.
#pragma once

#include "setup/CMasterPage.h"

class CSubjectDialog : public CMasterPage {
    DECLARE_DYNCREATE(CSubjectDialog)
public:
    CSubjectDialog();

    int m_nLevel = 0;       // set by the sheet in single-page use
    CString m_strLevelName; // "Large", "Middle" or "Small": the level shown

    std::vector<long> ColumnWidths() const override { return {340, 2320, 640}; }
    std::vector<CString> Headings() const override;
    int TableCount() const override;
    CString TableText(int nIndex, int nCol) const override;
    void StoreTable(int nCount) override;
    BOOL WriteTableFile() override;
    CString FileName() const override;
    void MakeBackup() override;

    // The level shown (0, 1, 2).
    int ShownLevel() const;
    // Switches the grid to a level as its radio button does.
    void SwitchLevel(int nLevel);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    void StoreLevel(int nLevel, int nCount);
    BOOL WriteLevel(int nLevel);
    afx_msg void OnLarge();
    afx_msg void OnMiddle();
    afx_msg void OnSmall();
    DECLARE_MESSAGE_MAP()
};
