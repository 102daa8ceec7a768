#include "estimate/CMorvelEMDoc.h"

#include "app/CMorvelApp.h"
#include "app/CMorvelSettings.h"
#include "app/CWaitDialog.h"
#include "app/SharedRecords.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CRowPool.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CUserException.h"
#include "platform/ui/frames/CView.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

IMPLEMENT_DYNCREATE(CMorvelEMDoc, CMorvelDoc)

namespace {

const char kEstimateMagic[] = "This is Estimation File";

// The ten words of the file that follow the forms, in their order.
enum {
    wordColumnCount = 0,
    wordUsedRows,
    wordNumbering,
    wordNumberingCol,
    wordKindStyle,
    wordLargeStyle,
    wordMiddleStyle,
    wordSmallStyle,
    wordNumberingMode,
    wordZoom,
    WORD_COUNT
};

WORD LowWord(int nValue)
{
    return static_cast<WORD>(static_cast<unsigned>(nValue) & 0xFFFFu);
}

// The one rule of the file for what belongs to the estimate's forms: the reader refuses
// more columns or information values than these, so the writer never writes more. Every
// column is an item of the estimation form and every information value an item of the
// information form, at most 100 of each.
int ColumnLimit(const CEstimationFormFile& form)
{
    return std::clamp(form.GetCount(), 0, static_cast<int>(CMorvelEMDoc::MAX_FILE_COLUMNS));
}

int InformationLimit(const CInformationFormFile& form)
{
    return std::clamp(form.GetCount(), 0, static_cast<int>(CMorvelEMDoc::MAX_FILE_INFORMATION));
}

} // namespace

// Everything an estimate file holds, read completely before any of it is taken over.
struct CMorvelEMDoc::CLoadedEstimate {
    CString strEstimationFormName;
    CString strInformationFormName;
    CEstimationFormFile estimationForm;
    CInformationFormFile informationForm;
    WORD words[WORD_COUNT] = {};
    std::vector<std::unique_ptr<CGridRow>> rows;
    std::vector<CString> information;
    std::vector<std::pair<CString, CString>> printForms; // title, folder
};

CMorvelEMDoc::CMorvelEMDoc() : m_nLoadedRowCount(0), m_nNewEstimate(0)
{
    CMorvelSettings::SetWorkFolderAsCurrent();
    m_model.SetRowLimit(CMorvelEMView::ReadRowLimitSetting());
}

CMorvelEMDoc::~CMorvelEMDoc() = default;

void CMorvelEMDoc::DeleteObjects()
{
    ClearPrintForms();
}

CMorvelEMView* CMorvelEMDoc::GetEstimateView() const
{
    return static_cast<CMorvelEMView*>(FindView(RUNTIME_CLASS(CMorvelEMView)));
}

template <typename F>
void CMorvelEMDoc::ForEachEstimateView(F visit) const
{
    for (CMorvelEMView* pView : m_estimateViews)
        visit(*pView);
}

void CMorvelEMDoc::OnChangedViewList()
{
    m_estimateViews.clear();
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
        if (auto* pView = dynamic_cast<CMorvelEMView*>(GetNextView(pos)))
            m_estimateViews.push_back(pView);
    }
    ForEachEstimateView([this](CMorvelEMView& view) { view.AttachModel(m_model); });
    CMorvelDoc::OnChangedViewList();
}

// ---------------------------------------------------------------------------------------
// What the model asks of the estimate

const CString& CMorvelEMDoc::GetColumnText(int nCol, EColumnText eText) const
{
    static const int items[COLUMN_TEXTS] = {
        CEstimationFormFile::colAttribute, CEstimationFormFile::colPicture, CEstimationFormFile::colFormula,
        CEstimationFormFile::colRounding,  CEstimationFormFile::colT,       CEstimationFormFile::colV};
    return m_EstimationForm.GetItem(nCol, items[eText]);
}

void CMorvelEMDoc::GrowUsedRows(int)
{
    ForEachEstimateView([](CMorvelEMView& view) { view.UsedRowsChanged(); });
}

