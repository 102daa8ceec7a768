// The subject tree beside the grid: the sample estimate's headings in their hierarchy with
// their total amounts, the jump of the grid to a clicked heading, the tree following an
// amount typed into the grid and a name replaced or cleared, Delete on the root and on a
// heading, and the commands the tree hands to the grid.
#include "tests/estimate_tools/SubjectTreeTestSupport.h"

#include "app/CMainFrame.h"
#include "app/CMorvelSettings.h"
#include "engine/estimate/CNumberRules.h"
#include "estimate_tools/CEstimatePrinting.h"
#include "estimate_tools/CFindReplaceDialogs.h"
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/PrintFormRegistration.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/dialogs/CPrintDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateEditIds.h"
#include "resources/ResourceIds.h"
#include "tests/support/RealInput.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <map>
#include <string>
#include <vector>

namespace {

// An amount with thousands separators, as a user writes it.
std::string WithSeparators(long long value)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<size_t>(i), ",");
    return (value < 0 ? "-" : "") + digits;
}

class CRecordingCmdUI : public CCmdUI {
public:
    explicit CRecordingCmdUI(UINT nID) { m_nID = nID; }
    void Enable(BOOL bOn = TRUE) override
    {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    int enabled = -1;
};

// A view of the document that counts the document's requests to fill its subject trees
// again (every recalculation the window follows makes one).
class CTreeFillCounter : public CView {
public:
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM lHint, CObject*) override
    {
        nFills += lHint == CMorvelEMView::hintRebuildSubjectTree ? 1 : 0;
    }
    int nFills = 0;
};

class SubjectTreeViewTest : public SubjectTreeWindowTest {
protected:
    void SetUp() override
    {
        SubjectTreeWindowTest::SetUp();
        ASSERT_NE(OpenSampleWindow(), nullptr);
        ASSERT_NE(Tree(), nullptr);
        WidenTree(m_pView);
    }

    // The parent's row of the item of a heading row (-1 for the root).
    int ParentRow(int nRow) const
    {
        CMorvelEMTreeView* pTree = Tree();
        const HTREEITEM hParent = pTree->GetTreeCtrl().GetParentItem(ItemOfRow(pTree, nRow));
        const int nEntry = pTree->FindEntry(hParent);
        return nEntry >= 0 ? pTree->GetEntry(nEntry).nRow : -99;
    }

    // The tree's text of a heading in code page 932 bytes.
    std::string Text(int nRow) const
    {
        return Tree()->GetTreeCtrl().GetItemText(ItemOfRow(Tree(), nRow)).str();
    }

    // What a heading's item should read: its name, and the amount of its total row.
    std::string Expected(int nHeadingRow, int nTotalRow) const
    {
        return Cell(nHeadingRow, scName) + "   \\" +
               WithSeparators(static_cast<long long>(Value(nTotalRow, scAmount)));
    }

    std::string StatusPane(UINT nID) const
    {
        auto* pMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
        const int nIndex = pMain->GetStatusBar().CommandToIndex(nID);
        return pMain->GetStatusBar().GetPaneText(nIndex).str();
    }
};

} // namespace

TEST_F(SubjectTreeViewTest, TheRootIsTheTitleWithoutItsExtensionAndTheHeadingsFollowInRowOrder)
{
    CMorvelEMTreeView* pTree = Tree();
    EXPECT_EQ("サンプル見積", ItemText(pTree, pTree->GetTreeCtrl().GetRootItem()));
    // Every heading of the edit page, in row order, after the root.
    int nEntry = 1;
    for (int r = 0; r < m_pView->GetUsedRows(); ++r) {
        const int nKind = m_pView->GetRowKind(r);
        if (nKind != kindLarge && nKind != kindMiddle && nKind != kindSmall && nKind != kindKind)
            continue;
        ASSERT_LT(nEntry, pTree->GetEntryCount());
        EXPECT_EQ(r, pTree->GetEntry(nEntry).nRow);
        EXPECT_EQ(nKind, pTree->GetEntry(nEntry).nKind);
        ++nEntry;
    }
    EXPECT_EQ(nEntry, pTree->GetEntryCount());
    EXPECT_EQ(pTree->GetEntryCount(), static_cast<int>(pTree->GetTreeCtrl().GetCount()));
}

