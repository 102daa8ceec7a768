#include "parts/CMorvelPMDoc.h"

#include "app/CMorvelApp.h"
#include "app/CMorvelSettings.h"
#include "app/SharedRecords.h"
#include "engine/estimate/CGridRow.h"
#include "parts/CMorvelPMView.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CUserException.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CDocTemplate.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cstdio>
#include <utility>

IMPLEMENT_DYNCREATE(CMorvelPMDoc, CMorvelDoc)

BEGIN_MESSAGE_MAP(CMorvelPMDoc, CMorvelDoc)
ON_COMMAND(ID_TEXT_OUTPUT, OnCsvOutput)
ON_UPDATE_COMMAND_UI(ID_TEXT_OUTPUT, OnUpdateCsvOutput)
END_MESSAGE_MAP()

namespace {

const char kPartsMagic[] = "This is Parts Management file";

} // namespace

// Everything a parts file holds, read completely before any of it is taken over.
struct CMorvelPMDoc::CLoadedList {
    int nZoom = 100;
    CString strFormName;
    CPartFormFile form;
    int nColumns = 0;
    std::vector<std::unique_ptr<CGridRow>> rows;
    std::vector<std::pair<CString, CString>> printForms; // title, folder
};

CMorvelPMDoc::CMorvelPMDoc()
    : m_nZoom(100), m_nRowsRead(0), m_logFont{}, m_crText(0), m_crBack(RGB(255, 255, 255))
{
    m_model.SetRowLimit(DEFAULT_ROW_LIMIT);
    LoadDisplaySettings();
}

CMorvelPMDoc::~CMorvelPMDoc() = default;

CMenu& CMorvelPMDoc::AppMenu(CMorvelApp& app) const
{
    return app.m_menuParts;
}

// ---------------------------------------------------------------------------------------
// Settings and names

void CMorvelPMDoc::LoadDisplaySettings()
{
    if (const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent())
        m_logFont = pSettings->m_lfRowFont[CMorvelSettings::fontPart];
    m_crText = ReadColorSetting("Part Text");
    m_crBack = ReadColorSetting("Part Background", RGB(255, 255, 255));
}

COLORREF CMorvelPMDoc::ReadColorSetting(const char* lpszKey, COLORREF crDefault)
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    if (pSettings == nullptr)
        return crDefault;
    const CString strValue = pSettings->GetProfileString("Color Setting", lpszKey, "");
    int r = 0, g = 0, b = 0;
    if (std::sscanf(strValue, "%d,%d,%d", &r, &g, &b) != 3)
        return crDefault;
    return RGB(r & 255, g & 255, b & 255);
}

CString CMorvelPMDoc::GetTitleStem() const
{
    CString strTitle = GetTitle();
    strTitle.MakeUpper();
    const int nAt = strTitle.Find(".MBD");
    return nAt >= 0 ? strTitle.Left(nAt) : strTitle;
}

CString CMorvelPMDoc::GetBackupPathName(const char* lpszPathName)
{
    return ReplaceExtension(lpszPathName, "BBD");
}

void CMorvelPMDoc::MakeBackup(LPCTSTR lpszPathName)
{
    CopyToBackup(lpszPathName, GetBackupPathName(lpszPathName));
}

int CMorvelPMDoc::SanitizeZoom(int nZoom)
{
    return nZoom < MIN_ZOOM || nZoom > MAX_ZOOM ? 100 : nZoom;
}

int CMorvelPMDoc::RowLimitFor(int nSetting, int nRows)
{
    long long nLimit = std::max(1, nSetting);
    while (nLimit < nRows)
        nLimit *= 2;
    return static_cast<int>(nLimit);
}

int CMorvelPMDoc::ReadRowLimitSetting()
{
    return CMorvelSettings::CurrentProfileInt("Input Setting", "Parts Maxmum Rows", DEFAULT_ROW_LIMIT);
}

CMorvelPMView* CMorvelPMDoc::GetPartsView() const
{
    return static_cast<CMorvelPMView*>(FindView(RUNTIME_CLASS(CMorvelPMView)));
}