void CMorvelEMDoc::RowsMoved(int nFromRow)
{
    ForEachEstimateView([nFromRow](CMorvelEMView& view) { view.RowsMoved(nFromRow); });
}

void CMorvelEMDoc::MarkRowMoved(int nOld, int nNew)
{
    ForEachEstimateView([nOld, nNew](CMorvelEMView& view) { view.MarkRowMoved(nOld, nNew); });
}

void CMorvelEMDoc::RowsWritten(int nFirst, int nLast)
{
    ForEachEstimateView([nFirst, nLast](CMorvelEMView& view) { view.InvalidateRows(nFirst, nLast); });
}

IEstimateSheet::CTaxSettings CMorvelEMDoc::GetTaxSettings() const
{
    CTaxSettings tax;
    if (const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent()) {
        tax.nRate = pSettings->m_nTax;
        tax.eRounding = TaxRoundingFromSetting(pSettings->m_nRoundMode);
    }
    return tax;
}

bool CMorvelEMDoc::IsTaxVerticalTotal() const
{
    return CMorvelEMView::IsTaxVerticalTotal();
}

// ---------------------------------------------------------------------------------------
// Names

CString CMorvelEMDoc::GetUpperExtension(const char* lpszPathName)
{
    const CString strPath(lpszPathName);
    const int nName = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/')) + 1;
    const CString strName = strPath.Mid(nName);
    const int nDot = strName.ReverseFind('.');
    CString strExt = nDot >= 0 ? strName.Mid(nDot) : CString();
    strExt.MakeUpper();
    return strExt;
}

int CMorvelEMDoc::GetSourceKind(const char* lpszPathName)
{
    const CString strExt = GetUpperExtension(lpszPathName);
    if (strExt.Find(".MVL") >= 0)
        return sourceMvl;
    if (strExt.Find(".RXA") >= 0)
        return sourceRxa;
    if (strExt.Find(".RXB") >= 0)
        return sourceRxb;
    return sourceNative;
}

CString CMorvelEMDoc::GetOpenWaitText(int nKind)
{
    switch (nKind) {
    case sourceMvl:
        return "TP5000積算ﾃﾞｰﾀ 読み込み中"_sj;
    case sourceRxa:
        return "RX3000営業見積ﾃﾞｰﾀ 読み込み中"_sj;
    case sourceRxb:
        return "RX3000詳細積算ﾃﾞｰﾀ 読み込み中"_sj;
    default:
        return "見積処理ﾌｧｲﾙの読み込み中..."_sj;
    }
}

CString CMorvelEMDoc::GetNativePathName(const char* lpszPathName)
{
    // Native data is never written under another package's extension (".RXB" included):
    // the outside file stays as it was and the estimate goes beside it.
    if (GetUpperExtension(lpszPathName) == ".MMD")
        return CString(lpszPathName);
    return ReplaceExtension(lpszPathName, "mmd");
}

CString CMorvelEMDoc::GetBackupPathName(const char* lpszPathName)
{
    return ReplaceExtension(lpszPathName, "BMD");
}

void CMorvelEMDoc::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU)
{
    // A file named ".MMD" in any case keeps its own name: the window's title and the recent
    // files show the name the file has on disk.
    CMorvelDoc::SetPathName(GetNativePathName(lpszPathName), bAddToMRU);
}

void CMorvelEMDoc::SetTitle(LPCTSTR lpszTitle)
{
    CMorvelDoc::SetTitle(lpszTitle);
    RebuildSubjectTree(nullptr);
}

bool CMorvelEMDoc::RebuildSubjectTree(CView* pSender)
{
    bool bFound = false;
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
        CView* pView = GetNextView(pos);
        if (pView != nullptr && dynamic_cast<CMorvelEMView*>(pView) == nullptr) {
            pView->OnUpdate(pSender, CMorvelEMView::hintRebuildSubjectTree, nullptr);
            bFound = true;
        }
    }
    return bFound;
}