// The root follows the title at once, through the real Save As with its file dialog, also a
// second time (when the save itself had the tree rebuilt under the old name).
TEST_F(SubjectTreeViewTest, TheRootTakesTheNewNameRightAfterEverySaveAs)
{
    CMorvelEMTreeView* pTree = Tree();
    for (const char* lpszName : {"item1", "見積2"}) {
        SCOPED_TRACE(lpszName);
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(m_pFolder->System("WORK") + "\\" + CString::FromUtf8(lpszName) + ".MMD");
        Command(ID_FILE_SAVE_AS);
        EXPECT_EQ(0, answerer.CountUnanswered());
        ASSERT_EQ(CString::FromUtf8(lpszName) + ".MMD", m_pDoc->GetTitle());
        CString upper = CString::FromUtf8(lpszName);
        upper.MakeUpper();
        EXPECT_EQ(upper.ToUtf8(), ItemText(pTree, pTree->GetTreeCtrl().GetRootItem()));
    }
}

TEST_F(SubjectTreeViewTest, HeadingsHangUnderTheNearestHigherHeadingBeforeThem)
{
    const int nKind = FindRow(kindKind);
    const int nLarge = FindRow(kindLarge);
    const int nMiddle = FindRow(kindMiddle);
    const int nSmall = FindRow(kindSmall);
    ASSERT_GE(nSmall, 0);
    EXPECT_EQ(-1, ParentRow(nKind));
    EXPECT_EQ(nKind, ParentRow(nLarge));
    EXPECT_EQ(nLarge, ParentRow(nMiddle));
    // The small subject belongs to the last middle heading above it.
    int nMiddleAbove = nMiddle;
    for (int r = nMiddle; r < nSmall; ++r)
        if (m_pView->GetRowKind(r) == kindMiddle)
            nMiddleAbove = r;
    EXPECT_EQ(nMiddleAbove, ParentRow(nSmall));
    // A large heading after a second kind heading hangs under that kind.
    const int nSecondKind = FindRow(kindKind, nKind + 1);
    ASSERT_GE(nSecondKind, 0);
    EXPECT_EQ(nSecondKind, ParentRow(FindRow(kindLarge, nSecondKind)));
}

TEST_F(SubjectTreeViewTest, EachHeadingShowsTheAmountOfItsTotalRow)
{
    const int nMiddle = FindRow(kindMiddle);
    const int nMiddleTotal = FindRow(12, nMiddle);
    EXPECT_EQ(Expected(nMiddle, nMiddleTotal), Text(nMiddle));
    const int nKind = FindRow(kindKind);
    EXPECT_EQ(Expected(nKind, FindRow(17, nKind)), Text(nKind));
    const int nSmall = FindRow(kindSmall);
    EXPECT_EQ(Expected(nSmall, FindRow(13, nSmall)), Text(nSmall));
}

TEST_F(SubjectTreeViewTest, AnEstimateWithoutHeadingsShowsOnlyTheRoot)
{
    for (int r = 0; r < m_pView->GetUsedRows(); ++r) {
        const int nKind = m_pView->GetRowKind(r);
        if (nKind == kindLarge || nKind == kindMiddle || nKind == kindSmall || nKind == kindKind)
            m_pView->SetRowKind(kindDetail, r);
    }
    m_pView->UpdateTreeView();
    EXPECT_EQ(1, Tree()->GetEntryCount());
    EXPECT_EQ(1u, Tree()->GetTreeCtrl().GetCount());
    EXPECT_EQ("サンプル見積", ItemText(Tree(), Tree()->GetTreeCtrl().GetRootItem()));
}

TEST(SubjectTreeTexts, TheRootTextIsTheUpperCasedTitleCutBeforeItsExtension)
{
    EXPECT_EQ("KOUJI", CMorvelEMTreeView::MakeRootText("kouji.mmd").str());
    EXPECT_EQ("DATA", CMorvelEMTreeView::MakeRootText("data.mvl").str());
    EXPECT_EQ("OLD", CMorvelEMTreeView::MakeRootText("Old.Rxa").str());
    EXPECT_EQ("NOTES.TXT", CMorvelEMTreeView::MakeRootText("notes.txt").str());
    EXPECT_EQ("A.RXA", CMorvelEMTreeView::MakeRootText("a.rxa.mmd").str());
}

