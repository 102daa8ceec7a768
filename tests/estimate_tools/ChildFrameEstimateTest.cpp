// The estimate window: the sample estimate opens with the subject tree left of the grid, the
// estimate bar (with its range-total box) and the page bar side by side; the window's own
// commands show and hide the bars and the tree, clear the estimate through the grid's cut,
// and leave the main tool bar to the main frame.
#include "tests/estimate_tools/SubjectTreeTestSupport.h"

#include "app/CMainFrame.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/controls/CTreeCtrl.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/gdi/CClientDC.h"
#include "resources/ChildFrameIds.h"
#include "resources/ResourceIds.h"
#include "tests/support/EventWait.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

// Remembers what an update handler said.
class CRecordingCmdUI : public CCmdUI {
public:
    explicit CRecordingCmdUI(UINT nID) { m_nID = nID; }
    void Enable(BOOL bOn = TRUE) override
    {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck = 1) override { check = nCheck; }
    void SetText(LPCTSTR lpszText) override { text = CString(lpszText).ToUtf8(); }
    int enabled = -1;
    int check = -1;
    std::string text;
};

// What a widget is asked to paint while it is watched.
class CPaintRecorder : public QObject {
public:
    explicit CPaintRecorder(QWidget* pWidget) : m_pWidget(pWidget) { m_pWidget->installEventFilter(this); }
    ~CPaintRecorder() override { m_pWidget->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint)
            region += static_cast<QPaintEvent*>(pEvent)->region();
        return false;
    }
    QRegion region;

private:
    QWidget* m_pWidget;
};

class ChildFrameEstimateTest : public SubjectTreeWindowTest {
protected:
    void SetUp() override
    {
        SubjectTreeWindowTest::SetUp();
        ASSERT_NE(OpenSampleWindow(), nullptr);
        ASSERT_NE(Frame(), nullptr);
        ASSERT_NE(Grid(), nullptr);
    }

    int TreeWidth() const
    {
        int cx = -1, cxMin = -1;
        Frame()->m_wndSplitter.GetColumnInfo(0, cx, cxMin);
        return cx;
    }

    // The labels of the tree that do not fit in its client area, in UTF-8.
    std::vector<std::string> CutLabels() const
    {
        CTreeCtrl& tree = Tree()->GetTreeCtrl();
        CRect rcClient;
        tree.GetClientRect(&rcClient);
        CClientDC dc(&tree);
        CFont* pOld = dc.SelectObject(tree.GetFont());
        std::vector<std::string> cut;
        for (HTREEITEM h = tree.GetRootItem(); h != nullptr; h = tree.GetNextVisibleItem(h)) {
            CRect rcLabel;
            if (tree.GetItemRect(h, &rcLabel, TRUE) &&
                rcLabel.left + dc.GetTextExtent(tree.GetItemText(h)).cx > rcClient.right)
                cut.push_back(tree.GetItemText(h).ToUtf8());
        }
        dc.SelectObject(pOld);
        return cut;
    }

    void SetTreeWidth(int cx)
    {
        Frame()->m_wndSplitter.SetColumnInfo(0, cx, 0);
        Frame()->m_wndSplitter.RecalcLayout();
        Pump();
    }

    // Every entry's label, in UTF-8.
    std::vector<std::string> Labels() const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < Tree()->GetEntryCount(); ++i)
            texts.push_back(Tree()->GetTreeCtrl().GetItemText(Tree()->GetEntry(i).hItem).ToUtf8());
        return texts;
    }

    CRecordingCmdUI Update(UINT nID) const
    {
        CRecordingCmdUI ui(nID);
        ui.DoUpdate(Frame(), TRUE);
        return ui;
    }
};

} // namespace