CMenu& CMorvelEMDoc::AppMenu(CMorvelApp& app) const
{
    return app.m_menuEstimate;
}

// ---------------------------------------------------------------------------------------
// New, open, save

BOOL CMorvelEMDoc::OnNewDocument()
{
    CMorvelSettings::SetWorkFolderAsCurrent();
    m_nLoadedRowCount = 0;
    if (!CMorvelDoc::OnNewDocument())
        return FALSE;
    if (const CMorvelApp* pApp = GetMorvelApp()) {
        m_strEstimationFormName = pApp->m_strEstimationFormFile;
        m_EstimationForm = pApp->m_estimationForm;
        m_strInformationFormName = pApp->m_strInformationFormFile;
        m_InformationForm = pApp->m_informationForm;
    }
    m_nNewEstimate = 1;
    m_model.SetColumnCount(m_EstimationForm.GetCount());
    return TRUE;
}

BOOL CMorvelEMDoc::OnOpenDocument(LPCTSTR lpszPathName)
{
    const int nKind = GetSourceKind(lpszPathName);
    const bool bOpened =
        nKind != sourceNative ? OpenOutsideData(lpszPathName, nKind) : OpenNativeFile(lpszPathName);
    // The rows read took the blocks of the rows closed before that they needed; the others
    // go back to the system.
    CRowPool::ReleaseSpareBlocks();
    return bOpened;
}

bool CMorvelEMDoc::OpenOutsideData(LPCTSTR lpszPathName, int nKind)
{
    CWaitScope wait(GetOpenWaitText(nKind));
    // The outside data starts a new estimate with the application's forms.
    if (!OnNewDocument())
        return FALSE;
    m_nNewEstimate = 0;
    const bool bRead = ImportConvertedFile(lpszPathName, nKind);
    wait.Close();
    return bRead;
}

bool CMorvelEMDoc::OpenNativeFile(LPCTSTR lpszPathName)
{
    // The backup is written only while backups are on: what a save killed while writing it
    // left goes when the estimate is opened (the file's own, when it is read).
    RemoveLeftTemporaries(GetBackupPathName(lpszPathName));
    if (!ReadWholeFile(lpszPathName, GetOpenWaitText(sourceNative)))
        return FALSE;
    m_nNewEstimate = 0;
    return TRUE;
}

BOOL CMorvelEMDoc::OnSaveDocument(LPCTSTR lpszPathName)
{
    const CString strPath = GetNativePathName(lpszPathName);
    // More rows than the file's row count can hold: the user learns why, and neither the
    // file nor its backup is touched.
    if (!CMorvelView::CheckFileRowLimitForSave(m_model.GetUsedRows(), strPath))
        return FALSE;
    if (!CheckSaveTarget(strPath))
        return FALSE;
    // The figures as the recalculation setting makes them for a file (the window's
    // recalculation also refreshes its subject tree and status).
    if (CMorvelEMView* pView = GetEstimateView())
        pView->WorkOutFiguresForOutput(CMorvelEMView::outputFile);
    // The backup is of the file that the save replaces.
    BackupFile(strPath);
    return CMorvelDoc::OnSaveDocument(strPath);
}

void CMorvelEMDoc::SetupModel()
{
    CEstimateModel& model = m_model;
    model.SetColumnCount(
        std::clamp(m_EstimationForm.GetCount(), 0, static_cast<int>(CMorvelView::MAX_COLUMNS)));
    // A file may hold more rows than the row limit: the limit grows (by doubling, as far as
    // needed) so that every row read stays reachable.
    model.GrowRowLimitToFit(model.GetUsedRows());
    // A new estimate's information form is the copy of the application's form that the new
    // document took, so both cases count the document's form.
    model.SetInformationCount(m_InformationForm.GetCount());
    if (m_nNewEstimate == 1)
        model.ClearInformation();
}

void CMorvelEMDoc::BackupFile(LPCTSTR lpszPathName)
{
    CopyToBackup(lpszPathName, GetBackupPathName(lpszPathName));
}

