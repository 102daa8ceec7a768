// The estimate grid's status panes, the subjects and units handed over by the pick
// dialogs, the subject tree's refresh and row jump, the context and tool-bar menus, the
// parts-file switch, the colour settings and dragging a selection with the mouse.
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/estimate/UndoTestSupport.h"

#include "app/CMainFrame.h"
#include "grid/CTabWnd.h"
#include "grid/ModelessMessages.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/Menu_p.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CStatusBar.h"
#include "platform/ui/gdi/CClientDC.h"
#include "resources/ResourceIds.h"

#include <functional>
#include <vector>

namespace {

class StatusAndPicks : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        ASSERT_NE(OpenSample(), nullptr);
        m_pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
        ASSERT_NE(m_pFrame, nullptr);
    }

    CString PaneText(UINT nID) const
    {
        CStatusBar& bar = m_pFrame->GetStatusBar();
        return bar.GetPaneText(bar.CommandToIndex(nID));
    }
    int PaneWidth(UINT nID) const
    {
        CStatusBar& bar = m_pFrame->GetStatusBar();
        UINT nPaneID = 0, nStyle = 0;
        int cx = 0;
        bar.GetPaneInfo(bar.CommandToIndex(nID), nPaneID, nStyle, cx);
        return cx;
    }
    // The command ids of a menu's items, pop-ups walked into.
    static void CollectIds(CMenu* pMenu, std::vector<UINT>& ids)
    {
        for (int i = 0; i < pMenu->GetMenuItemCount(); ++i) {
            if (CMenu* pSub = pMenu->GetSubMenu(i))
                CollectIds(pSub, ids);
            else if (pMenu->GetMenuItemID(i) != 0)
                ids.push_back(pMenu->GetMenuItemID(i));
        }
    }

    CMainFrame* m_pFrame = nullptr;
};

// Answers pop-up menus by program and remembers what they offered.
class CMenuAnswer {
public:
    explicit CMenuAnswer(UINT nChoose)
    {
        m_previous = AfxSetPopupMenuChooser([this, nChoose](CMenu* pPopup) {
            ++m_nShown;
            m_ids.clear();
            Collect(pPopup);
            return nChoose;
        });
    }
    ~CMenuAnswer() { AfxSetPopupMenuChooser(m_previous); }
    int m_nShown = 0;
    std::vector<UINT> m_ids;

private:
    void Collect(CMenu* pMenu)
    {
        for (int i = 0; i < pMenu->GetMenuItemCount(); ++i) {
            if (CMenu* pSub = pMenu->GetSubMenu(i))
                Collect(pSub);
            else if (pMenu->GetMenuItemID(i) != 0)
                m_ids.push_back(pMenu->GetMenuItemID(i));
        }
    }
    PopupMenuChooser m_previous;
};

bool Contains(const std::vector<UINT>& ids, UINT nID)
{
    for (UINT id : ids) {
        if (id == nID)
            return true;
    }
    return false;
}

// A second view of the estimate standing for the subject tree: it records the updates.
class CRecordingView : public CView {
public:
    void OnDraw(CDC*) override {}
    void OnUpdate(CView* pSender, LPARAM lHint, CObject*) override
    {
        m_pSender = pSender;
        m_hints.push_back(lHint);
    }
    CView* m_pSender = nullptr;
    std::vector<LPARAM> m_hints;
};

} // namespace

TEST_F(StatusAndPicks, ThePanesShowPageRowColumnUsedRowsAndTheEstimateAmount)
{
    GoTo(scQty, 18); // the 19th row: page 2, row 1 of it
    const CString position = PaneText(ID_INDICATOR_PANE1);
    CString expected;
    expected.Format("  2 ﾍﾟｰｼﾞ    1 行   3 列  最大行 %d "_sj, m_pView->GetUsedRows());
    EXPECT_EQ(position, expected);

    // The amount: every amount the status bar adds up, with separators, after "見積金額=\".
    const double amount = m_pView->GetModel().Engine().SumEstimateAmount(scAmount, FALSE);
    ASSERT_GT(amount, 1000000.0);
    const CString strAmount = PaneText(ID_INDICATOR_PANE2);
    EXPECT_EQ(strAmount.Left(10), "見積金額=\\"_sj);
    CString strDigits = strAmount.Mid(10);
    EXPECT_GE(strDigits.Find(','), 1);
    strDigits.Remove(',');
    EXPECT_DOUBLE_EQ(atof(strDigits), amount);

    // Each pane is as wide as its text in the bar's font.
    CClientDC dc(&m_pFrame->GetStatusBar());
    CFont* pOld = dc.SelectObject(m_pFrame->GetStatusBar().GetFont());
    EXPECT_EQ(PaneWidth(ID_INDICATOR_PANE1), dc.GetTextExtent(position).cx);
    EXPECT_EQ(PaneWidth(ID_INDICATOR_PANE2), dc.GetTextExtent(strAmount).cx);
    dc.SelectObject(pOld);
}

