// CPartsDialog: the page "部材形式" of the setup sheet; edits the parts form (seven
// strings an item are shown and edited; the rest of each item is kept as it is).
#pragma once

#include "app/CPartFormFile.h"
#include "setup/CFormPageOf.h"

class CPartsDialog
    : public CFormPageOf<CPartFormFile, &CMorvelApp::m_partForm, &CMorvelApp::m_strPartFormFile> {
    DECLARE_DYNCREATE(CPartsDialog)
public:
    CPartsDialog();

    // The "登 録" save routine, called by the sheet for a changed page.
    void SaveFormFile() { SaveFormAs(); }

    const char* FolderKey() const override { return "Parts Form"; }
    const char* StartupFileName() const override { return "BUZAI.MBK"; }
    const char* NameKey() const override { return "Part Form Name"; }
    const char* WidthSection() const override { return "Part Width Setting"; }
    std::vector<long> DefaultWidths() const override { return {300, 2000, 800, 540, 1930, 1800, 1190, 390}; }
    const char* DefaultExt() const override { return "MBK"; }
    CString OpenFilter() const override;
    CString SaveFilter() const override { return OpenFilter(); }
    int FormKindIndex() const override { return 1; }
    const char* WriteFailMessage() const override { return "部材形式ﾌｧｲﾙに書き込めません。"; }
    const char* ReadFailMessage() const override { return "部材形式ﾌｧｲﾙがないか、壊れています。"; }
    const CPickList* PickListOf(int nCol) override;
    bool IsPickColumn(int nCol) const override { return nCol == 2 || nCol == 7; }
    int EnterSteps(int nCol, const CString& strAttribute) const override;

private:
    CPickList m_lists[2];
};