TEST_F(ChildFrameEstimateTest, TheSampleOpensWithTheSubjectTreeLeftOfTheActiveGrid)
{
    CChildEMFrame* pFrame = Frame();
    // Every document window opens maximised in the main window.
    EXPECT_TRUE(pFrame->GetStyle() & WS_MAXIMIZE);
    ASSERT_NE(nullptr, pFrame->GetSubWindow());
    EXPECT_TRUE(pFrame->GetSubWindow()->isMaximized());
    EXPECT_EQ(1, pFrame->m_wndSplitter.GetRowCount());
    EXPECT_EQ(2, pFrame->m_wndSplitter.GetColumnCount());
    EXPECT_EQ(m_pView, pFrame->GetGridView());
    EXPECT_NE(nullptr, Tree());
    EXPECT_EQ(m_pView, pFrame->GetActiveView());
    // At least 130 pixels, and as many as the sample's labels need.
    EXPECT_GE(TreeWidth(), CChildEMFrame::TREE_INITIAL_WIDTH);
    EXPECT_EQ(CutLabels(), std::vector<std::string>());

    CRect rcTree, rcGrid;
    Tree()->GetWindowRect(&rcTree);
    m_pView->GetWindowRect(&rcGrid);
    EXPECT_EQ(TreeWidth(), rcTree.Width());
    EXPECT_LE(rcTree.right, rcGrid.left);
    EXPECT_EQ(rcTree.top, rcGrid.top);
    EXPECT_GT(rcGrid.Width(), rcTree.Width());
}

TEST_F(ChildFrameEstimateTest, TheEstimateBarCarriesAnEmptyReadOnlyRangeTotalBoxAndThePageBarStandsBesideIt)
{
    CChildEMFrame* pFrame = Frame();
    CToolBar& bar = pFrame->m_wndEstimateBar;
    UINT nID = 0, nStyle = 0;
    int iImage = 0;
    bar.GetButtonInfo(ESTIMATEBAR_RANGE_TOTAL_INDEX, nID, nStyle, iImage);
    EXPECT_EQ(IDC_RANGE_TOTAL, nID);
    EXPECT_TRUE(nStyle & TBBS_SEPARATOR);
    EXPECT_EQ(100, iImage);

    CRichEditCtrl& box = pFrame->m_wndRangeTotal;
    ASSERT_NE(nullptr, box.GetSafeHwnd());
    EXPECT_EQ(static_cast<int>(IDC_RANGE_TOTAL), box.GetDlgCtrlID());
    EXPECT_EQ(&bar, box.GetParent());
    EXPECT_TRUE(box.GetStyle() & ES_READONLY);
    CString strText;
    box.GetWindowText(strText);
    EXPECT_TRUE(strText.IsEmpty());

    CString strTitle;
    bar.GetWindowText(strTitle);
    EXPECT_EQ("見積ﾊﾞｰ ", strTitle.ToUtf8());
    pFrame->m_wndPageBar.GetWindowText(strTitle);
    EXPECT_EQ("見積ﾍﾟｰｼﾞﾊﾞｰ", strTitle.ToUtf8());

    // One row at the top: the page bar right of the estimate bar.
    EXPECT_EQ(pFrame->GetBarRow(&bar), pFrame->GetBarRow(&pFrame->m_wndPageBar));
    CRect rcBar, rcPageBar;
    bar.GetWindowRect(&rcBar);
    pFrame->m_wndPageBar.GetWindowRect(&rcPageBar);
    EXPECT_EQ(rcBar.top, rcPageBar.top);
    EXPECT_GE(rcPageBar.left, rcBar.right - 1);
}