TEST_F(StatusAndPicks, ThePanesFollowMovesAndCommitsAndGoBlankWhenHidden)
{
    GoTo(scPrice, srFirstDetail);
    EXPECT_NE(PaneText(ID_INDICATOR_PANE1).Find("   4 行   5 列"_sj), -1);
    const CString before = PaneText(ID_INDICATOR_PANE2);
    TypeUtf8("1350"); // 1000 more for 128.5 m2
    Key(VK_RETURN);
    EXPECT_NE(PaneText(ID_INDICATOR_PANE1).Find("   4 行   6 列"_sj), -1);
    CString after = PaneText(ID_INDICATOR_PANE2);
    EXPECT_NE(after, before);
    after = after.Mid(10);
    after.Remove(',');
    EXPECT_DOUBLE_EQ(atof(after), m_pView->GetModel().Engine().SumEstimateAmount(scAmount, FALSE));

    m_pView->UpdateStatusText(0);
    EXPECT_EQ(PaneText(ID_INDICATOR_PANE1), "");
    EXPECT_EQ(PaneText(ID_INDICATOR_PANE2), "");
}

TEST_F(StatusAndPicks, ThePositionPaneFollowsTheRowsThatSpecialRowCommandsMakeAndMoveTo)
{
    const auto expected = [this] {
        const int nPageRows = m_pView->GetPageRows(), nRow = m_pView->GetCurrentRow();
        CString text;
        text.Format("%3d ﾍﾟｰｼﾞ %4d 行 %3d 列  最大行 %d "_sj, nRow / nPageRows + 1, nRow % nPageRows + 1,
                    m_pView->GetCurrentCol() + 1, m_pView->GetUsedRows());
        return text;
    };
    CString picked = "新設工事/式"_sj;
    const std::function<void()> commands[] = {
        [this] { Command(ID_TOTAL_SMALL); },
        [this] { Command(ID_TOTAL_MIDDLE); },
        [this] { Command(ID_TOTAL_LARGE); },
        [this] { Command(ID_TOTAL_KIND); },
        [this] { Command(ID_TOTAL_GRAND); },
        [this] { Command(ID_TAX_ROW); },
        [this] { m_pView->InsertDiscount("1000"); },
        [this] { m_pView->InsertDiscountTotal(CMorvelEMView::levelSmall); },
        [this] { m_pView->InsertKindHeading("本体"_sj, "式"_sj); },
        [&] { m_pView->SendMessage(WM_PICK_LARGE_SUBJECT, 0, reinterpret_cast<LPARAM>(&picked)); },
    };
    for (size_t i = 0; i < std::size(commands); ++i) {
        GoTo(scName, 5);
        commands[i]();
        EXPECT_NE(m_pView->GetRowKind(5), kindDetail) << i; // the new row
        EXPECT_EQ(PaneText(ID_INDICATOR_PANE1), expected()) << i;
    }
}

TEST_F(StatusAndPicks, APickedLargeSubjectBelowTheUsedRowsBecomesAHeadingThere)
{
    const int nUsed = m_pView->GetUsedRows();
    const int nRow = nUsed + 1;
    GoTo(scName, nRow);
    CString picked = "新設工事/式"_sj;
    m_pView->SendMessage(WM_PICK_LARGE_SUBJECT, 0, reinterpret_cast<LPARAM>(&picked));

    EXPECT_EQ(m_pView->GetUsedRows(), nRow + 1) << "no row is inserted below the used rows";
    EXPECT_EQ(m_pView->GetRowKind(nRow), kindLarge);
    EXPECT_EQ(Utf8Cell(nRow, scName), "新設工事");
    EXPECT_EQ(Utf8Cell(nRow, scUnit), "式");
    EXPECT_EQ(m_pView->GetCellIndent(nRow, scName), m_pView->GetCellIndent(srLarge, scName));
    EXPECT_EQ(m_pView->GetCurrentRow(), nRow + 1);
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 50);
    ASSERT_NE(UndoCommandAs<CSpecialRowCommand>(*m_pView), nullptr);
    EXPECT_EQ(UndoCommandAs<CSpecialRowCommand>(*m_pView)->FirstRow(), nRow);
    EXPECT_EQ(m_pView->GetPendingLevel(), CMorvelEMView::pickLarge);
    EXPECT_TRUE(IsModified());
}

