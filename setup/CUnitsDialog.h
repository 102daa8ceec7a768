// CUnitsDialog: the page "単位名" of the setup sheet; edits the unit table ("tanni.MTD").
#pragma once

#include "setup/CMasterPage.h"

class CUnitsDialog : public CMasterPage {
    DECLARE_DYNCREATE(CUnitsDialog)
public:
    CUnitsDialog();

    std::vector<long> ColumnWidths() const override { return {340, 1530}; }
    std::vector<CString> Headings() const override;
    int TableCount() const override;
    CString TableText(int nIndex, int nCol) const override;
    void StoreTable(int nCount) override;
    BOOL WriteTableFile() override;
    CString FileName() const override { return "tanni.MTD"; }
    // The text up to a character 127 (what Ctrl+Backspace leaves in an edit).
    CString CommitText(const CString& strText) const override;
    int MoveCodeOf(CSetupCellEdit::MoveKey key) const override;
    void MakeBackup() override;
};