TEST_F(ChildFrameEstimateTest, HidingTheSubjectListAndShowingItAgainGivesTheTreeTwoHundredPixels)
{
    EXPECT_EQ("科目ﾘｽﾄｳｨﾝﾄﾞｳ非表示(&H)", Update(ID_VIEW_SUBJECT_LIST).text);
    Command(ID_VIEW_SUBJECT_LIST);
    EXPECT_EQ(0, Frame()->m_nSubjectList);
    EXPECT_EQ(0, TreeWidth());
    EXPECT_EQ("科目ﾘｽﾄｳｨﾝﾄﾞｳ表示(&H)", Update(ID_VIEW_SUBJECT_LIST).text);

    Command(ID_VIEW_SUBJECT_LIST);
    EXPECT_EQ(1, Frame()->m_nSubjectList);
    EXPECT_GE(TreeWidth(), CChildEMFrame::TREE_SHOWN_WIDTH);
    EXPECT_EQ(CutLabels(), std::vector<std::string>());
    CRect rcTree;
    Tree()->GetWindowRect(&rcTree);
    EXPECT_EQ(TreeWidth(), rcTree.Width());
}

// In a pane too narrow for its labels the tree cuts names, never a figure: each amount
// stays whole behind "…". Wide again, or shown again after hiding, the labels are whole.
TEST_F(ChildFrameEstimateTest, ANarrowTreeElidesNamesAndKeepsEveryAmountWhole)
{
    CTreeCtrl& tree = Tree()->GetTreeCtrl();
    const auto labels = [&] {
        std::vector<std::string> texts;
        for (int i = 0; i < Tree()->GetEntryCount(); ++i)
            texts.push_back(tree.GetItemText(Tree()->GetEntry(i).hItem).ToUtf8());
        return texts;
    };
    const std::vector<std::string> whole = labels();
    ASSERT_NE(whole[2].find("   \\"), std::string::npos) << whole[2];

    // The pane opened as wide as its labels need; a little narrower, the longest give way.
    const int cxWhole = TreeWidth();
    Frame()->m_wndSplitter.SetColumnInfo(0, cxWhole - 40, 0);
    Frame()->m_wndSplitter.RecalcLayout();
    Pump();
    EXPECT_EQ(CutLabels(), std::vector<std::string>());
    const std::vector<std::string> narrow = labels();
    int nElided = 0;
    for (size_t i = 1; i < whole.size(); ++i) {
        const size_t nAmount = whole[i].find("   \\");
        if (nAmount == std::string::npos || narrow[i] == whole[i])
            continue;
        ++nElided;
        const std::string amount = whole[i].substr(nAmount);
        const std::string tail = "…" + amount;
        ASSERT_GE(narrow[i].size(), tail.size()) << narrow[i];
        EXPECT_EQ(narrow[i].substr(narrow[i].size() - tail.size()), tail);
    }
    EXPECT_GT(nElided, 0);

    WidenTree(m_pView);
    EXPECT_EQ(labels(), whole);
    Frame()->m_wndSplitter.SetColumnInfo(0, cxWhole - 40, 0);
    Frame()->m_wndSplitter.RecalcLayout();
    Command(ID_VIEW_SUBJECT_LIST);
    Command(ID_VIEW_SUBJECT_LIST);
    Pump();
    EXPECT_EQ(labels(), whole) << "shown again, the pane makes room";
}