TEST_F(StatusAndPicks, APickedSubjectAmongTheRowsIsInsertedAndSplitAtTheFirstSlash)
{
    const std::string nameAt4 = Utf8Cell(4, scName);
    const int nUsed = m_pView->GetUsedRows();
    GoTo(scQty, 4);
    CString picked = "配管/継手工事/m"_sj;
    m_pView->SendMessage(WM_PICK_SMALL_SUBJECT, 0, reinterpret_cast<LPARAM>(&picked));
    EXPECT_GT(m_pView->GetUsedRows(), nUsed);
    EXPECT_EQ(m_pView->GetRowKind(4), kindSmall);
    EXPECT_EQ(Utf8Cell(4, scName), "配管");
    EXPECT_EQ(Utf8Cell(4, scUnit), "継手工事/m");
    EXPECT_EQ(Utf8Cell(5, scName), nameAt4);
    EXPECT_EQ(m_pView->GetCurrentRow(), 5);

    // Without a "/" the whole text is the unit.
    CString unitOnly = "台"_sj;
    m_pView->SendMessage(WM_PICK_MIDDLE_SUBJECT, 0, reinterpret_cast<LPARAM>(&unitOnly));
    EXPECT_EQ(m_pView->GetRowKind(5), kindMiddle);
    EXPECT_EQ(Cell(5, scName), "");
    EXPECT_EQ(Utf8Cell(5, scUnit), "台");
}

TEST_F(StatusAndPicks, APickedUnitFillsTheCurrentCellAndTheCursorMovesOnEvenWhenCancelled)
{
    const int nRow = m_pView->GetUsedRows() + 1;
    GoTo(scUnit, nRow);
    CString unit = "ｍ２"_sj;
    m_pView->SendMessage(WM_PICK_UNIT, 0, reinterpret_cast<LPARAM>(&unit));
    EXPECT_EQ(Utf8Cell(nRow, scUnit), "ｍ２");
    EXPECT_EQ(m_pView->GetRowKind(nRow), kindDetail);
    EXPECT_EQ(m_pView->GetCurrentRow(), nRow) << "the row stays";
    EXPECT_EQ(m_pView->GetCurrentCol(), scUnit + 1) << "Direction 1 moves right";
    EXPECT_EQ(m_pView->GetPendingLevel(), CMorvelEMView::pickUnit);

    // Cancelled: nothing stored, the cursor moves all the same.
    GoTo(scUnit, srFirstDetail);
    m_pView->SendMessage(WM_PICK_UNIT, 0, 0);
    EXPECT_EQ(Utf8Cell(srFirstDetail, scUnit), "m2");
    EXPECT_EQ(m_pView->GetCurrentCol(), scUnit + 1);
}

TEST_F(StatusAndPicks, AClosedPickDialogIsForgotten)
{
    CWnd dummy;
    m_pView->SetPickDialog(CMorvelEMView::pickMiddle, &dummy);
    m_pView->SetPickDialog(CMorvelEMView::pickUnit, &dummy);
    m_pView->SendMessage(WM_MODELESS_CLOSED, MODELESS_MIDDLE_SUBJECT_PICK, 0);
    EXPECT_EQ(m_pView->GetPickDialog(CMorvelEMView::pickMiddle), nullptr);
    EXPECT_EQ(m_pView->GetPickDialog(CMorvelEMView::pickUnit), &dummy);
    m_pView->SendMessage(WM_MODELESS_CLOSED, MODELESS_UNIT_PICK, 0);
    EXPECT_EQ(m_pView->GetPickDialog(CMorvelEMView::pickUnit), nullptr);
}

TEST_F(StatusAndPicks, TheSubjectTreeIsToldToRebuildAndItsRowJumpLeavesTheSummaryPage)
{
    auto* pTree = new CRecordingView;
    m_pDoc->AddView(pTree);
    GoTo(scName, 4);
    Command(ID_ROW_CLEAR);
    ASSERT_FALSE(pTree->m_hints.empty());
    EXPECT_EQ(pTree->m_hints.back(), CMorvelEMView::hintRebuildSubjectTree);
    EXPECT_EQ(pTree->m_pSender, m_pView);
    m_pDoc->RemoveView(pTree);
    delete pTree;

    m_pView->SendMessage(WM_COMMAND, CTabWnd::ID_SUMMARY_PAGE_TAB, 0);
    ASSERT_TRUE(m_pView->IsSummaryPageShown());
    m_pView->GoToRow(40);
    EXPECT_FALSE(m_pView->IsSummaryPageShown());
    EXPECT_EQ(m_pView->GetTabWnd()->GetCurSel(), 0);
    EXPECT_EQ(CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()), CPoint(0, 40));
    EXPECT_TRUE(m_pView->LastMoveCameFromTree());
    EXPECT_NE(PaneText(ID_INDICATOR_PANE1).Find("   5 行   1 列"_sj), -1); // row 41: page 3, row 5
}

