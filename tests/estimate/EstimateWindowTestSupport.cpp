#include "tests/estimate/EstimateWindowTestSupport.h"

#include "app/CSplashWindow.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CNumberRules.h"
#include "estimate/EstimateRegistration.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/Cp932.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinApi.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/CPlainChildFrame.h"

#include <QApplication>
#include <QPaintEvent>
#include <QWidget>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path SamplesFolder()
{
    // The build passes the source tree's root.
    return fs::path(MORVEL_SOURCE_DIR) / "samples";
}

} // namespace

// ---------------------------------------------------------------------------------------

CEstimateTestFolder::CEstimateTestFolder()
{
    const fs::path samples = SamplesFolder();
    const fs::path root = m_dir.Native();
    for (const char* folder : {"MASTER", "FORM", "WORK"}) {
        fs::create_directories(root / folder);
        for (const auto& entry : fs::directory_iterator(samples / folder))
            fs::copy_file(entry.path(), root / folder / entry.path().filename());
    }
    fs::create_directories(root / "lock");

    m_profile.SetPath(SystemPathFromNative(Native("test.ini")));
    m_profile.WriteProfileString("Path Setting", "Work Drive", "C");
    m_profile.WriteProfileString("Path Setting", "Work Field", SystemPathFromNative(Native("WORK")));
    m_profile.WriteProfileString("Path Setting", "Estimation Form", SystemPathFromNative(Native("FORM")));
    m_profile.WriteProfileString("Path Setting", "Parts Form", SystemPathFromNative(Native("FORM")));
    m_profile.WriteProfileString("Path Setting", "Information Form", SystemPathFromNative(Native("FORM")));
    m_profile.WriteProfileString("Path Setting", "Other Form", SystemPathFromNative(Native("MASTER")));
    m_profile.WriteProfileString("Form File Name Setting", "Estimation Form Name", "meisai.MMK");
    m_profile.WriteProfileString("Form File Name Setting", "Information Form Name", "JYOUHOU.MJK");
    m_profile.WriteProfileString("Form File Name Setting", "Part Form Name", "BUZAI.MBK");
    m_profile.WriteProfileString("Input Setting", "Tax", "8");
    m_profile.WriteProfileString("Input Setting", "Direction", "1");
    m_profile.WriteProfileString("Input Setting", "Round Mode", "3");
    m_profile.WriteProfileString("Input Setting", "Backup File", "1");

    SetEnv("MORVEL_INI", Native("test.ini"));
    SetEnv("MORVEL_LOCK_DIR", Native("lock"));
    SetEnv("MORVEL_NO_SOUND", "1");
}

CEstimateTestFolder::~CEstimateTestFolder()
{
    for (const auto& [name, value] : m_savedEnv) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
}