// However narrow the pane, every label fits it and shows its amount whole or not at all: a
// cut amount ("諸経費   \1,…") would read as another figure, and an amount without a name
// says nothing.
TEST_F(ChildFrameEstimateTest, AtEveryWidthALabelShowsItsAmountWholeOrNotAtAll)
{
    const std::string ellipsis = "…";
    const std::vector<std::string> whole = Labels();
    // The toolkit draws the labels: as it measures them, none reaches past the pane either.
    const QScrollBar* pAcross =
        static_cast<QAbstractScrollArea*>(Tree()->GetTreeCtrl().GetWidget())->horizontalScrollBar();
    int nWithoutAmount = 0;
    for (int cx = TreeWidth(); cx >= 150; cx -= 10) {
        SCOPED_TRACE(cx);
        SetTreeWidth(cx);
        EXPECT_EQ(CutLabels(), std::vector<std::string>());
        EXPECT_EQ(0, pAcross->maximum());
        const std::vector<std::string> shown = Labels();
        for (size_t i = 1; i < whole.size(); ++i) {
            if (shown[i] == whole[i])
                continue;
            // The name cut, a character of it at least, and the amount whole.
            const size_t nAmount = whole[i].find("   \\");
            const std::string tail = nAmount != std::string::npos ? ellipsis + whole[i].substr(nAmount) : "";
            if (!tail.empty() && shown[i].ends_with(tail)) {
                EXPECT_GT(shown[i].size(), tail.size()) << shown[i];
                continue;
            }
            // The amount left out: the head of the name and "…".
            ++nWithoutAmount;
            ASSERT_TRUE(shown[i].ends_with(ellipsis)) << shown[i];
            EXPECT_TRUE(whole[i].starts_with(shown[i].substr(0, shown[i].size() - ellipsis.size())))
                << shown[i];
            EXPECT_EQ(std::string::npos, shown[i].find('\\')) << shown[i];
        }
    }
    EXPECT_GT(nWithoutAmount, 0);
}

// An edit in a narrow pane sets again only the labels whose amounts it changed, fitted as a
// fit of every label would fit them, and the tree repaints those alone.
TEST_F(ChildFrameEstimateTest, AnEditInANarrowTreeRefitsAndRepaintsOnlyTheLabelsItChanged)
{
    CTreeCtrl& tree = Tree()->GetTreeCtrl();
    const int cxNarrow = TreeWidth() - 40;
    SetTreeWidth(cxNarrow);
    const std::vector<std::string> before = Labels();
    GoTo(scQty, srFirstDetail);
    TypeUtf8("３１７");
    Pump();

    CPaintRecorder painted(static_cast<QAbstractScrollArea*>(tree.GetWidget())->viewport());
    Key(VK_RETURN);
    Pump();
    const std::vector<std::string> after = Labels();
    QRegion changed;
    for (size_t i = 0; i < after.size(); ++i) {
        if (after[i] == before[i])
            continue;
        CRect rcItem;
        ASSERT_TRUE(tree.GetItemRect(Tree()->GetEntry(static_cast<int>(i)).hItem, &rcItem, FALSE));
        changed += QRect(rcItem.left, rcItem.top, rcItem.Width(), rcItem.Height());
    }
    ASSERT_FALSE(changed.isEmpty());
    EXPECT_TRUE(painted.region.subtracted(changed).isEmpty())
        << "painted " << painted.region.boundingRect().width() << " x "
        << painted.region.boundingRect().height();
    EXPECT_EQ(CutLabels(), std::vector<std::string>());

    SetTreeWidth(cxNarrow + 30);
    SetTreeWidth(cxNarrow);
    EXPECT_EQ(Labels(), after);
}