TEST(SubjectTreeTexts, AnAmountFollowsTheNameWithTheYenSignAndSeparatorsUnlessItIsZero)
{
    const CString strName = CString::FromUtf8("仮設工事");
    EXPECT_EQ(strName.str() + "   \\1,234,567",
              CMorvelEMTreeView::MakeItemText(strName, "1234567.000000").str());
    EXPECT_EQ(strName.str(), CMorvelEMTreeView::MakeItemText(strName, "0.000000").str());
    EXPECT_EQ(strName.str(), CMorvelEMTreeView::MakeItemText(strName, "").str());
    EXPECT_EQ(strName.str(), CMorvelEMTreeView::MakeItemText(strName, "0.000001").str());
    EXPECT_EQ(strName.str() + "   \\-20,000",
              CMorvelEMTreeView::MakeItemText(strName, "-20000.000000").str());
}

// A label too wide for its room gives up its name first, down to a character, then its whole
// amount, never part of it; the room is found in a few measures however long the name (every
// byte 5 pixels here).
TEST(SubjectTreeTexts, ANarrowLabelCutsItsNameAndShowsItsAmountWholeOrNotAtAll)
{
    int nMeasures = 0;
    CMorvelEMTreeView::CLabelMeasure measure;
    measure.width = [&](const CString& strText) {
        ++nMeasures;
        return 5 * strText.GetLength();
    };
    measure.fit = [&](const CString& strText, int cx) {
        ++nMeasures;
        int nFit = 0;
        for (int i = 0; i < strText.GetLength();) {
            const int nNext = i + (static_cast<unsigned char>(strText[i]) >= 0x81 ? 2 : 1);
            if (5 * nNext > cx)
                break;
            nFit = i = nNext;
        }
        return nFit;
    };
    const CString strName = "諸経費計"_sj;
    const auto fit = [&](const CString& name, int cx) {
        nMeasures = 0;
        return CMorvelEMTreeView::FitItemText(name, "1234567.000000", cx, measure).ToUtf8();
    };
    EXPECT_EQ("諸経費計   \\1,234,567", fit(strName, 105));
    EXPECT_EQ("諸経…   \\1,234,567", fit(strName, 100));
    EXPECT_EQ("諸…   \\1,234,567", fit(strName, 85));
    // Not even a character, "…" and the amount: the amount goes whole, the name stays as
    // far as it fits.
    EXPECT_EQ("諸経費計…", fit(strName, 84));
    EXPECT_EQ("諸…", fit(strName, 29));
    EXPECT_EQ("…", fit(strName, 5));
    EXPECT_EQ("諸経費計", CMorvelEMTreeView::FitItemText(strName, "0", 40, measure).ToUtf8());
    EXPECT_EQ("諸経…", CMorvelEMTreeView::FitItemText(strName, "0", 39, measure).ToUtf8());

    CString strLong;
    for (int i = 0; i < 40; ++i)
        strLong += strName;
    // 22 characters of the name, "…" and the amount: 295 of the 300 pixels.
    EXPECT_EQ(59, CString::FromUtf8(fit(strLong, 300).c_str()).GetLength());
    EXPECT_LE(nMeasures, 3);
}

TEST_F(SubjectTreeViewTest, ClickingAHeadingMovesTheGridToItsRowAndKeepsTheKeyboardInTheTree)
{
    const int nSmall = FindRow(kindSmall);
    const int nLaterSmall = FindRow(kindSmall, nSmall + 1);
    ASSERT_GE(nLaterSmall, 0);
    GoTo(scQty, 3);
    ClickItem(Tree(), ItemOfRow(Tree(), nLaterSmall));
    EXPECT_EQ(nLaterSmall, m_pView->GetCurrentRow());
    EXPECT_EQ(0, m_pView->GetCurrentCol());
    EXPECT_EQ(Tree(), CWnd::GetFocus());
}

