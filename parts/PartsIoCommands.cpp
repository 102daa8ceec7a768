#include "parts/PartsIoCommands.h"

#include "app/CColumnSelectDialog.h"
#include "app/CImportFormatDialog.h"
#include "app/CWaitDialog.h"
#include "app/CsvText.h"
#include "app/ItemMapping.h"
#include "estimate/EstimateIoSupport.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/PartsImport.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "resources/ResourceIds.h"

namespace {

const char* const kCsvFilter = "CSVﾌｧｲﾙ(*.CSV)|*.CSV||";

// A file to write that exists already (the open list's own file among them) is replaced
// only when the user says so.
BOOL AskFileName(CWnd* pParent, BOOL bOpen, const char* lpszDefExt, const char* lpszFileName,
                 const CString& strFilter, CString& strPath)
{
    CFileDialog dlg(bOpen, lpszDefExt, lpszFileName, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR,
                    strFilter, pParent);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    strPath = dlg.GetPathName();
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// CSV output

void CsvOutput(CMorvelPMView& view)
{
    CMorvelPMDoc* pDoc = view.GetDocument();
    if (pDoc == nullptr)
        return;
    CString strPath;
    if (!AskFileName(&view, FALSE, "CSV", pDoc->GetTitleStem(), CString::FromUtf8(kCsvFilter), strPath))
        return;
    WriteCsvOutput(&view, strPath, pDoc->m_form,
                   [&view](const std::vector<BOOL>& ticks) { return PartsImport::WriteCsv(view, ticks); });
}

// ---------------------------------------------------------------------------------------
// CSV input and another parts file

void CsvInput(CMorvelPMView& view)
{
    CMorvelPMDoc* pDoc = view.GetDocument();
    if (pDoc == nullptr)
        return;
    CString strPath;
    if (!AskFileName(&view, TRUE, "CSV", nullptr, CString::FromUtf8(kCsvFilter), strPath))
        return;
    std::string data;
    if (!CsvText::ReadInputFile(strPath, data))
        return;
    if (data.empty())
        return; // an empty file has no rows to give
    CImportFormatDialog dlg(&view, pDoc->m_form, PartsImport::CountFirstLineFields(data), strPath);
    if (dlg.DoModal() != IDOK)
        return;
    const std::vector<int> mapping = ItemMapping::DecodeMapping(dlg.GetResult(), 27 * 26);
    CWaitScope wait("ﾃｷｽﾄ入力中..."_sj);
    PartsImport::InsertCsvRows(view, view.GetCurrentRow(), data, mapping);
}

void ReadOtherForm(CMorvelPMView& view)
{
    CMorvelPMDoc* pDoc = view.GetDocument();
    if (pDoc == nullptr)
        return;
    CString strPath;
    if (!AskFileName(&view, TRUE, "MBD", nullptr, "部材処理ﾌｧｲﾙ(*.MBD)|*.MBD||"_sj, strPath))
        return;
    const CString strMissing = "部材りﾌｧｲﾙはないか、壊れています。"_sj;
    std::string data;
    if (!EstimateIo::ReadWholeFile(strPath, data)) {
        AfxMessageBox(strMissing, MB_OK);
        return;
    }
    // The whole file is read before anything is inserted: a damaged file changes nothing.
    PartsImport::COtherPartsFile other;
    switch (PartsImport::ReadOtherPartsFile(reinterpret_cast<const BYTE*>(data.data()), data.size(), other)) {
    case PartsImport::readOk:
        break;
    case PartsImport::readNotParts:
        AfxMessageBox("部材ﾌｧｲﾙではありません"_sj, MB_OK);
        return;
    case PartsImport::readBadForm:
        return; // the form's reader has said what is wrong
    default:
        AfxMessageBox(strMissing, MB_OK);
        return;
    }
    CImportFormatDialog dlg(&view, pDoc->m_form, other.form, strPath);
    if (dlg.DoModal() != IDOK)
        return;
    const std::vector<int> mapping = ItemMapping::DecodeMapping(dlg.GetResult(), other.nColumns);
    PartsImport::InsertOtherRows(view, view.GetCurrentRow(), other, mapping);
}

} // namespace

void RunPartsIoCommand(CView* pView, UINT nID)
{
    auto* pParts = dynamic_cast<CMorvelPMView*>(pView);
    if (pParts == nullptr)
        return;
    if (nID == ID_TEXT_OUTPUT)
        CsvOutput(*pParts);
    else if (nID == ID_TEXT_INPUT)
        CsvInput(*pParts);
    else if (nID == ID_READ_OTHER_FORM)
        ReadOtherForm(*pParts);
}
