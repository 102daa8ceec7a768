#include "estimate_tools/EstimateIoCommands.h"

#include "app/CColumnSelectDialog.h"
#include "app/CImportFormatDialog.h"
#include "app/CMorvelDocManager.h"
#include "app/CMorvelSettings.h"
#include "app/CWaitDialog.h"
#include "app/CsvText.h"
#include "app/ItemMapping.h"
#include "app/MasterFileIo.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/EstimateIoSupport.h"
#include "estimate_tools/COtherFormEstimate.h"
#include "estimate_tools/EstimateCsv.h"
#include "estimate_tools/EstimateExport.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "resources/ResourceIds.h"

#include <cerrno>
#include <string>

namespace {

// Remembers the folder of a file read or written under the file's extension and under
// "MMD".
void RememberFolder(const CString& strPath)
{
    const CString strFolder = GetFolderOfPath(strPath);
    CString strExt = GetExtensionOfPath(strPath);
    strExt.MakeUpper();
    SetExtensionPath(strExt, strFolder);
    SetExtensionPath("MMD", strFolder);
}

// A file dialog that starts in the folder remembered for "MMD". A file to read has its
// folder remembered after OK; a file to write once it is written (RememberFolder), so that
// a folder where the write failed is not where the dialogs start.
BOOL AskFileName(CMorvelEMView& view, BOOL bOpen, const char* lpszDefExt, const char* lpszFileName,
                 DWORD dwFlags, const CString& strFilter, CString& strPath)
{
    CFileDialog dlg(bOpen, lpszDefExt, lpszFileName, dwFlags, strFilter, &view);
    CString strStart = GetExtensionPath("MMD");
    if (const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent()) {
        if (pSettings->IsRemoveBackSlash())
            strStart = RemoveTrailingBackslash(strStart);
    }
    dlg.m_ofn.lpstrInitialDir = strStart;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    strPath = dlg.GetPathName();
    if (bOpen)
        RememberFolder(strPath);
    return TRUE;
}

// The rows below nFirstRow repaint, the document is modified and the subject tree rebuilt.
void AfterRowsInserted(CMorvelEMView& view, int nFirstRow)
{
    view.InvalidateRows(nFirstRow, std::max(nFirstRow, EstimateIo::GetUsedRows(view) - 1));
    if (view.GetSafeHwnd() != nullptr)
        view.UpdateWindow();
    if (CMorvelEMDoc* pDoc = view.GetDocument())
        pDoc->SetModifiedFlag(TRUE);
    view.UpdateTreeView();
}

void ReadOtherForm(CMorvelEMView& view)
{
    CMorvelEMDoc* pDoc = view.GetDocument();
    if (pDoc == nullptr)
        return;
    CString strPath;
    if (!AskFileName(view, TRUE, "MMD", nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR,
                     "見積処理ﾌｧｲﾙ(*.MMD)|*.MMD||"_sj, strPath))
        return;
    const CString strMissing = "見積りﾌｧｲﾙはないか、壊れています。"_sj;
    std::string data;
    if (!EstimateIo::ReadWholeFile(strPath, data)) {
        AfxMessageBox(strMissing, MB_OK);
        return;
    }
    COtherFormEstimate file;
    switch (file.Read(data)) {
    case COtherFormEstimate::readOk:
        break;
    case COtherFormEstimate::readNotEstimate:
        AfxMessageBox("見積ﾌｧｲﾙではありません。"_sj, MB_OK);
        return;
    case COtherFormEstimate::readBadForm:
        return; // the form's reader has said what is wrong
    case COtherFormEstimate::readDamaged:
        AfxMessageBox(strMissing, MB_OK);
        return;
    }
    // Rows the estimate could not save are refused before anything is asked or changed.
    if (!EstimateIo::CheckRowRoom(
            view, EstimateIo::GetCurrentRow(view), static_cast<int>(file.m_rows.size()),
            view.AdjustPageBreak(CMorvelEMView::EPageBreak::findHeading, EstimateIo::GetCurrentRow(view))))
        return;

    CImportFormatDialog dlgRows(&view, view.GetEstimationForm(), file.m_EstimationForm, strPath);
    bool bRowsRead = false;
    if (dlgRows.DoModal() == IDOK) {
        // The rows read are one command: undo takes them out again (with the information
        // values taken over below).
        const std::vector<int> mapping = ItemMapping::DecodeMapping(dlgRows.GetResult(), file.m_nColumns);
        const int nRow = EstimateIo::GetCurrentRow(view);
        bRowsRead = file.InsertRows(view, nRow, mapping) > 0;
        view.RecalcFromRow(CMorvelEMView::recalcBulk, 0);
        AfterRowsInserted(view, nRow);
    }

    CImportFormatDialog dlgInformation(&view, pDoc->m_InformationForm, file.m_InformationForm, strPath);
    if (dlgInformation.DoModal() == IDOK) {
        const std::vector<int> mapping = ItemMapping::DecodeMapping(
            dlgInformation.GetResult(), static_cast<int>(file.m_information.size()));
        file.ApplyInformation(view, mapping, bRowsRead);
    }
}

void TextOutput(CMorvelEMView& view)
{
    // An existing file, the open estimate's own among them, is replaced only when the
    // user says so.
    CString strPath;
    if (!AskFileName(view, FALSE, "CSV", view.GetDefaultFileName(),
                     OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR, "CSVﾌｧｲﾙ(*.CSV)|*.CSV||"_sj,
                     strPath))
        return;
    if (WriteCsvOutput(&view, strPath, view.GetEstimationForm(), [&view](const std::vector<BOOL>& ticks) {
            return EstimateCsv::WriteEstimate(view.GetModel(), view.GetEstimationForm(), ticks);
        }))
        RememberFolder(strPath);
}

void TextInput(CMorvelEMView& view)
{
    CString strPath;
    if (!AskFileName(view, TRUE, "CSV", nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR,
                     "見積処理ﾌｧｲﾙ(*.CSV)|*.CSV||"_sj, strPath))
        return;
    std::string data;
    if (!CsvText::ReadInputFile(strPath, data))
        return;
    const std::vector<std::string_view> lines = EstimateCsv::SplitLines(data);
    if (lines.empty())
        return; // an empty file has no rows to give
    if (!EstimateIo::CheckRowRoom(
            view, EstimateIo::GetCurrentRow(view), static_cast<int>(lines.size()),
            view.AdjustPageBreak(CMorvelEMView::EPageBreak::findHeading, EstimateIo::GetCurrentRow(view))))
        return;
    const int nFields = EstimateCsv::CountFields(lines[0]);
    CImportFormatDialog dlg(&view, view.GetEstimationForm(), nFields, strPath);
    if (dlg.DoModal() != IDOK)
        return;
    const std::vector<int> mapping = ItemMapping::DecodeMapping(dlg.GetResult(), 27 * 26);
    CWaitScope wait("ﾃｷｽﾄ入力中..."_sj);
    // The rows read are one command: undo takes them out again.
    const int nRow = EstimateIo::GetCurrentRow(view);
    EstimateCsv::InsertRows(view, nRow, lines, mapping);
    view.RecalcFromRow(CMorvelEMView::recalcBulk, 0);
    AfterRowsInserted(view, nRow);
}

// strFailure says that the file cannot be written; the path and the reason follow it. The
// file's folder is tried before any work, and an existing file is replaced only whole.
void ExportOutside(CMorvelEMView& view, const CString& strFilter, const char* lpszExt,
                   const CString& strFailure)
{
    CString strPath;
    if (!AskFileName(view, FALSE, lpszExt, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR,
                     strFilter, strPath))
        return;
    if (!CanWriteFileAtomically(strPath)) {
        AfxMessageBox(FileWriteFailureText(strFailure, strPath, errno), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    {
        // The totals worked out for the file change nothing an undo record names.
        const CMorvelView::CUndoKeepingScope keepUndo;
        view.RecalcFromRow(CMorvelEMView::recalcBulk, 0);
    }
    CWaitScope wait("RX3000営業見積ﾃﾞｰﾀ出力中..."_sj);
    std::string converter;
    std::vector<CString> items;
    if (EstimateIo::ReadWholeFile(EstimateIo::GetProgramFolder() + "m2k.inf", converter)) {
        items = EstimateExport::ParseConverterItems(converter);
    } else {
        AfxMessageBox("ｺﾝﾊﾞｰﾄ情報M2K.INF)がないか壊れています。\n見積ファイルの全ての項目が出力"_sj, MB_OK);
        items = EstimateExport::LetterItems(view.GetEstimationForm().GetCount());
    }
    const std::string text = EstimateExport::WriteExport(view.GetModel(), view.GetEstimationForm(), items);
    if (!WriteFileAtomically(strPath, text.data(), text.size())) {
        AfxMessageBox(FileWriteFailureText(strFailure, strPath, errno), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    RememberFolder(strPath);
}

} // namespace

void RunEstimateIoCommand(CView* pView, UINT nID)
{
    auto* pEstimate = dynamic_cast<CMorvelEMView*>(pView);
    if (pEstimate == nullptr)
        return;
    CMorvelEMView& view = *pEstimate;
    if (nID == ID_READ_OTHER_FORM)
        ReadOtherForm(view);
    else if (nID == ID_TEXT_OUTPUT)
        TextOutput(view);
    else if (nID == ID_TEXT_INPUT)
        TextInput(view);
    else if (nID == ID_EXPORT_M2K)
        ExportOutside(view, "築匠録連携データファイル(*.M2K)|*.M2K||"_sj, "M2K",
                      "M2Kﾌｧｲﾙに書き込めません。"_sj);
    else if (nID == ID_EXPORT_M2N)
        ExportOutside(view, "ﾉﾙﾝ工事帳連携ﾃﾞｰﾀﾌｧｲﾙ(*.M2N)|*.M2N||"_sj, "M2N", "M2Nﾌｧｲﾙに書き込めません。"_sj);
}