TEST_F(SubjectTreeViewTest, ClickingTheRootMovesNothing)
{
    GoTo(scQty, 3);
    ClickItem(Tree(), Tree()->GetTreeCtrl().GetRootItem());
    EXPECT_EQ(3, m_pView->GetCurrentRow());
    EXPECT_EQ(static_cast<int>(scQty), m_pView->GetCurrentCol());
}

TEST_F(SubjectTreeViewTest, MovingThroughTheTreeWithTheKeyboardLeavesTheGridWhereItIs)
{
    GoTo(scQty, 3);
    Tree()->SetFocus();
    Tree()->GetTreeCtrl().SelectItem(Tree()->GetTreeCtrl().GetRootItem());
    Tree()->SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    Tree()->SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_NE(Tree()->GetTreeCtrl().GetRootItem(), Tree()->GetTreeCtrl().GetSelectedItem());
    EXPECT_EQ(3, m_pView->GetCurrentRow());
}

TEST_F(SubjectTreeViewTest, TheTreeFollowsAQuantityTypedIntoTheGrid)
{
    const int nMiddle = FindRow(kindMiddle);
    const int nMiddleTotal = FindRow(12, nMiddle);
    const std::string before = Text(nMiddle);
    GoTo(scQty, srFirstDetail);
    TypeUtf8("２００");
    Key(VK_RETURN);
    Pump();
    EXPECT_EQ("200.000000", Cell(srFirstDetail, scQty));
    EXPECT_NE(before, Text(nMiddle));
    EXPECT_EQ(Expected(nMiddle, nMiddleTotal), Text(nMiddle));
}

// A heading's name written by a command that changes no figure: replace all, one replace and
// item clear rename its item at once, as typing does.
TEST_F(SubjectTreeViewTest, EveryCommandThatWritesAHeadingsNameRenamesItsItem)
{
    const auto expectTreeFollows = [this](const char* lpszStep) {
        for (int i = 1; i < Tree()->GetEntryCount(); ++i) {
            const int nRow = Tree()->GetEntry(i).nRow;
            const int nTotal = FindRow(TotalKindOf(static_cast<ERowKind>(m_pView->GetRowKind(nRow))), nRow);
            const std::string expected = nTotal >= 0 ? Expected(nRow, nTotal) : Cell(nRow, scName);
            EXPECT_EQ(expected, Text(nRow)) << lpszStep << ", row " << nRow;
        }
    };
    GoTo(scName, srKind);
    Command(ID_EDIT_REPLACE_DLG);
    auto* pDlg = dynamic_cast<CReplaceDialog*>(m_pView->GetReplaceDialog());
    ASSERT_NE(pDlg, nullptr);
    TypeDlgItemText(*pDlg, IDC_FIND_TEXT, CString::FromUtf8("工事"));
    TypeDlgItemText(*pDlg, IDC_REPLACE_TEXT, CString::FromUtf8("作業"));
    ClickDlgButton(*pDlg, IDC_REPLACE_ALL);
    Pump();
    ASSERT_EQ("本体作業", Utf8Cell(srKind, scName));
    expectTreeFollows("replace all");

    // The first Replace finds 建築作業, the second replaces it.
    TypeDlgItemText(*pDlg, IDC_FIND_TEXT, CString::FromUtf8("建築"));
    TypeDlgItemText(*pDlg, IDC_REPLACE_TEXT, CString::FromUtf8("躯体"));
    ClickDlgButton(*pDlg, IDC_REPLACE_ONE);
    ClickDlgButton(*pDlg, IDC_REPLACE_ONE);
    Pump();
    ASSERT_EQ("躯体作業", Utf8Cell(srLarge, scName));
    expectTreeFollows("replace");
    pDlg->SendMessage(WM_CLOSE);
    Pump();

    m_pView->SetSelection(CMorvelView::selectColumn, CRect(scName, 0, scName, m_pView->GetUsedRows() - 1));
    Command(ID_ITEM_CLEAR);
    Pump();
    ASSERT_EQ("", Utf8Cell(srKind, scName));
    expectTreeFollows("item clear");
}

