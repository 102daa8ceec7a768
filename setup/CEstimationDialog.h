// CEstimationDialog: the page "見積形式" of the setup sheet; edits the estimation form
// (ten strings an item: name, attribute, width, picture, formula, rounding, T, V, B, C).
#pragma once

#include "app/CEstimationFormFile.h"
#include "setup/CFormPageOf.h"

class CEstimationDialog : public CFormPageOf<CEstimationFormFile, &CMorvelApp::m_estimationForm,
                                             &CMorvelApp::m_strEstimationFormFile> {
    DECLARE_DYNCREATE(CEstimationDialog)
public:
    CEstimationDialog();

    // The "登 録" save routine, called by the sheet for a changed page.
    void SaveFormFileAs() { SaveFormAs(); }

    const char* FolderKey() const override { return "Estimation Form"; }
    const char* StartupFileName() const override { return "meisai.MMK"; }
    const char* NameKey() const override { return "Estimation Form Name"; }
    const char* WidthSection() const override { return "Estimation Width Setting"; }
    std::vector<long> DefaultWidths() const override
    {
        return {300, 2000, 800, 540, 1930, 1800, 1190, 390, 390, 390, 390};
    }
    const char* DefaultExt() const override { return "MMK"; }
    CString OpenFilter() const override;
    CString SaveFilter() const override;
    int FormKindIndex() const override { return 0; }
    const char* WriteFailMessage() const override { return "見積形式ﾌｧｲﾙに書き込めません。"; }
    const char* ReadFailMessage() const override { return "見積形式ﾌｧｲﾙがないか、壊れています。"; }
    const CPickList* PickListOf(int nCol) override;
    bool IsPickColumn(int nCol) const override { return nCol == 2 || (nCol >= 7 && nCol <= 10); }
    int EnterSteps(int nCol, const CString& strAttribute) const override;
    void AfterPick(int nCol, int nIndex) override;
    bool PictureTakesBackspace() const override { return true; }

private:
    CPickList m_lists[5];
};