TEST_F(StatusAndPicks, TheContextMenuOffersTheGridCommandsAndRunsTheChosenOne)
{
    const std::string nameAt4 = Utf8Cell(4, scName);
    GoTo(scName, 4);
    {
        CMenuAnswer answer(ID_ROW_INSERT);
        CPoint pt = CellPoint(scName, 4);
        m_pView->ClientToScreen(&pt);
        m_pView->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_pView->m_hWnd),
                             MAKELPARAM(pt.x, pt.y));
        EXPECT_EQ(answer.m_nShown, 1);
        for (UINT nID : {ID_PICK_LARGE, ID_TOTAL_GRAND, ID_UNIT, ID_SORT, ID_PARTS_REGISTER, ID_EDIT_PASTE,
                         ID_ROW_INSERT, ID_ROW_DELETE, ID_ROW_CLEAR})
            EXPECT_TRUE(Contains(answer.m_ids, nID)) << nID;
        Pump(); // the chosen command is posted
    }
    EXPECT_EQ(Cell(4, scName), "");
    EXPECT_EQ(Utf8Cell(5, scName), nameAt4);

    // Shift+F10 opens the same menu; on the summary page there is none.
    m_pView->SendMessage(WM_COMMAND, CTabWnd::ID_SUMMARY_PAGE_TAB, 0);
    CMenuAnswer none(0);
    m_pView->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_pView->m_hWnd), MAKELPARAM(10, 10));
    EXPECT_EQ(none.m_nShown, 0);
}

TEST_F(StatusAndPicks, TheToolBarButtonsOpenTheSubjectAndTotalMenus)
{
    {
        CMenuAnswer answer(0);
        Command(ID_SUBJECT_MENU);
        EXPECT_EQ(answer.m_nShown, 1);
        EXPECT_EQ(answer.m_ids,
                  (std::vector<UINT>{ID_KIND_INPUT, ID_PICK_LARGE, ID_PICK_MIDDLE, ID_PICK_SMALL,
                                     ID_DISCOUNT_INPUT, ID_STEP_SETTING, ID_CLASSIFY_TOTAL, ID_SUBJECT_NO}));
    }
    // The total menu's choice goes to the grid: a small subtotal at the current row.
    const int nRow = m_pView->GetUsedRows() + 1;
    GoTo(scName, nRow);
    CMenuAnswer answer(ID_TOTAL_SMALL);
    Command(ID_TOTAL_MENU);
    EXPECT_EQ(answer.m_ids, (std::vector<UINT>{ID_TOTAL_SMALL, ID_TOTAL_MIDDLE, ID_TOTAL_LARGE, ID_TOTAL_KIND,
                                               ID_TOTAL_DISCOUNT, ID_TAX_ROW, ID_TOTAL_GRAND}));
    Pump();
    EXPECT_EQ(m_pView->GetRowKind(nRow), kindSmall + kindTotalOffset);
}

TEST_F(StatusAndPicks, ThePartsFileIsChosenUpperCasedAndOnlyWhenItIsAPartsFile)
{
    CDialogAnswerer answerer;
    const CString chosen = m_pFolder->System("WORK") + "\\koji.mbd";
    answerer.AnswerFileDialog(chosen);
    Command(ID_PARTS_FILE_SWITCH);
    CString expected = chosen;
    expected.MakeUpper();
    EXPECT_EQ(m_pView->GetCurrentPartFile(), expected);
    EXPECT_EQ(m_pApp->GetProfileString("Current Part File", "FileName", ""), expected);

    answerer.AnswerFileDialog(m_pFolder->System("WORK") + "\\koji.txt");
    Command(ID_PARTS_FILE_SWITCH);
    EXPECT_EQ(answerer.MessageBoxTexts(), std::vector<CString>{"Select File Error!"});
    EXPECT_EQ(m_pView->GetCurrentPartFile(), expected);

    // Cancelled: nothing changes.
    answerer.AnswerFileDialog(CString());
    Command(ID_PARTS_FILE_SWITCH);
    EXPECT_EQ(m_pView->GetCurrentPartFile(), expected);
}