// An Enter recalculates once, and the tree is filled once, the status bar's amount following
// it; at a level that leaves the figures to F7, likewise.
TEST_F(SubjectTreeViewTest, AnEnterFillsTheTreeOnceAndTheStatusBarShowsTheNewAmount)
{
    for (const int nLevel : {3, 1}) {
        SCOPED_TRACE(nLevel);
        CMorvelSettings::GetCurrent()->WriteProfileInt("ReCalcSetting", "Level", nLevel);
        CTreeFillCounter counter;
        m_pView->GetDocument()->AddView(&counter);
        GoTo(scQty, srFirstDetail);
        TypeUtf8(nLevel == 3 ? "２００" : "３００");
        Key(VK_RETURN);
        Pump();
        EXPECT_EQ(1, counter.nFills);
        const CString strAmount = CNumberRules::FormatByPicture(
            m_pView->GetModel().Engine().SumEstimateAmount(scAmount, FALSE), "###,###,###,###,###", TRUE);
        EXPECT_NE(std::string::npos, StatusPane(ID_INDICATOR_PANE2).find(strAmount.str()))
            << StatusPane(ID_INDICATOR_PANE2);
    }
}

// A command that puts in a total or a row, renames a heading or clears the names reads the
// estimate's headings only to fill the tree, once per fill: what it costs does not take a
// second look at every row beside the tree's. A cleared name is renamed in the tree at once.
TEST_F(SubjectTreeViewTest, ACommandReadsTheHeadingsOnlyForTheTreesFills)
{
    CTreeFillCounter counter;
    m_pView->GetDocument()->AddView(&counter);
    const auto expectReadsForFillsOnly = [&](const char* lpszStep, auto&& command) {
        const int nFills = counter.nFills;
        const unsigned long long nSearches = m_pView->GetHeadingSearchCount();
        command();
        Pump();
        EXPECT_LE(1, counter.nFills - nFills) << lpszStep;
        EXPECT_EQ(static_cast<unsigned long long>(counter.nFills - nFills),
                  m_pView->GetHeadingSearchCount() - nSearches)
            << lpszStep;
    };
    expectReadsForFillsOnly("a small total", [&] {
        GoTo(scName, srFirstDetail + 1);
        Command(ID_TOTAL_SMALL);
    });
    expectReadsForFillsOnly("a row", [&] {
        GoTo(scName, srFirstDetail);
        Command(ID_ROW_INSERT);
    });
    expectReadsForFillsOnly("a heading renamed", [&] {
        GoTo(scName, srLarge);
        TypeUtf8("躯体工事");
        Key(VK_RETURN);
    });
    const auto expectedLarge = [&] { return Expected(srLarge, FindRow(TotalKindOf(kindLarge), srLarge)); };
    ASSERT_EQ("躯体工事", Utf8Cell(srLarge, scName));
    EXPECT_EQ(expectedLarge(), Text(srLarge));
    expectReadsForFillsOnly("the names cleared", [&] {
        m_pView->SetSelection(CMorvelView::selectColumn,
                              CRect(scName, 0, scName, m_pView->GetUsedRows() - 1));
        Command(ID_ITEM_CLEAR);
    });
    ASSERT_EQ("", Utf8Cell(srLarge, scName));
    EXPECT_EQ(expectedLarge(), Text(srLarge));
}

