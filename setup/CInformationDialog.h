// CInformationDialog: the page "情報形式" of the setup sheet; edits the information form (seven
// strings an item are shown and edited; the rest of each item is kept as it is).
#pragma once

#include "app/CInformationFormFile.h"
#include "setup/CFormPageOf.h"

class CInformationDialog : public CFormPageOf<CInformationFormFile, &CMorvelApp::m_informationForm,
                                              &CMorvelApp::m_strInformationFormFile> {
    DECLARE_DYNCREATE(CInformationDialog)
public:
    CInformationDialog();

    // The "登 録" save routine, called by the sheet for a changed page.
    void SaveAs() { SaveFormAs(); }

    const char* FolderKey() const override { return "Information Form"; }
    const char* StartupFileName() const override { return "JYOUHOU.MJK"; }
    const char* NameKey() const override { return "Information Form Name"; }
    const char* WidthSection() const override { return "Information Width Setting"; }
    std::vector<long> DefaultWidths() const override { return {300, 2000, 800, 540, 1930, 1800, 1190, 390}; }
    const char* DefaultExt() const override { return "MJK"; }
    CString OpenFilter() const override;
    CString SaveFilter() const override { return OpenFilter(); }
    int FormKindIndex() const override { return 2; }
    const char* WriteFailMessage() const override { return "情報形式ﾌｧｲﾙに書き込めません。"; }
    const char* ReadFailMessage() const override { return "情報形式ﾌｧｲﾙがないか、壊れています。"; }
    const CPickList* PickListOf(int nCol) override;
    bool IsPickColumn(int nCol) const override { return nCol == 2 || nCol == 7; }
    int EnterSteps(int nCol, const CString& strAttribute) const override;

private:
    CPickList m_lists[2];
};
