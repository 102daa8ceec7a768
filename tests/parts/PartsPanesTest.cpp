// The panes of one parts window and the window in the main window: splitting keeps the
// rows in use, a resized column reaches every pane and the saved form, the panes of a pane
// row or column scroll together, the new window is the active one with its title, rows
// registered from an estimate arrive in an open list, and the zoom box and the status panes
// follow the active window between an estimate and a list.
#include "tests/parts/PartsWindowFixture.h"

#include "app/CMainFrame.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CSplitterWnd.h"
#include "resources/EstimateCommandIds.h"
#include "resources/EstimateEditIds.h"
#include "resources/EstimateIoIds.h"
#include "tests/estimate_tools/EstimateIoTestSupport.h"
#include "tests/parts/PartsTestSupport.h"

#include <QWidget>

#include <algorithm>

namespace {

namespace fs = std::filesystem;

class PartsPanesTest : public PartsWindowTest {
protected:
    void SetUp() override
    {
        PartsWindowTest::SetUp();
        RegisterEstimateTools();
        ASSERT_NE(nullptr, OpenSample());
    }
    CSplitterWnd& Splitter() { return static_cast<CChildPMFrame*>(m_pView->GetParentFrame())->m_wndSplitter; }
    CMorvelPMView* Pane(int nRow, int nCol)
    {
        return dynamic_cast<CMorvelPMView*>(Splitter().GetPane(nRow, nCol));
    }
    // Drags the split box at the top of the vertical bar down to y, or the one at the left
    // of the horizontal bar right to x.
    void DragSplitBox(bool bRows, int nTo)
    {
        CSplitterWnd& splitter = Splitter();
        CRect rc;
        splitter.GetClientRect(&rc);
        const int x = rc.right - ::GetSystemMetrics(SM_CXVSCROLL) / 2;
        const int y = rc.bottom - ::GetSystemMetrics(SM_CYHSCROLL) / 2;
        const LPARAM lPress = bRows ? MAKELPARAM(x, 2) : MAKELPARAM(2, y);
        const LPARAM lRelease = bRows ? MAKELPARAM(x, nTo) : MAKELPARAM(nTo, y);
        splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lPress);
        splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, lRelease);
        splitter.SendMessage(WM_LBUTTONUP, 0, lRelease);
        Pump();
    }
    void TypeInto(int nRow, const char* lpszText)
    {
        Click(0, nRow);
        Type(lpszText);
        EditorKey(VK_RETURN);
        Pump();
    }
    // The rows the list's file holds, read by a document of its own.
    int RowsInFile()
    {
        CMorvelPMDoc doc;
        return doc.OnOpenDocument(m_pDoc->GetPathName()) ? doc.GetRowsInUse() : -1;
    }
    size_t CsvLines()
    {
        const std::string native = m_dir.NativeFile("WORK/out.csv");
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(SystemPathFromNative(native));
        answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
        Command(ID_TEXT_OUTPUT);
        const auto bytes = ReadNativeFile(native);
        return static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    }
    // The sample estimate opened beside the list: its grid.
    CMorvelEMView* OpenSampleEstimate()
    {
        auto* pEstimate = dynamic_cast<CMorvelEMDoc*>(m_pApp->OpenDocumentFile(WorkFile("サンプル見積.MMD")));
        CMorvelEMView* pGrid = nullptr;
        POSITION pos = pEstimate != nullptr ? pEstimate->GetFirstViewPosition() : nullptr;
        while (pos != nullptr && pGrid == nullptr)
            pGrid = dynamic_cast<CMorvelEMView*>(pEstimate->GetNextView(pos));
        return pGrid;
    }
    CMainFrame* MainFrame() { return dynamic_cast<CMainFrame*>(m_pApp->m_pMainWnd); }
    std::string Title(CWnd* pWnd)
    {
        CString str;
        pWnd->GetWindowText(str);
        return str.ToUtf8();
    }
    std::string StatusPane()
    {
        CMainFrame* pFrame = MainFrame();
        CString str;
        pFrame->GetStatusBar().GetPaneText(pFrame->GetStatusBar().CommandToIndex(ID_INDICATOR_PANE1), str);
        return str.ToUtf8();
    }
    // 1 enabled, 0 disabled, as the main window's menu would show the command.
    int MenuEnabled(UINT nID)
    {
        CEnableRecorder cmdUI;
        cmdUI.m_nID = nID;
        cmdUI.DoUpdate(m_pApp->m_pMainWnd, TRUE);
        return cmdUI.m_nEnabled;
    }
};

} // namespace