TEST_F(StatusAndPicks, ColourSettingsAreReadAsRedGreenBlueAndMissingOnesAreBlack)
{
    m_pApp->WriteProfileString("Color Setting", "Sum Text", "255,128,0");
    m_pApp->WriteProfileString("Color Setting", "Sum Background", "300,1,2");
    m_pApp->WriteProfileString("Color Setting", "Kind Text", "");
    m_pApp->WriteProfileString("Color Setting", "Kind Background", "12");
    EXPECT_EQ(m_pView->ReadColorSetting("Sum Text"), RGB(255, 128, 0));
    EXPECT_EQ(m_pView->ReadColorSetting("Sum Background"), RGB(300 & 0xFF, 1, 2));
    EXPECT_EQ(m_pView->ReadColorSetting("Kind Text"), 0u);
    EXPECT_EQ(m_pView->ReadColorSetting("Kind Background"), 0u);
    EXPECT_EQ(m_pView->ReadColorSetting("Large Project Text"), 0u);
}

TEST_F(StatusAndPicks, DraggingOverTheCellsSelectsABlockAndBelowTheGridScrollsOnByTimer)
{
    const CPoint ptStart = CellPoint(scName, 2);
    const CPoint ptEnd = CellPoint(scPrice, 5);
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptStart.x, ptStart.y));
    m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptEnd.x, ptEnd.y));
    EXPECT_EQ(m_pView->GetSelectMode(), 20);
    EXPECT_TRUE(m_pView->GetPointerState().bDragExtending);
    CRect rcRange;
    CMorvelView::NormalizeCellRange(m_pView->GetSelection().left, m_pView->GetSelection().top,
                                    m_pView->GetSelection().right, m_pView->GetSelection().bottom, &rcRange);
    EXPECT_EQ(rcRange, CRect(scName, 2, scPrice, 5));
    EXPECT_EQ(m_pView->GetPointerState().bDragScrolling, 0);

    // Below the grid area the timer runs; each tick moves the selection's end a row down.
    CRect rcGrid;
    m_pView->GetGridClientRect(&rcGrid);
    m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptEnd.x, rcGrid.bottom + 5));
    EXPECT_EQ(m_pView->GetPointerState().bDragScrolling, 1);
    EXPECT_EQ(m_pView->GetPointerState().nDragScrollDir, CMorvelView::dragScrollDown);
    const int nEndRow = m_pView->GetSelection().bottom;
    const int nFirstVisible = m_pView->GetFirstVisibleCell().y;
    m_pView->SendMessage(WM_TIMER, CMorvelView::TIMER_DRAG_SCROLL, 0);
    EXPECT_EQ(m_pView->GetSelection().bottom, nEndRow + 1);
    EXPECT_EQ(m_pView->GetFirstVisibleCell().y, nFirstVisible + 1);

    // Back over the grid the ticks wait; the release stops the timer.
    m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptEnd.x, ptEnd.y));
    const int nEndNow = m_pView->GetSelection().bottom;
    m_pView->SendMessage(WM_TIMER, CMorvelView::TIMER_DRAG_SCROLL, 0);
    EXPECT_EQ(m_pView->GetSelection().bottom, nEndNow);
    m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptEnd.x, ptEnd.y));
    EXPECT_EQ(m_pView->GetPointerState().bDragScrolling, 0);
    EXPECT_FALSE(m_pView->GetPointerState().bDragExtending);
}

TEST_F(StatusAndPicks, TheInitialUpdateMakesTheHiddenEditorAndShowsTheEstimatesZoomInTheZoomBox)
{
    EXPECT_TRUE(m_pView->HasCellEdit());
    EXPECT_EQ(m_pView->GetCellEdit().GetDlgCtrlID(), 309);
    EXPECT_EQ(m_pView->GetCellEdit().GetParent(), m_pView);
    EXPECT_FALSE(m_pView->GetCellEdit().IsWindowVisible());
    EXPECT_GE(m_pView->GetMetrics().nRowHeight, 10);
    CString strZoom;
    m_pFrame->GetZoomBox().GetLBText(m_pFrame->GetZoomBox().GetCurSel(), strZoom);
    EXPECT_EQ(strZoom, "100%");

    // An estimate stored at 150 % shows it when it opens again.
    m_pView->SetZoom(150);
    const CString path = m_pDoc->GetPathName();
    Command(ID_FILE_SAVE);
    m_pDoc->OnCloseDocument();
    m_pFrame->GetZoomBox().SetCurSel(0);
    ASSERT_NE(OpenEstimate(path), nullptr);
    EXPECT_EQ(m_pView->GetMetrics().nZoom, 150);
    m_pFrame->GetZoomBox().GetLBText(m_pFrame->GetZoomBox().GetCurSel(), strZoom);
    EXPECT_EQ(strZoom, "150%");
}