// The input method opens its candidate list at the cursor rectangle the toolkit gives it in
// the window's coordinates: the cell being typed into, wherever the grid moved in its window
// while it held the keyboard. At start-up the program gives the grid the keyboard, the
// subject tree then widens, and only then does the desktop activate the window; an estimate
// window that is not maximised may be dragged to another place.
TEST_F(ChildFrameEstimateTest, TheInputMethodIsToldTheCellOfTheGridWhereverTheGridMoved)
{
    QWidget* pTop = m_pApp->m_pMainWnd->GetWidget();
    QWidget* pGrid = m_pView->GetClientWidget();
    const auto activate = [](QWidget* pWindow) {
        pWindow->windowHandle()->requestActivate();
        return WaitUntil([pWindow] { return QGuiApplication::focusWindow() == pWindow->windowHandle(); },
                         "the desktop to activate the window");
    };
    const auto candidatesAtTheCell = [&] {
        CRect rcCell;
        m_pView->GetCellRangeRect(scSpec, srFirstDetail, scSpec, srFirstDetail, &rcCell);
        const QRect cell(pGrid->mapTo(pTop, QPoint(rcCell.left, rcCell.top)),
                         QSize(rcCell.Width(), rcCell.Height()));
        QInputMethodEvent preedit(QString::fromUtf8("みつもり"), {});
        QCoreApplication::sendEvent(pGrid, &preedit);
        const QPoint at = QGuiApplication::inputMethod()->cursorRectangle().toRect().topLeft();
        QInputMethodEvent cancel(QString(), {});
        QCoreApplication::sendEvent(pGrid, &cancel);
        return cell.contains(at);
    };
    QWidget elsewhere;
    elsewhere.show();
    ASSERT_TRUE(activate(&elsewhere));
    m_pView->SetFocus();
    ASSERT_EQ(QApplication::focusWidget(), pGrid);
    Command(ID_VIEW_SUBJECT_LIST);
    ASSERT_TRUE(activate(pTop));
    GoTo(scSpec, srFirstDetail);
    EXPECT_TRUE(candidatesAtTheCell()) << "after the desktop activated the window";

    QMdiSubWindow* pChild = pTop->findChild<QMdiArea*>()->activeSubWindow();
    ASSERT_NE(pChild, nullptr);
    pChild->showNormal();
    pChild->setGeometry(40, 30, 700, 500);
    m_pView->SetFocus();
    Pump();
    ASSERT_EQ(QGuiApplication::focusObject(), pGrid);
    pChild->move(120, 90);
    Pump();
    EXPECT_TRUE(candidatesAtTheCell()) << "after the window was dragged";
}

