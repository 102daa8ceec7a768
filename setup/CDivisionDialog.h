// CDivisionDialog: the page "分類名" of the setup sheet; edits the classification table
// (name and percentage, "bunrul.MRD").
#pragma once

#include "setup/CMasterPage.h"

class CDivisionDialog : public CMasterPage {
    DECLARE_DYNCREATE(CDivisionDialog)
public:
    CDivisionDialog();

    std::vector<long> ColumnWidths() const override { return {340, 2320, 640}; }
    std::vector<CString> Headings() const override;
    int TableCount() const override;
    CString TableText(int nIndex, int nCol) const override;
    void StoreTable(int nCount) override;
    BOOL WriteTableFile() override;
    CString FileName() const override { return "bunrul.MRD"; }
    bool IsNumberColumn(int nCol) const override { return nCol == 2; }
    void MakeBackup() override;
    void MakeInitBackup() override { MakeBackup(); }
};
