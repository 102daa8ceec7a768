// CImportFormatDialog: which source item feeds which item of the current form, when data
// laid out by one column layout is read into another (an estimate made with another form,
// its information values, the columns of a CSV text, a parts list of another parts form).
// One row per current item; a double click on a row opens CImportItemListDialog to choose
// its source. On OK, m_strResult holds one label per current item (empty: no source);
// ItemMapping::DecodeMapping turns them into source indexes.
#pragma once

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CPartFormFile.h"
#include "platform/base/CString.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/dialogs/CDialog.h"

#include <vector>

class CImportFormatDialog : public CDialog {
public:
    enum { modeParts = 0, modeEstimation = 1, modeInformation = 2, modeEstimateCsv = 10, modePartsCsv = 11 };

    CImportFormatDialog(CWnd* pParent, const CEstimationFormFile& current, const CEstimationFormFile& source,
                        const char* lpszFileName);
    CImportFormatDialog(CWnd* pParent, const CInformationFormFile& current,
                        const CInformationFormFile& source, const char* lpszFileName);
    CImportFormatDialog(CWnd* pParent, const CPartFormFile& current, const CPartFormFile& source,
                        const char* lpszFileName);
    CImportFormatDialog(CWnd* pParent, const CEstimationFormFile& current, int nColumns,
                        const char* lpszFileName);
    CImportFormatDialog(CWnd* pParent, const CPartFormFile& current, int nColumns, const char* lpszFileName);
    ~CImportFormatDialog() override;

    // The source labels mapped to the current items, filled on OK.
    const std::vector<CString>& GetResult() const { return m_strResult; }
    // The names of the current items (rows) and of the source items, by the mode.
    std::vector<CString> GetCurrentNames() const;
    std::vector<CString> GetSourceNames() const;

    // What a double click on a row does: the source list opens for that row.
    void ChooseSourceFor(int nRow);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    CImportFormatDialog(CWnd* pParent, int nMode, int nColumns, const char* lpszFileName);

    int m_nColumns = 0;
    std::vector<CString> m_strResult;
    CEstimationFormFile m_EstimationForm[2]; // current, source
    CPartFormFile m_PartForm[2];
    CInformationFormFile m_InformationForm[2];
    int m_nMode;
    CString m_strTitle;
    CString m_strFileName;
    CListCtrl m_List;
};