TEST_F(ChildFrameEstimateTest, TheBarCommandsShowAndHideTheirBarsAndTickTheVisibleOnes)
{
    CChildEMFrame* pFrame = Frame();
    EXPECT_EQ(1, Update(ID_VIEW_ESTIMATEBAR).check);
    EXPECT_EQ(1, Update(ID_VIEW_ESTIMATE_PAGEBAR).check);

    Command(ID_VIEW_ESTIMATEBAR);
    EXPECT_FALSE(pFrame->m_wndEstimateBar.GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(pFrame->m_wndPageBar.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(0, Update(ID_VIEW_ESTIMATEBAR).check);

    Command(ID_VIEW_ESTIMATE_PAGEBAR);
    EXPECT_FALSE(pFrame->m_wndPageBar.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(0, Update(ID_VIEW_ESTIMATE_PAGEBAR).check);

    Command(ID_VIEW_ESTIMATEBAR);
    Command(ID_VIEW_ESTIMATE_PAGEBAR);
    EXPECT_TRUE(pFrame->m_wndEstimateBar.GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(pFrame->m_wndPageBar.GetStyle() & WS_VISIBLE);
}

TEST_F(ChildFrameEstimateTest, TheToolBarCommandTogglesTheMainToolBarNotTheEstimateBar)
{
    auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    ASSERT_NE(nullptr, pMain);
    EXPECT_EQ(1, Update(ID_VIEW_TOOLBAR).check);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(pMain->GetToolBar().GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(Frame()->m_wndEstimateBar.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(0, Update(ID_VIEW_TOOLBAR).check);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(pMain->GetToolBar().GetStyle() & WS_VISIBLE);
}

TEST_F(ChildFrameEstimateTest, TheSettingsCommandsStayAsTheMainFrameMakesThem)
{
    EXPECT_EQ(TRUE, Update(ID_ENVIRONMENT).enabled);
    EXPECT_EQ(TRUE, Update(ID_INTRODUCTION).enabled);
}

TEST_F(ChildFrameEstimateTest, ClearingAnEstimateWithoutRowsAsksNothing)
{
    while (m_pView->GetUsedRows() > 0)
        m_pView->DeleteRow(0);
    MessageBoxRecorder boxes(IDOK);
    Command(ID_ESTIMATE_CLEAR);
    EXPECT_TRUE(boxes.entries.empty());
    EXPECT_TRUE(Grid()->m_commands.empty());
}

TEST_F(ChildFrameEstimateTest, ClearingAsksFirstAndCancelKeepsEverything)
{
    MessageBoxRecorder boxes(IDCANCEL);
    Command(ID_ESTIMATE_CLEAR);
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ("見積明細の内容をｸﾘｱします。よろしいですか？\n（情報入力の内容は消去されません）",
              boxes.entries[0].text.ToUtf8());
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION), boxes.entries[0].type);
    EXPECT_TRUE(Grid()->m_commands.empty());
}

TEST_F(ChildFrameEstimateTest, ClearingCutsEveryUsedRowThroughTheActiveGridAndPutsTheSelectionBack)
{
    const CRect rcBefore(2, 5, 3, 6);
    m_pView->SetSelection(m_pView->GetSelectMode(), rcBefore);
    Frame()->SetActiveView(Tree());
    MessageBoxRecorder boxes(IDOK);
    Command(ID_ESTIMATE_CLEAR);
    ASSERT_EQ(1u, Grid()->m_commands.size());
    const CRecordingEMView::CCommandSeen& cut = Grid()->m_commands[0];
    EXPECT_EQ(ID_EDIT_CUT, cut.nID);
    EXPECT_EQ(CRect(0, 0, m_pView->GetColumnCount() - 1, m_pView->GetUsedRows() - 1), cut.rcSelection);
    EXPECT_EQ(1, cut.nSelectMode);
    EXPECT_TRUE(cut.bActiveView);
    EXPECT_EQ(rcBefore, m_pView->GetSelection());
    // The information sheet's values are no rows: they stay whatever the cut does.
    EXPECT_FALSE(m_pView->GetModel().GetInformation(0).IsEmpty());
}

TEST_F(ChildFrameEstimateTest, TheImportSheetSaysItIsNotAvailableYet)
{
    MessageBoxRecorder boxes(IDOK);
    Command(ID_INTRODUCTION);
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ("導入処理の画面はまだ用意されていません。", boxes.entries[0].text.ToUtf8());
}

TEST_F(ChildFrameEstimateTest, AClosingMenuIsPassedOnOnceAfterASelectionWithAMenu)
{
    auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    ASSERT_NE(nullptr, pMain);
    CStatusBar& status = pMain->GetStatusBar();
    UINT nID = 0, nStyle = 0;
    int cxBefore = 0;
    status.GetPaneInfo(0, nID, nStyle, cxBefore);

    // A menu of the window is opened: the main frame widens its message pane ...
    CMenu menu;
    menu.CreatePopupMenu();
    Frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), reinterpret_cast<LPARAM>(menu.m_hMenu));
    Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.m_hMenu), 0);
    Pump();
    int cx = 0;
    status.GetPaneInfo(0, nID, nStyle, cx);
    EXPECT_GT(cx, cxBefore);

    // ... and gets it back when the menu closes.
    Frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(0xFFFF, 0xFFFF), 0);
    Pump();
    status.GetPaneInfo(0, nID, nStyle, cx);
    EXPECT_EQ(cxBefore, cx);
    menu.DestroyMenu();
}

TEST_F(ChildFrameEstimateTest, TheImportSheetRegisteredForEstimatesRunsOverTheEstimateAndItsWindow)
{
    std::vector<std::pair<CDocument*, CWnd*>> runs;
    CShellServices::Get().runEstimateImportSheet = [&runs](CDocument* pDoc, CWnd* pParent) {
        runs.emplace_back(pDoc, pParent);
    };
    MessageBoxRecorder boxes(IDOK);
    Command(ID_INTRODUCTION);
    EXPECT_TRUE(boxes.entries.empty());
    ASSERT_EQ(1u, runs.size());
    EXPECT_EQ(static_cast<CDocument*>(m_pDoc), runs[0].first);
    EXPECT_EQ(static_cast<CWnd*>(Frame()), runs[0].second);
}