void CEstimateTestFolder::SetEnv(const char* name, const std::string& value)
{
    if (m_savedEnv.count(name) == 0) {
        const char* old = std::getenv(name);
        m_savedEnv[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    setenv(name, value.c_str(), 1);
}

std::string CEstimateTestFolder::Native(const std::string& relative) const
{
    return relative.empty() ? m_dir.Native() : m_dir.Native() + "/" + relative;
}

CString CEstimateTestFolder::System(const std::string& relative) const
{
    return SystemPathFromNative(Native(relative));
}

CString CEstimateTestFolder::SampleEstimate() const
{
    return System("WORK") + "\\" + "サンプル見積.MMD"_sj;
}

// ---------------------------------------------------------------------------------------

EstimateWindowTest::EstimateWindowTest() : m_savedServices(CShellServices::Get()) {}

EstimateWindowTest::~EstimateWindowTest()
{
    CShellServices::Get() = m_savedServices;
    CSplashWindow::EnableSplash(TRUE);
}

void EstimateWindowTest::SetUp()
{
    m_pFolder = std::make_unique<CEstimateTestFolder>();
    WriteSettings(m_pFolder->Profile());
    RegisterEstimate();
    // The grid is tested without the estimate tools (no subject tree), so estimates open in
    // a plain document window around the grid.
    CShellServices::Get().documentClasses[IDR_MORVELTYPE].pFrameClass = RUNTIME_CLASS(CPlainChildFrame);
    m_pApp = std::make_unique<CMorvelApp>();
    m_pApp->SetCommandLine(std::vector<CString>{"/nosplash"});
    ASSERT_TRUE(m_pApp->InitInstance());
    ASSERT_NE(m_pApp->m_pMainWnd, nullptr);
    // A screen of a usual size, so that a page of rows and several columns show.
    m_pApp->m_pMainWnd->MoveWindow(0, 0, 1280, 900);
    Pump();
}

void EstimateWindowTest::TearDown()
{
    if (m_pApp && m_pApp->m_pMainWnd != nullptr) {
        if (m_pApp->m_pMainWnd->GetSafeHwnd() != nullptr)
            m_pApp->m_pMainWnd->DestroyWindow();
        m_pApp->m_pMainWnd = nullptr;
    }
    m_pView = nullptr;
    m_pDoc = nullptr;
    m_pApp.reset();
    m_pFolder.reset();
}

CMorvelEMView* EstimateWindowTest::OpenEstimate(const CString& path)
{
    m_pDoc = dynamic_cast<CMorvelEMDoc*>(m_pApp->OpenDocumentFile(path));
    m_pView = m_pDoc != nullptr ? m_pDoc->GetEstimateView() : nullptr;
    Pump();
    if (m_pView != nullptr)
        m_pView->SetFocus();
    return m_pView;
}

CMorvelEMView* EstimateWindowTest::OpenSample()
{
    if (OpenEstimate(m_pFolder->SampleEstimate()) == nullptr)
        return nullptr;
    Click(0, 0);
    return m_pView;
}

void EstimateWindowTest::Key(UINT nVirtKey)
{
    CWnd* pFocus = CWnd::GetFocus();
    CWnd* pTarget = pFocus != nullptr ? pFocus : m_pView;
    pTarget->SendMessage(WM_KEYDOWN, nVirtKey, 1);
}

void EstimateWindowTest::KeyUp(UINT nVirtKey)
{
    CWnd* pFocus = CWnd::GetFocus();
    CWnd* pTarget = pFocus != nullptr ? pFocus : m_pView;
    pTarget->SendMessage(WM_KEYUP, nVirtKey, static_cast<LPARAM>(0xC0000001u));
}

void EstimateWindowTest::Type(const CString& text)
{
    // The keyboard gives a double-byte character as two character messages to the window
    // that has the focus when the character is typed.
    for (int i = 0; i < text.GetLength();) {
        CWnd* pFocus = CWnd::GetFocus();
        const HWND hTarget = pFocus != nullptr ? pFocus->m_hWnd : m_pView->m_hWnd;
        const int nBytes = IsCp932LeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.GetLength() ? 2 : 1;
        for (int j = 0; j < nBytes; ++j)
            ::SendMessage(hTarget, WM_CHAR, static_cast<BYTE>(text[i + j]), 1);
        i += nBytes;
    }
}

CPoint EstimateWindowTest::CellPoint(int nCol, int nRow) const
{
    CRect rc;
    m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
    return CPoint(rc.left + 3, rc.top + 3);
}

void EstimateWindowTest::Click(int nCol, int nRow)
{
    const CPoint pt = CellPoint(nCol, nRow);
    const LPARAM lParam = MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    m_pView->SendMessage(WM_LBUTTONUP, 0, lParam);
}

void EstimateWindowTest::DoubleClick(int nCol, int nRow)
{
    const CPoint pt = CellPoint(nCol, nRow);
    const LPARAM lParam = MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    m_pView->SendMessage(WM_LBUTTONUP, 0, lParam);
    m_pView->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, lParam);
    m_pView->SendMessage(WM_LBUTTONUP, 0, lParam);
}

void EstimateWindowTest::GoTo(int nCol, int nRow)
{
    m_pView->ClickCell(nCol, nRow);
    Click(nCol, nRow);
}

void EstimateWindowTest::FillToTheFileRowLimit()
{
    m_pView->SetRowLimit(CMorvelView::MAX_FILE_ROWS + 1000);
    m_pView->GetModel().RestoreUsedRows(CMorvelView::MAX_FILE_ROWS);
}

std::vector<BYTE> EstimateWindowTest::StoredState() const
{
    if (m_pView->GetUsedRows() > CMorvelView::MAX_FILE_ROWS) {
        ADD_FAILURE() << m_pView->GetUsedRows() << " rows: more than the file can hold";
        return {};
    }
    std::vector<BYTE> bytes = SavedBytes();
    for (int n : {m_pView->GetUsedRows(), m_pView->GetCurrentRow(), IsModified() ? 1 : 0})
        bytes.insert(bytes.end(), reinterpret_cast<const BYTE*>(&n), reinterpret_cast<const BYTE*>(&n + 1));
    return bytes;
}

std::vector<BYTE> EstimateWindowTest::SavedBytes() const
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        m_pDoc->Serialize(ar);
        ar.Close();
    }
    return file.GetData();
}

