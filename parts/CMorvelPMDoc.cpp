#include "parts/CMorvelPMDoc.h"

#include "app/CMorvelApp.h"
#include "app/CMorvelSettings.h"
#include "app/SharedRecords.h"
#include "estimate/engine/CGridRow.h"
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
    : m_nZoom(100), m_nRowsRead(0), m_nRowLimit(DEFAULT_ROW_LIMIT), m_logFont{}, m_crText(0),
      m_crBack(RGB(255, 255, 255))
{
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

CGridRow* CMorvelPMDoc::GetRow(int nRow) const
{
    if (nRow < 0 || static_cast<size_t>(nRow) >= m_aRows.size())
        return nullptr;
    return m_aRows[static_cast<size_t>(nRow)].get();
}

BOOL CMorvelPMDoc::ExtendRowsInUse(int nRows)
{
    if (m_nRowsInUse >= nRows)
        return FALSE;
    m_nRowsInUse = nRows;
    return TRUE;
}

void CMorvelPMDoc::ReduceRowsInUse(int nRows)
{
    nRows = std::max(0, nRows);
    if (m_nRowsInUse <= nRows)
        return;
    m_nRowsInUse = nRows;
    if (m_aRows.size() > static_cast<size_t>(nRows))
        m_aRows.resize(static_cast<size_t>(nRows));
}

BOOL CMorvelPMDoc::SetCell(int nRow, int nCol, const CString& strText)
{
    if (nRow < 0 || nCol < 0 || nCol >= MAX_COLUMNS)
        return FALSE;
    const size_t nIndex = static_cast<size_t>(nRow);
    if (nIndex >= m_aRows.size())
        m_aRows.resize(nIndex + 1);
    if (!m_aRows[nIndex])
        m_aRows[nIndex] = std::make_unique<CGridRow>();
    m_aRows[nIndex]->SetCell(nCol, strText);
    return ExtendRowsInUse(nRow + 1);
}

void CMorvelPMDoc::AllocateRows(int nCount)
{
    for (int i = 0; i < nCount; ++i)
        m_aRows.push_back(std::make_unique<CGridRow>());
}

void CMorvelPMDoc::InsertEmptyRows(int nRow, int nCount)
{
    if (nRow < 0 || nCount <= 0)
        return;
    const size_t nIndex = static_cast<size_t>(nRow);
    if (m_aRows.size() < nIndex)
        m_aRows.resize(nIndex);
    // The new rows stay unallocated (empty) until a cell of theirs is written.
    std::vector<std::unique_ptr<CGridRow>> fresh(static_cast<size_t>(nCount));
    m_aRows.insert(m_aRows.begin() + nRow, std::make_move_iterator(fresh.begin()),
                   std::make_move_iterator(fresh.end()));
    m_nRowsInUse = std::max(m_nRowsInUse + nCount, nRow + nCount);
}

BOOL CMorvelPMDoc::RemoveRowAt(int nRow)
{
    if (nRow < 0 || static_cast<size_t>(nRow) >= m_aRows.size())
        return FALSE;
    m_aRows.erase(m_aRows.begin() + nRow);
    m_nRowsInUse = std::max(0, m_nRowsInUse - 1);
    return TRUE;
}

BOOL CMorvelPMDoc::ReorderRows(int nTop, const std::vector<int>& aOrder)
{
    const int nCount = static_cast<int>(aOrder.size());
    if (nTop < 0)
        return FALSE;
    std::vector<bool> bNamed(aOrder.size(), false);
    for (int nFrom : aOrder) {
        if (nFrom < nTop || nFrom - nTop >= nCount || bNamed[static_cast<size_t>(nFrom - nTop)])
            return FALSE;
        bNamed[static_cast<size_t>(nFrom - nTop)] = true;
    }
    const size_t nEnd = static_cast<size_t>(nTop) + aOrder.size();
    if (m_aRows.size() < nEnd)
        m_aRows.resize(nEnd);
    std::vector<std::unique_ptr<CGridRow>> taken(aOrder.size());
    for (size_t i = 0; i < aOrder.size(); ++i)
        taken[i] = std::move(m_aRows[static_cast<size_t>(aOrder[i])]);
    std::move(taken.begin(), taken.end(), m_aRows.begin() + nTop);
    return TRUE;
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
    const int nFirst = std::max(0, m_nRowsInUse);
    if (m_aRows.size() < static_cast<size_t>(nFirst))
        m_aRows.resize(static_cast<size_t>(nFirst));
    m_aRows.insert(m_aRows.begin() + nFirst, std::make_move_iterator(rows.begin()),
                   std::make_move_iterator(rows.end()));
    m_nRowsInUse = nFirst + static_cast<int>(rows.size());
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
        if (auto* pView = dynamic_cast<CMorvelPMView*>(GetNextView(pos))) {
            if (m_nRowsInUse > pView->GetRowLimit())
                pView->GrowRowLimit(m_nRowsInUse);
            m_nRowLimit = std::max(m_nRowLimit, pView->GetRowLimit());
        }
    }
    UpdateAllViews(nullptr);
    return nFirst;
}

// ---------------------------------------------------------------------------------------
// New, open, save

BOOL CMorvelPMDoc::OnNewDocument()
{
    CMorvelSettings::SetWorkFolderAsCurrent();
    m_nRowsRead = 0;
    if (!CMorvelDoc::OnNewDocument())
        return FALSE;
    m_nRowLimit = RowLimitFor(ReadRowLimitSetting(), 0);
    if (const CMorvelApp* pApp = GetMorvelApp()) {
        m_strFormName = pApp->m_strPartFormFile;
        m_form = pApp->m_partForm;
    }
    return TRUE;
}

BOOL CMorvelPMDoc::OnOpenDocument(LPCTSTR lpszPathName)
{
    CMorvelSettings::SetWorkFolderAsCurrent();
    return ReadWholeFile(lpszPathName, "部材処理ﾌｧｲﾙの読み込み中..."_sj) ? TRUE : FALSE;
}

BOOL CMorvelPMDoc::OnSaveDocument(LPCTSTR lpszPathName)
{
    // More rows than the file's row count can hold: the user learns why, and neither the
    // file nor its backup is touched.
    if (!CMorvelView::CheckFileRowLimitForSave(m_nRowsInUse, lpszPathName))
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
    m_aRows = std::move(loaded.rows);
    m_nRowsRead = static_cast<int>(m_aRows.size());
    m_nRowsInUse = m_nRowsRead;
    m_nRowLimit = RowLimitFor(ReadRowLimitSetting(), m_nRowsRead);
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
    const int nRows = std::max(0, m_nRowsInUse);
    ar << CountWord(nRows);
    ar << static_cast<WORD>(nColumns);
    static const CString s_strEmpty;
    for (int r = 0; r < nRows; ++r) {
        const CGridRow* pRow = GetRow(r);
        for (int c = 0; c < nColumns; ++c)
            ar << (pRow != nullptr ? pRow->m_strCell[c] : s_strEmpty);
    }
    StorePrintFormList(ar, m_aPrintForms);
}