TEST_F(PartsPanesTest, SplittingEitherWayKeepsTheRowsTypedBeforeInTheFileAndTheCsv)
{
    TypeInto(5, "bolt");
    DragSplitBox(false, 300);
    ASSERT_EQ(2, Splitter().GetColumnCount());
    EXPECT_EQ(6, Pane(0, 1)->GetUsedRows());
    EXPECT_NE(std::string::npos, StatusPane().find("最大行 6"));
    ASSERT_TRUE(m_pDoc->OnSaveDocument(m_pDoc->GetPathName()));
    EXPECT_EQ(6, RowsInFile());

    TypeInto(6, "nut");
    DragSplitBox(true, 200);
    ASSERT_EQ(2, Splitter().GetRowCount());
    EXPECT_EQ(7, Pane(1, 1)->GetUsedRows());
    EXPECT_EQ(7u, CsvLines());
    ASSERT_TRUE(m_pDoc->OnSaveDocument(m_pDoc->GetPathName()));
    EXPECT_EQ(7, RowsInFile());
}

TEST_F(PartsPanesTest, AnEditInOnePaneIsUndoneAndRedoneInAnother)
{
    DragSplitBox(false, 300);
    ASSERT_EQ(2, Splitter().GetColumnCount());
    const auto before = AllCells();
    m_pView = Pane(0, 1);
    TypeInto(1, "bolt");
    const auto typed = AllCells();
    ASSERT_NE(before, typed);
    // The list's one undo: the other pane takes the edit back and does it again.
    m_pView = Pane(0, 0);
    ASSERT_EQ(1, Enabled(ID_EDIT_UNDO));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(before, AllCells());
    ASSERT_EQ(1, Enabled(ID_EDIT_REDO));
    Command(ID_EDIT_REDO);
    EXPECT_EQ(typed, AllCells());
}

TEST_F(PartsPanesTest, AResizedColumnReachesEveryPaneAndTheFormAndComesBackFromTheFile)
{
    DragSplitBox(false, 400);
    ASSERT_NE(nullptr, Pane(0, 1));
    // The border of the name column (200 pixels) dragged in the title header to 125.
    const int x = m_pView->GetMetrics().nRowHeaderWidth + 200;
    m_pView->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, 10));
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10));
    m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x - 76, 10));
    m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x - 76, 10));
    EXPECT_EQ(125, m_pView->GetBaseColumnWidth(0));
    EXPECT_EQ(125, Pane(0, 1)->GetColumnWidth(0));
    EXPECT_EQ("12", m_pDoc->m_form.GetItem(0, 2).str());

    ASSERT_TRUE(m_pDoc->OnSaveDocument(m_pDoc->GetPathName()));
    m_pDoc->OnCloseDocument();
    Pump();
    ASSERT_NE(nullptr, OpenSample());
    EXPECT_EQ(120, m_pView->GetBaseColumnWidth(0));
}