void EstimateWindowTest::Command(UINT nID)
{
    AfxGetMainWnd()->SendMessage(WM_COMMAND, nID, 0);
    Pump();
}

void EstimateWindowTest::Pump()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

double EstimateWindowTest::Value(int nRow, int nCol) const
{
    return CNumberRules::ReadNumber(m_pView->GetCellText(nRow, nCol));
}

BOOL EstimateWindowTest::EditorVisible() const
{
    return m_pView->HasCellEdit() && m_pView->GetCellEdit().IsWindowVisible();
}

double SumDetailAmounts(const CMorvelEMView& view, int nFirstRow, int nLastRow)
{
    double sum = 0;
    for (int r = nFirstRow; r <= nLastRow; ++r) {
        if (view.GetRowKind(r) == kindDetail)
            sum += CNumberRules::ReadNumber(view.GetCellText(r, scAmount));
    }
    return sum;
}

// ---------------------------------------------------------------------------------------

CDrawnCells::CDrawnCells(CMorvelEMView& view) : m_view(view)
{
    view.GetClientWidget()->installEventFilter(this);
}

CDrawnCells::~CDrawnCells()
{
    if (QWidget* pWidget = m_view.GetClientWidget())
        pWidget->removeEventFilter(this);
}

CString CDrawnCells::Shown(int nRow, int nCol) const
{
    CString strShown;
    strShown.Format("%d|", static_cast<int>(m_view.GetRowKind(nRow)));
    return strShown + m_view.GetSubjectNoText(nRow, nCol) + "|" + m_view.GetCellText(nRow, nCol);
}

CRect CDrawnCells::CellsInView() const
{
    CRect rcGrid;
    m_view.GetGridClientRect(&rcGrid);
    const CPoint first = m_view.GetFirstVisibleCell();
    CRect cells(std::max(0, static_cast<int>(first.x)), std::max(0, static_cast<int>(first.y)), -1, -1);
    for (int r = cells.top; r < m_view.GetRowLimit(); ++r) {
        CRect rc;
        m_view.GetCellRangeRect(0, r, 0, r, &rc);
        if (rc.top >= rcGrid.bottom)
            break;
        cells.bottom = r;
    }
    for (int c = cells.left; c < m_view.GetColumnCount(); ++c) {
        CRect rc;
        m_view.GetCellRangeRect(c, cells.top, c, cells.top, &rc);
        if (rc.left >= rcGrid.right)
            break;
        cells.right = c;
    }
    return cells;
}

bool CDrawnCells::eventFilter(QObject* /*pObject*/, QEvent* pEvent)
{
    // Seen before the grid paints: the view gives what the paint is about to draw.
    if (pEvent->type() != QEvent::Paint)
        return false;
    const QRegion& region = static_cast<QPaintEvent*>(pEvent)->region();
    const CRect cells = CellsInView();
    for (int r = cells.top; r <= cells.bottom; ++r) {
        for (int c = cells.left; c <= cells.right; ++c) {
            CRect rc;
            m_view.GetCellRangeRect(c, r, c, r, &rc);
            if (m_view.GetColumnWidth(c) > 0 &&
                region.intersects(QRect(rc.left, rc.top, rc.Width(), rc.Height())))
                m_drawn[{r, c}] = Shown(r, c);
        }
    }
    return false;
}

std::vector<std::string> CDrawnCells::StaleCells() const
{
    std::vector<std::string> stale;
    const CRect cells = CellsInView();
    for (int r = cells.top; r <= cells.bottom; ++r) {
        for (int c = cells.left; c <= cells.right; ++c) {
            if (m_view.GetColumnWidth(c) <= 0)
                continue;
            const CString strNow = Shown(r, c);
            const auto it = m_drawn.find({r, c});
            if (it == m_drawn.end() || it->second != strNow)
                stale.push_back("row " + std::to_string(r) + " column " + std::to_string(c) + ": drawn " +
                                (it == m_drawn.end() ? std::string("nothing") : it->second.ToUtf8()) +
                                " now " + strNow.ToUtf8());
        }
    }
    return stale;
}
