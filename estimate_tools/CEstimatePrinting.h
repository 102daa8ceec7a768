// The estimate's print road: a print job or preview of the estimate view through the print
// layouts chosen for its document. One job keeps its layouts open from the page count to the
// last page; the view tells each page which page of its layout it is.
#pragma once

#include "layout/drawing/FieldTokens.h"

#include <memory>

class CMorvelEMView;
class CPrintRowSource;

// What the layouts' field tokens read of the estimate view being printed: the rows the job
// was given (CMorvelEMView::CopyRowsForPrint), which it holds until it ends, and the view's
// information values and forms.
class CEstimatePrintSource : public CEstimateFieldData {
public:
    explicit CEstimatePrintSource(const CMorvelEMView& view);
    ~CEstimatePrintSource() override;
    // Takes the rows to print from the view again.
    void TakeRows();
    // The rows printed (what the pages are counted by).
    int GetRowCount() const;
    int GetLayoutPage() const override { return m_nLayoutPage; }
    int GetPrintPages() const override { return m_nPrintPages; }
    CString GetCellText(int nRow, int nCol) const override;
    ERowKind GetRowKind(int nRow) const override;
    CString GetSubjectNoText(int nRow, int nCol) const override;
    int GetCellIndent(int nRow, int nCol) const override;
    CString GetInformationValue(int nItem) const override;
    const CEstimationFormFile& GetEstimationForm() const override;
    const CInformationFormFile& GetInformationForm() const override;

    int m_nLayoutPage = 1;
    int m_nPrintPages = 0;

private:
    const CMorvelEMView& m_view;
    std::unique_ptr<CPrintRowSource> m_pRows;
};

// Fills the estimate printing entries of CShellServices.
void RegisterEstimatePrinting();