TEST_F(PartsPanesTest, ThePanesOfAPaneRowOrColumnScrollTogether)
{
    m_pView->SendMessage(WM_COMMAND, ID_ZOOM_200, 0);
    DragSplitBox(true, 300);
    DragSplitBox(false, 500);
    ASSERT_EQ(2, Splitter().GetRowCount());
    ASSERT_EQ(2, Splitter().GetColumnCount());
    CMorvelPMView* pTopLeft = Pane(0, 0);
    const auto first = [&](int r, int c) { return Pane(r, c)->GetFirstVisibleCell(); };

    // The wheel: the pane beside follows, the one below does not.
    pTopLeft->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(100, 100));
    EXPECT_EQ(1, first(0, 1).y);
    EXPECT_EQ(0, first(1, 0).y);

    // Page Down in the lower-right pane moves the lower-left one with it.
    Pane(1, 1)->SendMessage(WM_KEYDOWN, VK_NEXT, 1);
    EXPECT_GT(first(1, 1).y, 0);
    EXPECT_EQ(first(1, 1).y, first(1, 0).y);
    EXPECT_EQ(1, first(0, 0).y);

    // A drag selection in the upper-left pane past its right and bottom edges: each tick of
    // the auto-scroll timer moves the pane below (columns) and the pane beside (rows).
    CRect rc;
    pTopLeft->GetClientRect(&rc);
    const CPoint start(pTopLeft->GetMetrics().nRowHeaderWidth + 5, pTopLeft->GetMetrics().nHeaderHeight + 5);
    pTopLeft->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    pTopLeft->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rc.right + 20, rc.bottom - 20));
    pTopLeft->SendMessage(WM_TIMER, CMorvelView::TIMER_DRAG_SCROLL, 0);
    EXPECT_GT(first(0, 0).x, 0);
    EXPECT_EQ(first(0, 0).x, first(1, 0).x);
    EXPECT_EQ(0, first(0, 1).x);
    pTopLeft->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rc.right - 20, rc.bottom + 20));
    pTopLeft->SendMessage(WM_TIMER, CMorvelView::TIMER_DRAG_SCROLL, 0);
    EXPECT_EQ(2, first(0, 0).y);
    EXPECT_EQ(2, first(0, 1).y);
    pTopLeft->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rc.right - 20, rc.bottom + 20));
}

TEST_F(PartsPanesTest, AnOpenedListIsTheActiveWindowWithItsTitleAndItsFileCommands)
{
    CMainFrame* pMain = MainFrame();
    ASSERT_NE(nullptr, pMain);
    // A second list, looked at as soon as it is open (before any focus has come to it).
    fs::copy_file(m_dir.NativeFile("WORK/部材処理.MBD"), m_dir.NativeFile("WORK/二.MBD"));
    m_pDoc = dynamic_cast<CMorvelPMDoc*>(m_pApp->OpenDocumentFile(WorkFile("二.MBD")));
    ASSERT_NE(nullptr, m_pDoc);
    m_pView = m_pDoc->GetPartsView();
    CFrameWnd* pFrame = m_pView->GetParentFrame();
    EXPECT_EQ(m_pView, pFrame->GetActiveView());
    Pump();
    EXPECT_EQ(pFrame, pMain->MDIGetActive());
    EXPECT_EQ(m_pView, pFrame->GetActiveView());
    EXPECT_EQ("二.MBD", Title(pFrame));
    const std::string strMainTitle = Title(pMain);
    for (UINT nID :
         {ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_READ_OTHER_FORM, ID_PRINT_FORM_SELECT}) {
        SCOPED_TRACE(nID);
        EXPECT_EQ(1, MenuEnabled(nID));
    }
    // The title the user sees names the list once, maximised or not, and after a save
    // through the main window's command.
    const auto shownTitle = [&] { return pMain->GetWidget()->window()->windowTitle().toStdString(); };
    const auto namedOnce = [&] {
        const std::string str = shownTitle();
        return str.find("二.MBD") != std::string::npos && str.find("二.MBD") == str.rfind("二.MBD");
    };
    EXPECT_TRUE(namedOnce()) << shownTitle();
    pMain->SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
    Pump();
    EXPECT_EQ(strMainTitle, Title(pMain));
    EXPECT_TRUE(namedOnce()) << shownTitle();
    static_cast<CMDIChildWnd*>(pFrame)->MDIRestore();
    Pump();
    EXPECT_TRUE(namedOnce()) << shownTitle();
    EXPECT_EQ(Title(pMain), shownTitle());
}