// An edit that changes amounts sets only those labels again: the items stay, with a branch
// the user closed still closed. A new heading builds the tree afresh with it.
TEST_F(SubjectTreeViewTest, AnEditKeepsTheItemsAndANewHeadingBuildsTheTreeAgain)
{
    CMorvelEMTreeView* pTree = Tree();
    CTreeCtrl& tree = pTree->GetTreeCtrl();
    const int nMiddle = FindRow(kindMiddle);
    const int nLarge = FindRow(kindLarge);
    std::vector<HTREEITEM> items;
    for (int i = 0; i < pTree->GetEntryCount(); ++i)
        items.push_back(pTree->GetEntry(i).hItem);
    const HTREEITEM hLarge = ItemOfRow(pTree, nLarge);
    ASSERT_TRUE(tree.Expand(hLarge, TVE_COLLAPSE));
    const std::string before = Text(nMiddle);

    GoTo(scQty, srFirstDetail);
    TypeUtf8("３１７");
    Key(VK_RETURN);
    Pump();
    ASSERT_NE(before, Text(nMiddle));
    EXPECT_EQ(Expected(nMiddle, FindRow(12, nMiddle)), Text(nMiddle));
    std::vector<HTREEITEM> after;
    for (int i = 0; i < pTree->GetEntryCount(); ++i)
        after.push_back(pTree->GetEntry(i).hItem);
    EXPECT_EQ(items, after);
    EXPECT_FALSE(tree.GetItemState(hLarge, TVIS_EXPANDED) & TVIS_EXPANDED);

    // A detail row made a small heading: one more heading, every item made again and open.
    const int nCount = pTree->GetEntryCount();
    m_pView->SetRowKind(kindSmall, srFirstDetail);
    m_pView->RecalcTotals(srFirstDetail);
    Pump();
    ASSERT_EQ(nCount + 1, pTree->GetEntryCount());
    const HTREEITEM hNew = ItemOfRow(pTree, srFirstDetail);
    ASSERT_NE(nullptr, hNew);
    EXPECT_EQ(Cell(srFirstDetail, scName),
              tree.GetItemText(hNew).str().substr(0, Cell(srFirstDetail, scName).size()));
    EXPECT_TRUE(tree.GetItemState(ItemOfRow(pTree, nLarge), TVIS_EXPANDED) & TVIS_EXPANDED);
}

TEST_F(SubjectTreeViewTest, DeleteOnTheRootAsksToClearTheEstimate)
{
    Tree()->SetFocus();
    Tree()->GetTreeCtrl().SelectItem(Tree()->GetTreeCtrl().GetRootItem());
    MessageBoxRecorder boxes(IDCANCEL);
    Tree()->SendMessage(WM_KEYDOWN, VK_DELETE, 1);
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ("見積明細の内容をｸﾘｱします。よろしいですか？\n（情報入力の内容は消去されません）",
              boxes.entries[0].text.ToUtf8());
    EXPECT_TRUE(Grid()->m_commands.empty());
}

TEST_F(SubjectTreeViewTest, DeleteOnAHeadingCutsItsWholeSubjectThroughTheGrid)
{
    const int nMiddle = FindRow(kindMiddle);
    const int nCount = m_pView->GetSubjectRowCount(nMiddle);
    const CRect rcBefore(1, 2, 1, 2);
    m_pView->SetSelection(m_pView->GetSelectMode(), rcBefore);
    Tree()->SetFocus();
    Tree()->GetTreeCtrl().SelectItem(ItemOfRow(Tree(), nMiddle));
    Tree()->SendMessage(WM_KEYDOWN, VK_DELETE, 1);
    ASSERT_EQ(1u, Grid()->m_commands.size());
    const CRecordingEMView::CCommandSeen& cut = Grid()->m_commands[0];
    EXPECT_EQ(ID_EDIT_CUT, cut.nID);
    EXPECT_EQ(CRect(0, nMiddle, m_pView->GetColumnCount() - 1, nMiddle + nCount - 1), cut.rcSelection);
    EXPECT_EQ(1, cut.nSelectMode);
    EXPECT_TRUE(cut.bFocus);
    EXPECT_EQ(rcBefore, m_pView->GetSelection());
    EXPECT_EQ(Tree(), CWnd::GetFocus());
}

TEST_F(SubjectTreeViewTest, OtherKeysCutNothing)
{
    Tree()->SetFocus();
    Tree()->GetTreeCtrl().SelectItem(ItemOfRow(Tree(), FindRow(kindMiddle)));
    Tree()->SendMessage(WM_KEYDOWN, VK_BACK, 1);
    Tree()->SendMessage(WM_KEYDOWN, VK_INSERT, 1);
    EXPECT_TRUE(Grid()->m_commands.empty());
}