// ---------------------------------------------------------------------------------------
// The estimate file

void CMorvelEMDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        WriteEstimate(ar);
        return;
    }
    CLoadedEstimate loaded;
    if (!ReadEstimate(ar, loaded))
        AfxThrowUserException();
    CommitEstimate(loaded);
}

void CMorvelEMDoc::WriteEstimate(CArchive& ar)
{
    ar << CString(kEstimateMagic);
    ar << m_strEstimationFormName;
    m_EstimationForm.Serialize(ar);
    ar << m_strInformationFormName;
    m_InformationForm.Serialize(ar);

    const CEstimateModel& model = m_model;
    const CSubjectNumbering& numbering = model.GetNumbering();
    const int nColumns = std::clamp(model.GetColumnCount(), 0, ColumnLimit(m_EstimationForm));
    const int nUsedRows = std::max(0, model.GetUsedRows());
    ar << CountWord(nColumns);
    ar << CountWord(nUsedRows);
    ar << LowWord(numbering.nShown);
    ar << LowWord(numbering.nColumn);
    ar << LowWord(numbering.nKindStyle);
    ar << LowWord(numbering.nLargeStyle);
    ar << LowWord(numbering.nMiddleStyle);
    ar << LowWord(numbering.nSmallStyle);
    ar << LowWord(numbering.nMode);
    ar << LowWord(model.GetZoom());
    // The edit page as it is, whichever page a window shows.
    const CGridRowArray& rows = model.Rows(CEstimateModel::EPage::edit);
    const CEstimateEngine& engine = model.Engine();
    static const CString empty;
    for (int r = 0; r < nUsedRows; ++r) {
        const CGridRow* pRow = engine.IsValidRow(r) ? rows.GetRow(r) : nullptr;
        ar << LowWord(pRow != nullptr ? pRow->GetKind() : kindEmpty);
        ar << LowWord(pRow != nullptr ? pRow->GetParam1() : 0);
        ar << LowWord(pRow != nullptr ? pRow->GetParam3() : 0);
        ar << LowWord(pRow != nullptr ? pRow->GetParam2() : 0);
        ar << (pRow != nullptr ? pRow->GetParamText1() : empty);
        ar << (pRow != nullptr ? pRow->GetParamText2() : empty);
        for (int c = 0; c < nColumns; ++c) {
            const bool bCell = pRow != nullptr && engine.IsValidColumn(c);
            ar << (bCell ? pRow->GetCell(c) : empty);
            ar << LowWord(bCell ? pRow->GetIndent(c) : 0);
        }
    }
    // A value without its item (an import fills value 0 even when the information form
    // has no items) could be neither shown nor kept: only the form's items are written.
    const int nInformation = std::clamp(model.GetInformationCount(), 0, InformationLimit(m_InformationForm));
    ar << CountWord(nInformation);
    for (int i = 0; i < nInformation; ++i)
        ar << model.GetInformation(i);

    StorePrintFormList(ar, m_aPrintForms);
}