// A file that is not an estimate, opened while the sample's window is maximised: no empty
// window shows while the message is up, the wait dialog is gone by then, and the sample's
// window is still maximised afterwards.
TEST_F(ChildFrameEstimateTest, AFileThatIsNotAnEstimateLeavesTheMaximisedWindowAsItWas)
{
    auto* pMain = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    ASSERT_NE(pMain, nullptr);
    pMain->MDIMaximize(Frame());
    Pump();
    ASSERT_TRUE(Frame()->GetSubWindow()->isMaximized());
    const std::filesystem::path bad = std::filesystem::path(m_pFolder->Native("WORK")) / "NOTANESTIMATE.MMD";
    {
        std::ofstream out(bad, std::ios::binary);
        out << '\x0b' << "TEXT FILE..and more text follows";
    }
    int nVisibleWhileReported = -1;
    std::vector<CString> texts;
    bool bModelessUp = false;
    CDialogAnswerer answerer; // the message box as the program runs it, answered OK
    MessageBoxHandler previous;
    previous = SetMessageBoxHandler([&](const CString& text, UINT nType, UINT nHelp) {
        // The program's own box first (it takes the mouse from whoever holds it); what the
        // user sees meanwhile is looked at once it is answered.
        const int nResult = previous ? previous(text, nType, nHelp) : IDOK;
        texts.push_back(text);
        nVisibleWhileReported = 0;
        for (QMdiSubWindow* pSub : pMain->GetMdiArea()->subWindowList())
            nVisibleWhileReported += pSub->isVisible() ? 1 : 0;
        // Nothing but the main window is up (no wait dialog), and nothing holds the mouse.
        for (QWidget* pTop : QApplication::topLevelWidgets())
            bModelessUp = bModelessUp || (pTop->isVisible() && pTop != pMain->GetWidget()->window());
        bModelessUp = bModelessUp || CWnd::GetCapture() != nullptr;
        return nResult;
    });
    EXPECT_EQ(m_pApp->OpenDocumentFile(m_pFolder->System("WORK") + "\\NOTANESTIMATE.MMD"), nullptr);
    SetMessageBoxHandler(previous);
    Pump();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "見積ﾌｧｲﾙではありません。"_sj);
    EXPECT_EQ(nVisibleWhileReported, 1) << "only the sample's window";
    EXPECT_FALSE(bModelessUp) << "the wait dialog is gone before the message";
    EXPECT_TRUE(Frame()->GetSubWindow()->isMaximized());
}

// The status panes show the active estimate's figures as soon as it becomes active, and are
// empty once no estimate window is left.
TEST_F(ChildFrameEstimateTest, TheStatusPanesFollowTheActiveEstimateAndEmptyWhenNoneIsLeft)
{
    auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    ASSERT_NE(pMain, nullptr);
    CMorvelEMView* pSecond = OpenSecondSample();
    ASSERT_NE(pSecond, nullptr);
    // The second estimate's amount differs from the first's.
    int nDetail = 0;
    while (nDetail < pSecond->GetUsedRows() && pSecond->GetRowKind(nDetail) != kindDetail)
        ++nDetail;
    ASSERT_LT(nDetail, pSecond->GetUsedRows());
    pSecond->SetCellText("1", nDetail, 2, TRUE);
    pSecond->GetModel().Engine().CalcRow(nDetail, 0);
    pSecond->RecalcAll();
    CStatusBar& bar = pMain->GetStatusBar();
    const int nAmountPane = bar.CommandToIndex(ID_INDICATOR_PANE2);
    const int nPositionPane = bar.CommandToIndex(ID_INDICATOR_PANE1);
    ASSERT_GE(nAmountPane, 0);
    auto amount = [&] { return bar.GetPaneText(nAmountPane); };

    pMain->MDIActivate(FrameOf(pSecond));
    Pump();
    const CString strSecond = amount();
    pMain->MDIActivate(Frame());
    Pump();
    const CString strFirst = amount();
    EXPECT_NE(strFirst.Find("見積金額"_sj), -1);
    EXPECT_NE(strFirst, strSecond) << "the first estimate's own amount, without a click";
    pMain->MDIActivate(FrameOf(pSecond));
    Pump();
    EXPECT_EQ(amount(), strSecond);

    m_pApp->CloseAllDocuments(FALSE);
    Pump();
    EXPECT_EQ(amount(), "");
    EXPECT_EQ(bar.GetPaneText(nPositionPane), "");
}