TEST_F(SubjectTreeViewTest, UndoAndRedoChosenInTheTreeActOnTheGrid)
{
    Grid()->m_bUndoEnabled = TRUE;
    Grid()->m_bRedoEnabled = TRUE;
    Frame()->SetActiveView(Tree());
    Tree()->SetFocus();
    Tree()->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    ASSERT_EQ(1u, Grid()->m_commands.size());
    EXPECT_EQ(ID_EDIT_UNDO, Grid()->m_commands[0].nID);
    EXPECT_TRUE(Grid()->m_commands[0].bActiveView);

    Frame()->SetActiveView(Tree());
    Tree()->SetFocus();
    Tree()->SendMessage(WM_COMMAND, ID_EDIT_REDO);
    ASSERT_EQ(2u, Grid()->m_commands.size());
    EXPECT_EQ(ID_EDIT_REDO, Grid()->m_commands[1].nID);
    EXPECT_TRUE(Grid()->m_commands[1].bFocus);
}

TEST_F(SubjectTreeViewTest, UndoAndRedoThatTheGridDoesNotOfferAreNotCarriedOut)
{
    Frame()->SetActiveView(Tree());
    Tree()->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    Tree()->SendMessage(WM_COMMAND, ID_EDIT_REDO);
    EXPECT_TRUE(Grid()->m_commands.empty());
}

TEST_F(SubjectTreeViewTest, UndoAndRedoAreOfferedInTheTreeExactlyWhenTheGridOffersThem)
{
    Frame()->SetActiveView(Tree());
    for (BOOL bOn : {TRUE, FALSE}) {
        Grid()->m_bUndoEnabled = bOn;
        Grid()->m_bRedoEnabled = !bOn;
        CRecordingCmdUI undo(ID_EDIT_UNDO), redo(ID_EDIT_REDO);
        undo.DoUpdate(Frame(), TRUE);
        redo.DoUpdate(Frame(), TRUE);
        EXPECT_EQ(bOn, undo.enabled);
        EXPECT_EQ(!bOn, redo.enabled);
    }
}

TEST_F(SubjectTreeViewTest, TheEnvironmentSheetIsNotOfferedWhileTheTreeIsTheActiveView)
{
    Frame()->SetActiveView(Tree());
    CRecordingCmdUI inTree(ID_ENVIRONMENT);
    inTree.DoUpdate(Frame(), TRUE);
    EXPECT_EQ(FALSE, inTree.enabled);

    Frame()->SetActiveView(m_pView);
    CRecordingCmdUI inGrid(ID_ENVIRONMENT);
    inGrid.DoUpdate(Frame(), TRUE);
    EXPECT_EQ(TRUE, inGrid.enabled);
}

TEST_F(SubjectTreeViewTest, TheTreeShowsTheGridsStatusWhileItHasTheKeyboardAndClearsItAfter)
{
    Tree()->SetFocus();
    Pump();
    EXPECT_NE(std::string::npos, StatusPane(ID_INDICATOR_PANE1).find(CString::FromUtf8("ﾍﾟｰｼﾞ").str()));
    EXPECT_NE(std::string::npos, StatusPane(ID_INDICATOR_PANE2).find(CString::FromUtf8("見積金額=").str()));
    // The keyboard goes to a window that writes no status of its own.
    Frame()->m_wndRangeTotal.SetFocus();
    Pump();
    EXPECT_EQ(std::string::npos, StatusPane(ID_INDICATOR_PANE1).find(CString::FromUtf8("ﾍﾟｰｼﾞ").str()));
    EXPECT_EQ(std::string::npos, StatusPane(ID_INDICATOR_PANE2).find(CString::FromUtf8("見積金額=").str()));
}