int CMorvelPMDoc::GetColumnCount() const
{
    return std::clamp(m_form.GetCount(), 0, static_cast<int>(MAX_COLUMNS));
}

CMorvelPMDoc* CMorvelPMDoc::FindOpenList(const char* lpszPathName)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || pApp->m_pDocManager == nullptr || lpszPathName == nullptr)
        return nullptr;
    POSITION pos = pApp->m_pDocManager->GetFirstDocTemplatePosition();
    while (pos != nullptr) {
        CDocTemplate* pTemplate = pApp->m_pDocManager->GetNextDocTemplate(pos);
        CDocument* pDoc = nullptr;
        if (pTemplate != nullptr &&
            pTemplate->MatchDocType(lpszPathName, pDoc) == CDocTemplate::yesAlreadyOpen) {
            if (auto* pList = dynamic_cast<CMorvelPMDoc*>(pDoc))
                return pList;
        }
    }
    return nullptr;
}

int CMorvelPMDoc::AppendRows(std::vector<std::unique_ptr<CGridRow>> rows)
{
    const int nFirst = m_model.AppendRows(std::move(rows));
    UpdateAllViews(nullptr);
    return nFirst;
}

// ---------------------------------------------------------------------------------------
// What the model asks of the list

namespace {

// The parts form's items in the places of the texts the model reads; a parts form has no
// "V" code.
constexpr int kFormItems[IColumnTexts::COLUMN_TEXTS] = {1, 3, 4, 5, CPartFormFile::colT, -1};

const CString g_strNoText;

} // namespace

const CString& CMorvelPMDoc::GetColumnText(int nCol, EColumnText eText) const
{
    const int nItem = eText >= 0 && eText < COLUMN_TEXTS ? kFormItems[eText] : -1;
    return nItem >= 0 && nCol >= 0 && nCol < GetColumnCount() ? m_form.GetItem(nCol, nItem) : g_strNoText;
}

void CMorvelPMDoc::GetColumnTexts(int nCol, const CString* texts[COLUMN_TEXTS]) const
{
    for (int nText = 0; nText < COLUMN_TEXTS; ++nText)
        texts[nText] = &GetColumnText(nCol, static_cast<EColumnText>(nText));
}

void CMorvelPMDoc::GetTextOfColumns(EColumnText eText, int nColumns, const CString* texts[]) const
{
    for (int nCol = 0; nCol < nColumns; ++nCol)
        texts[nCol] = &GetColumnText(nCol, eText);
}

void CMorvelPMDoc::OnChangedViewList()
{
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
        if (auto* pView = dynamic_cast<CMorvelPMView*>(GetNextView(pos)))
            pView->AttachModel(&m_model);
    }
    CMorvelDoc::OnChangedViewList();
}

void CMorvelPMDoc::RowCountsChanged()
{
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
        if (auto* pView = dynamic_cast<CMorvelPMView*>(GetNextView(pos)))
            pView->RowCountsChanged();
    }
}

// ---------------------------------------------------------------------------------------
// New, open, save

BOOL CMorvelPMDoc::OnNewDocument()
{
    CMorvelSettings::SetWorkFolderAsCurrent();
    m_nRowsRead = 0;
    if (!CMorvelDoc::OnNewDocument())
        return FALSE;
    m_model.SetRowLimit(RowLimitFor(ReadRowLimitSetting(), 0));
    if (const CMorvelApp* pApp = GetMorvelApp()) {
        m_strFormName = pApp->m_strPartFormFile;
        m_form = pApp->m_partForm;
    }
    m_model.SetColumnCount(GetColumnCount());
    return TRUE;
}

BOOL CMorvelPMDoc::OnOpenDocument(LPCTSTR lpszPathName)
{
    CMorvelSettings::SetWorkFolderAsCurrent();
    // As the estimate does: what a save killed while writing the backup left goes too.
    RemoveLeftTemporaries(GetBackupPathName(lpszPathName));
    return ReadWholeFile(lpszPathName, "部材処理ﾌｧｲﾙの読み込み中..."_sj) ? TRUE : FALSE;
}