namespace {

// A press, moves and a release of the left button on a window's widget, as the toolkit
// delivers those of the mouse.
// afterPress looks at the windows while the button is down.
void DragOn(QWidget* pWidget, QPoint from, QPoint to, const std::function<void()>& afterPress = {})
{
    auto send = [pWidget](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), pWidget->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        // As the window system delivers it: a press gives the focus to a widget that takes it.
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(pWidget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    if (afterPress)
        afterPress();
    send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

} // namespace

// The page, row and amount panes go on showing the estimate while the user drags the bar
// between the tree and the grid, clicks beside the bar or into the tree: the keyboard stays
// with the grid (or goes to the tree), never to the splitter.
TEST_F(ChildFrameEstimateTest, TheStatusPanesKeepTheEstimateWhileTheTreesBarIsDraggedOrTheTreeClicked)
{
    auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    ASSERT_NE(pMain, nullptr);
    CStatusBar& bar = pMain->GetStatusBar();
    auto pane = [&](UINT nID) { return bar.GetPaneText(bar.CommandToIndex(nID)); };
    auto showsEstimate = [&] {
        return pane(ID_INDICATOR_PANE1).Find("ﾍﾟｰｼﾞ"_sj) >= 0 &&
               pane(ID_INDICATOR_PANE2).Find("見積金額="_sj) >= 0;
    };
    Grid()->SetFocus();
    Click(1, 0);
    Pump();
    ASSERT_TRUE(showsEstimate());

    CSplitterWnd& splitter = Frame()->m_wndSplitter;
    QWidget* pSplitter = splitter.GetClientWidget();
    ASSERT_NE(pSplitter, nullptr);
    CRect rcTree;
    Tree()->GetWindowRect(&rcTree);
    splitter.ScreenToClient(&rcTree);
    const int cxBefore = TreeWidth();
    const QPoint onBar(rcTree.right + CSplitterWnd::cxSplitter / 2, rcTree.CenterPoint().y);
    DragOn(pSplitter, onBar, onBar - QPoint(40, 0), [&] {
        EXPECT_EQ(CWnd::GetFocus(), Grid());
        EXPECT_TRUE(showsEstimate());
    });
    Pump();
    EXPECT_LT(TreeWidth(), cxBefore) << "the bar moved";
    EXPECT_EQ(CWnd::GetFocus(), Grid());
    EXPECT_TRUE(showsEstimate()) << pane(ID_INDICATOR_PANE1).ToUtf8();

    // A press on the bar that moves nothing.
    const QPoint onBarNow(rcTree.right - 40 + CSplitterWnd::cxSplitter / 2, rcTree.CenterPoint().y);
    DragOn(pSplitter, onBarNow, onBarNow);
    Pump();
    EXPECT_EQ(CWnd::GetFocus(), Grid());
    EXPECT_TRUE(showsEstimate());

    // A click into the tree: the tree shows the grid's texts.
    QWidget* pTree = Tree()->GetClientWidget();
    ASSERT_NE(pTree, nullptr);
    DragOn(pTree, QPoint(10, pTree->height() - 5), QPoint(10, pTree->height() - 5));
    Pump();
    EXPECT_EQ(CWnd::GetFocus(), Tree());
    EXPECT_TRUE(showsEstimate());
}