bool CMorvelEMDoc::ReadEstimate(CArchive& ar, CLoadedEstimate& lo)
{
    CString strMagic;
    ar >> strMagic;
    if (strMagic != kEstimateMagic) {
        AfxMessageBox("見積ﾌｧｲﾙではありません。"_sj, MB_OK);
        return FALSE;
    }

    // A form that fails its own check has shown its message; what follows it cannot be
    // found in the stream any more, so the estimate is not read on.
    ar >> lo.strEstimationFormName;
    if (lo.estimationForm.Serialize(ar) != 0)
        return FALSE;
    ar >> lo.strInformationFormName;
    if (lo.informationForm.Serialize(ar) != 0)
        return FALSE;

    for (WORD& w : lo.words)
        ar >> w;
    // Every stored column is an item of the estimate's own form, and the grid has a column
    // for each item and for nothing else. Cells beyond the form's items could be neither
    // shown, edited nor printed, and the next save (which writes the form's columns) would
    // drop them without a word; such a file is damaged or foreign, and is refused with the
    // file's message like any other damage. The file itself stays as it is.
    const int nColumns = lo.words[wordColumnCount];
    if (nColumns > ColumnLimit(lo.estimationForm))
        throw CArchiveException(CArchiveException::badIndex);

    // Rows are made as they are read, so a file that claims more rows than it holds ends
    // with the archive's end-of-file failure, not with a large allocation.
    const int nUsedRows = lo.words[wordUsedRows];
    lo.rows.reserve(static_cast<size_t>(std::min(nUsedRows, 4096)));
    std::vector<CString> texts(static_cast<size_t>(nColumns));
    std::vector<int> indents(static_cast<size_t>(nColumns));
    for (int r = 0; r < nUsedRows; ++r) {
        auto pRow = std::make_unique<CGridRow>();
        pRow->SetKind(KindFromNumber(ReadWord(ar)));
        pRow->SetParam1(ReadWord(ar));
        pRow->SetParam3(ReadWord(ar));
        pRow->SetParam2(ReadWord(ar));
        CString strParamText;
        ar >> strParamText;
        pRow->SetParamText1(strParamText);
        ar >> strParamText;
        pRow->SetParamText2(strParamText);
        for (size_t c = 0; c < texts.size(); ++c) {
            ar >> texts[c];
            // The indent is the one signed word of the file.
            indents[c] = static_cast<short>(ReadWord(ar));
        }
        pRow->TakeCells(texts.data(), indents.data(), nColumns);
        lo.rows.push_back(std::move(pRow));
    }

    // The same holds for the information values: each belongs to an item of the estimate's
    // own information form, and a value without its item would be lost at the next save.
    const int nInformation = ReadWord(ar);
    if (nInformation > InformationLimit(lo.informationForm))
        throw CArchiveException(CArchiveException::badIndex);
    lo.information.resize(static_cast<size_t>(nInformation));
    for (CString& value : lo.information)
        ar >> value;

    lo.printForms = LoadPrintFormList(ar);
    return TRUE;
}

void CMorvelEMDoc::CommitEstimate(CLoadedEstimate& lo)
{
    m_strEstimationFormName = lo.strEstimationFormName;
    m_EstimationForm = lo.estimationForm;
    m_strInformationFormName = lo.strInformationFormName;
    m_InformationForm = lo.informationForm;

    CEstimateModel& model = m_model;
    model.SetRowLimit(CMorvelEMView::ReadRowLimitSetting());
    model.SetColumnCount(lo.words[wordColumnCount]);
    CSubjectNumbering numbering;
    numbering.nShown = lo.words[wordNumbering];
    numbering.nColumn = lo.words[wordNumberingCol];
    numbering.nKindStyle = lo.words[wordKindStyle];
    numbering.nLargeStyle = lo.words[wordLargeStyle];
    numbering.nMiddleStyle = lo.words[wordMiddleStyle];
    numbering.nSmallStyle = lo.words[wordSmallStyle];
    numbering.nMode = lo.words[wordNumberingMode];
    model.SetNumbering(numbering);
    // Every zoomed size is the base size x zoom / 100 and a resized column is stored back
    // as width x 100 / zoom: a zoom of 0 would hide the grid and divide by zero.
    model.SetZoom(lo.words[wordZoom] != 0 ? lo.words[wordZoom] : 100);
    if (CMorvelEMView* pView = GetEstimateView())
        pView->SetZoom(model.GetZoom());

    // The file's rows replace whatever the model held. More rows than the row limit: the
    // limit grows so that every row read stays reachable instead of reading as empty.
    model.ReplaceEditRows(std::move(lo.rows));
    m_nLoadedRowCount = model.GetUsedRows();

    model.SetInformationCount(static_cast<int>(lo.information.size()));
    for (size_t i = 0; i < lo.information.size(); ++i)
        model.SetInformation(static_cast<int>(i), lo.information[i]);

    SetPrintFormList(m_aPrintForms, std::move(lo.printForms));
}