TEST_F(PartsPanesTest, RowsRegisteredFromAnEstimateArriveInTheOpenListAndStayThroughItsSave)
{
    TypeInto(5, "kept");
    CMorvelEMView* pGrid = OpenSampleEstimate();
    ASSERT_NE(nullptr, pGrid);
    Pump();
    // Rows 2 to 4 of the estimate selected in its row headers and registered.
    CRect rcFirst, rcLast;
    pGrid->GetCellRangeRect(0, 2, 0, 2, &rcFirst);
    pGrid->GetCellRangeRect(0, 4, 0, 4, &rcLast);
    const int x = pGrid->GetMetrics().nRowHeaderWidth / 2;
    pGrid->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, rcFirst.top + 3));
    pGrid->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, rcLast.top + 3));
    pGrid->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, rcLast.top + 3));
    {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(m_pDoc->GetPathName());
        answerer.AnswerMessageBox("実行してもよいですか？"_sj, IDYES);
        pGrid->SendMessage(WM_COMMAND, ID_PARTS_REGISTER, 0);
        EXPECT_EQ(0, answerer.CountUnanswered());
    }
    Pump();
    // The open list holds its own unsaved row and the three registered ones after it; its
    // window comes to the front with them selected.
    EXPECT_EQ(9, m_pDoc->GetRowsInUse());
    EXPECT_EQ("kept", Cell(5, 0));
    EXPECT_FALSE((Cell(6, 0) + Cell(7, 0) + Cell(8, 0)).empty());
    EXPECT_EQ(m_pView->GetParentFrame(), MainFrame()->MDIGetActive());
    EXPECT_EQ(CRect(0, 6, m_pView->GetColumnCount() - 1, 8), m_pView->GetSelection());
    EXPECT_NE(std::string::npos, StatusPane().find("最大行 9"));
    // The file took them at once, and the list's own save keeps them.
    EXPECT_EQ(8, RowsInFile());
    ASSERT_TRUE(m_pDoc->OnSaveDocument(m_pDoc->GetPathName()));
    EXPECT_EQ(9, RowsInFile());
}

// The estimate and the parts list share the main window's zoom box and status panes: each
// window that comes to the front shows its own zoom (a user zoom in the box's last entry)
// and its own status texts, and a choice in the box zooms that window alone.
TEST_F(PartsPanesTest, TheZoomBoxAndTheStatusPanesFollowTheActiveWindowBetweenAnEstimateAndAList)
{
    CMainFrame* pMain = MainFrame();
    CComboBox& box = pMain->GetZoomBox();
    const auto shown = [&] {
        CString str;
        if (box.GetCurSel() >= 0)
            box.GetLBText(box.GetCurSel(), str);
        return str.ToUtf8();
    };
    const auto lastEntry = [&] {
        CString str;
        box.GetLBText(box.GetCount() - 1, str);
        return str.ToUtf8();
    };
    const auto amountPane = [&] {
        CString str;
        pMain->GetStatusBar().GetPaneText(pMain->GetStatusBar().CommandToIndex(ID_INDICATOR_PANE2), str);
        return str.ToUtf8();
    };
    const auto activate = [&](CView* pView) {
        pMain->MDIActivate(pView->GetParentFrame());
        Pump();
    };
    {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_ZOOM, [](CDialog& dlg) {
            TypeDlgItemText(dlg, IDC_ZOOM_PERCENT, "120");
            ClickDlgButton(dlg, IDOK);
        });
        pMain->SendMessage(WM_COMMAND, ID_ZOOM_USER, 0);
    }
    Pump();
    ASSERT_EQ("120%", shown());

    CMorvelEMView* pGrid = OpenSampleEstimate();
    ASSERT_NE(nullptr, pGrid);
    activate(pGrid);
    EXPECT_EQ("100%", shown());
    EXPECT_EQ("ﾕｰｻﾞｰ 指定...", lastEntry());
    EXPECT_NE(std::string::npos, StatusPane().find("ﾍﾟｰｼﾞ"));
    EXPECT_EQ(0u, amountPane().find("見積金額="));

    // 50 % chosen in the box while the estimate is in front.
    box.SetCurSel(1);
    box.GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ZOOM_BOX, CBN_SELCHANGE),
                                 reinterpret_cast<LPARAM>(box.m_hWnd));
    Pump();
    EXPECT_EQ(50, pGrid->GetMetrics().nZoom);
    EXPECT_EQ(120, m_pView->GetMetrics().nZoom);

    activate(m_pView);
    EXPECT_EQ("120%", shown());
    EXPECT_EQ(std::string::npos, StatusPane().find("ﾍﾟｰｼﾞ"));
    EXPECT_NE(std::string::npos, StatusPane().find("最大行"));
    EXPECT_EQ("", amountPane());

    activate(pGrid);
    EXPECT_EQ("50%", shown());
    EXPECT_EQ("ﾕｰｻﾞｰ 指定...", lastEntry());
    EXPECT_EQ(0u, amountPane().find("見積金額="));
}
