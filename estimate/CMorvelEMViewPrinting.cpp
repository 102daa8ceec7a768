// The estimate view's side of printing: the print and preview commands and the framework's
// print steps, handed to the print road that prints through the chosen print layouts
// (registered in CShellServices by the estimate tools).
#include "app/CShellServices.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/Cp932.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CPrintInfo.h"

#include <algorithm>

int CMorvelEMView::GetPrintRowCount() const
{
    return IsSummaryPageShown() ? static_cast<int>(GetSummaryRows().GetSize()) : GetUsedRows();
}

void CMorvelEMView::OnUpdateEstimatePrint(CCmdUI* pCmdUI)
{
    const CShellServices& services = CShellServices::Get();
    CMorvelEMDoc* pDoc = GetDocument();
    pCmdUI->Enable(services.prepareEstimatePrinting && services.printEstimatePage && pDoc != nullptr &&
                   pDoc->m_aPrintForms.GetSize() > 0);
}

void CMorvelEMView::ComputeInformationAmounts()
{
    CMorvelEMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    const CInformationFormFile& form = pDoc->m_InformationForm;
    const int nItems = std::min(form.GetCount(), static_cast<int>(MAX_INFORMATION));
    CString strTotal, strTax, strNet;
    GetInformationAmounts(strTotal, strTax, strNet);
    for (int i = 0; i < nItems; ++i) {
        const CString& attribute = form.GetItem(i, CInformationFormFile::colAttribute);
        if (attribute == "税込見積"_sj)
            SetInformation(i, strTotal);
        else if (attribute == "消費税"_sj)
            SetInformation(i, strTax);
        else if (attribute == "税抜見積"_sj)
            SetInformation(i, strNet);
    }
    // The value a letter of a formula names: rounded by the item's rounding rule
    // when it has one; 0 for a letter beyond the items (two letters reach item 701).
    auto value = [&](int nItem) -> CString {
        if (nItem < 0 || nItem >= nItems)
            return CString("0");
        const CString& spec = form.GetItem(nItem, CInformationFormFile::colRounding);
        const CString text = GetInformation(nItem);
        if (spec.IsEmpty())
            return text.IsEmpty() ? CString("0") : text;
        CString rounded;
        rounded.Format("%f", CNumberRules::RoundBySpec(CNumberRules::ReadNumber(text), spec));
        return rounded;
    };
    for (int i = 0; i < nItems; ++i) {
        if (form.GetItem(i, CInformationFormFile::colAttribute) != "計算"_sj)
            continue;
        CString formula = form.GetItem(i, CInformationFormFile::colFormula);
        formula.MakeUpper();
        // The expression grows as it needs: no fixed buffer.
        CString expression;
        const int nLen = formula.GetLength();
        for (int k = 0; k < nLen; ++k) {
            const auto c = static_cast<unsigned char>(formula[k]);
            if (IsDBCSLeadByte(c) && k + 1 < nLen) {
                expression += formula.Mid(k, 2);
                ++k;
            } else if (c < 'A' || c > 'Z') {
                expression += static_cast<char>(c);
            } else if (k + 1 < nLen && formula[k + 1] >= 'A' && formula[k + 1] <= 'Z') {
                expression += value((c - 64) * 26 + (formula[k + 1] - 65));
                ++k;
            } else {
                expression += value(c - 65);
            }
        }
        SetInformation(i, CNumberRules::EvaluateFormula(expression));
    }
}

void CMorvelEMView::OnEstimatePrint()
{
    BeginPrintSkipZeroRows();
    ComputeInformationAmounts();
    OnFilePrint();
    // Page counting drops the copy; a job that never got that far drops it here.
    EndPrintSkipZeroRows(TRUE);
}

void CMorvelEMView::OnEstimatePrintPreview()
{
    BeginPrintSkipZeroRows();
    RecalcFromRow(recalcSaveOrPrint, 0);
    ComputeInformationAmounts();
    OnFilePrintPreview();
    EndPrintSkipZeroRows(TRUE);
}

BOOL CMorvelEMView::OnPreparePrinting(CPrintInfo* pInfo)
{
    const BOOL bPages = CShellServices::PrepareEstimatePrinting(this, pInfo);
    // The pages were counted on the copy; the print dialog and everything after it start
    // from the real rows.
    EndPrintSkipZeroRows(TRUE);
    if (!bPages)
        return FALSE;
    return DoPreparePrinting(pInfo);
}

void CMorvelEMView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    RecalcFromRow(recalcSaveOrPrint, 0);
    CMorvelView::OnBeginPrinting(pDC, pInfo);
    // One copy for the whole job, made from the recalculated rows and served only while a
    // page draws, so that the grid shows its own rows in between.
    BeginPrintSkipZeroRows();
    SuspendPrintCopy();
}

void CMorvelEMView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    ResumePrintCopy();
    CShellServices::PrintEstimatePage(this, pDC, pInfo);
    SuspendPrintCopy();
}

void CMorvelEMView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    CShellServices::EndEstimatePrinting(this);
    EndPrintSkipZeroRows(FALSE);
    RestoreRowsAfterPrint();
    CMorvelView::OnEndPrinting(pDC, pInfo);
    if (m_hWnd != nullptr) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}