BOOL CMorvelPMDoc::OnSaveDocument(LPCTSTR lpszPathName)
{
    // More rows than the file's row count can hold: the user learns why, and neither the
    // file nor its backup is touched.
    if (!CMorvelView::CheckFileRowLimitForSave(GetRowsInUse(), lpszPathName))
        return FALSE;
    if (!CheckSaveTarget(lpszPathName))
        return FALSE;
    CMorvelSettings::SetWorkFolderAsCurrent();
    MakeBackup(lpszPathName);
    return CMorvelDoc::OnSaveDocument(lpszPathName);
}

// ---------------------------------------------------------------------------------------
// The parts file

void CMorvelPMDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        WriteList(ar);
        return;
    }
    CLoadedList loaded;
    if (!ReadList(ar, loaded))
        AfxThrowUserException();

    m_nZoom = loaded.nZoom;
    m_strFormName = loaded.strFormName;
    m_form = loaded.form;
    m_nRowsRead = static_cast<int>(loaded.rows.size());
    m_model.SetColumnCount(GetColumnCount());
    m_model.TakeReadRows(std::move(loaded.rows), RowLimitFor(ReadRowLimitSetting(), m_nRowsRead));
    SetPrintFormList(m_aPrintForms, std::move(loaded.printForms));
    if (CMorvelPMView* pView = GetPartsView())
        pView->TakeDocumentRows();
}

bool CMorvelPMDoc::ReadList(CArchive& ar, CLoadedList& lo)
{
    CString strMagic;
    ar >> strMagic;
    if (strMagic != kPartsMagic) {
        AfxMessageBox("部材ﾌｧｲﾙではありません。"_sj, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    lo.nZoom = SanitizeZoom(ReadWord(ar));
    ar >> lo.strFormName;
    // A damaged form has shown its own message; what follows cannot be found any more.
    if (lo.form.Serialize(ar) != 0)
        return false;
    const int nRows = ReadWord(ar);
    lo.nColumns = ReadWord(ar);
    if (lo.nColumns > MAX_COLUMNS)
        throw CArchiveException(CArchiveException::badIndex);
    // Rows are made as they are read, so a file that claims more rows than it holds ends
    // with the archive's end-of-file failure, not with a large allocation.
    // A list without columns stores no bytes for its rows: they stay null (empty) rather
    // than tens of thousands of allocated rows coming from a few bytes.
    if (lo.nColumns == 0) {
        lo.rows.resize(static_cast<size_t>(nRows));
    }
    lo.rows.reserve(static_cast<size_t>(std::min(nRows, 4096)));
    for (int r = 0; r < nRows && lo.nColumns > 0; ++r) {
        auto pRow = std::make_unique<CGridRow>();
        for (int c = 0; c < lo.nColumns; ++c) {
            CString strText;
            ar >> strText;
            pRow->SetCell(c, std::move(strText));
        }
        lo.rows.push_back(std::move(pRow));
    }
    lo.printForms = LoadPrintFormList(ar);
    return true;
}

void CMorvelPMDoc::WriteList(CArchive& ar)
{
    const int nColumns = GetColumnCount();
    ar << CString(kPartsMagic);
    ar << static_cast<WORD>(SanitizeZoom(m_nZoom));
    ar << m_strFormName;
    m_form.Serialize(ar);
    const int nRows = std::max(0, GetRowsInUse());
    ar << CountWord(nRows);
    ar << static_cast<WORD>(nColumns);
    static const CString s_strEmpty;
    for (int r = 0; r < nRows; ++r) {
        const CGridRow* pRow = m_model.GetRow(r);
        for (int c = 0; c < nColumns; ++c)
            ar << (pRow != nullptr ? pRow->m_strCell[c] : s_strEmpty);
    }
    StorePrintFormList(ar, m_aPrintForms);
}