namespace {

// The window with its real grid, the keyboard put into the tree by a click on a heading, as
// the help suggests for moving around.
class SubjectTreeCommands : public SubjectTreeWindowTest {
protected:
    bool RecordsTreeCommands() const override { return false; }
    void SetUp() override
    {
        // Printing and its layouts, as the program registers them.
        RegisterDrawing();
        RegisterPrintForm();
        SubjectTreeWindowTest::SetUp();
        RegisterEstimatePrinting();
        ASSERT_NE(OpenSampleWindow(), nullptr);
        WidenTree(m_pView);
        QWidget* pTop = m_pApp->m_pMainWnd->GetWidget();
        pTop->activateWindow();
        QApplication::setActiveWindow(pTop);
        m_pView->SetFocus();
        Pump();
    }
    void ClickHeading()
    {
        CMorvelEMTreeView* pTree = Tree();
        const CPoint pt = ItemPoint(pTree, ItemOfRow(pTree, FindRow(kindLarge)));
        RealInput::Click(pTree->GetClientWidget(), QPoint(pt.x, pt.y));
        Pump();
    }
    QMainWindow* MainWindow() const { return qobject_cast<QMainWindow*>(m_pApp->m_pMainWnd->GetWidget()); }
    // Each command of the window's menus with whether it shows enabled, every menu opened as
    // a user opens it.
    std::map<unsigned, bool> MenuStates() const
    {
        std::map<unsigned, bool> states;
        const auto walk = [&states](QMenu* pMenu, const auto& self) -> void {
            emit pMenu->aboutToShow();
            for (QAction* pAction : pMenu->actions()) {
                if (QMenu* pSub = pAction->menu())
                    self(pSub, self);
                else if (const unsigned nID = pAction->data().toUInt(); nID != 0)
                    states[nID] = pAction->isEnabled();
            }
        };
        for (QAction* pAction : MainWindow()->menuBar()->actions()) {
            if (pAction->menu() != nullptr)
                walk(pAction->menu(), walk);
        }
        return states;
    }
};

} // namespace

// Fails while the commands reach only the view that has the keyboard: with the tree focused,
// 再計算, 非計算行, 印刷 and the other estimate commands show greyed and F7 and Ctrl+P do
// nothing until the grid is clicked.
TEST_F(SubjectTreeCommands, TheEstimateCommandsWorkFromTheTreeAsFromTheGrid)
{
    const std::map<unsigned, bool> fromGrid = MenuStates();
    ClickHeading();
    ASSERT_EQ(CWnd::GetFocus(), Tree());
    ASSERT_EQ(Frame()->GetActiveView(), Tree());
    const std::map<unsigned, bool> fromTree = MenuStates();
    ASSERT_EQ(fromGrid.size(), fromTree.size());
    for (const auto& [nID, bEnabled] : fromGrid) {
        // The settings sheet re-lays out the grid: the tree does not offer it.
        if (nID != ID_ENVIRONMENT) {
            EXPECT_EQ(bEnabled, fromTree.at(nID)) << "command " << nID;
        }
    }
    for (unsigned nID :
         {ID_RECALCULATE, ID_NONCALC_SET, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_PRINT_FORM_SELECT})
        EXPECT_TRUE(fromTree.at(nID)) << "command " << nID;

    // A subtotal made wrong behind the grid's back: 合計 > 再計算 chosen, and F7 pressed, with
    // the keyboard in the tree recalculate it.
    const double middleTotal = Value(srMiddleTotal, scAmount);
    m_pView->SetCellText("1", srMiddleTotal, scAmount, TRUE);
    EXPECT_TRUE(RealInput::ChooseMenuItem(MainWindow(), ID_RECALCULATE));
    Pump();
    EXPECT_DOUBLE_EQ(Value(srMiddleTotal, scAmount), middleTotal);
    m_pView->SetCellText("1", srMiddleTotal, scAmount, TRUE);
    ClickHeading();
    ASSERT_EQ(CWnd::GetFocus(), Tree());
    RealInput::PressKeys(RealInput::KeyboardWidget(), Qt::NoModifier, Qt::Key_F7);
    Pump();
    EXPECT_DOUBLE_EQ(Value(srMiddleTotal, scAmount), middleTotal);

    // Ctrl+P in the tree asks how to print.
    ClickHeading();
    ASSERT_EQ(CWnd::GetFocus(), Tree());
    CDialogAnswerer answerer;
    answerer.EndDialogWith(AFX_IDD_PRINTDLG, IDCANCEL);
    RealInput::PressKeys(RealInput::KeyboardWidget(), Qt::ControlModifier, Qt::Key_P);
    Pump();
    const std::vector<UINT> shown = answerer.DialogIds();
    EXPECT_EQ(shown, std::vector<UINT>{AFX_IDD_PRINTDLG});
}
