// Undo and redo of the estimate grid through the real window: each command that records an
// action is run as a user runs it, then taken back and done again, and the whole grid (every
// cell text and row kind the user sees, totals included) is compared with what it was
// before the command and right after it.
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "engine/estimate/CGridRow.h"
#include "engine/estimate/RowKinds.h"
#include "grid/CTabWnd.h"
#include "grid/ModelessMessages.h"
#include "platform/base/Check.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWnd_p.h"
#include "resources/ResourceIds.h"
#include "tests/support/RealInput.h"

#include <QImage>

#include <filesystem>
#include <functional>
#include <vector>

namespace {

// Everything the grid shows: per row its kind and its cells, over the used rows and a few
// beyond them.
struct CGridPicture {
    int nUsedRows = 0;
    std::vector<std::string> lines;
    bool operator==(const CGridPicture& other) const
    {
        return nUsedRows == other.nUsedRows && lines == other.lines;
    }
};

std::ostream& operator<<(std::ostream& os, const CGridPicture& picture)
{
    os << "used " << picture.nUsedRows << "\n";
    for (size_t i = 0; i < picture.lines.size(); ++i)
        os << picture.lines[i] << "\n";
    return os;
}

class UndoRedo : public EstimateWindowTest {
protected:
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Settings", "AdjustPage", "0");
    }
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        ASSERT_NE(OpenSample(), nullptr);
        ASSERT_GT(m_pView->GetUsedRows(), 20);
    }

    CGridPicture Picture() const
    {
        CGridPicture picture;
        picture.nUsedRows = m_pView->GetUsedRows();
        for (int r = 0; r < picture.nUsedRows + 5; ++r) {
            std::string line = std::to_string(m_pView->GetRowKind(r)) + ":";
            for (int c = 0; c < m_pView->GetColumnCount(); ++c)
                line += m_pView->GetCellText(r, c).ToUtf8() + "|";
            picture.lines.push_back(line);
        }
        return picture;
    }

    void SelectRows(int nFirst, int nLast)
    {
        const int x = m_pView->GetMetrics().nRowHeaderWidth / 2;
        const int yFirst = CellPoint(0, nFirst).y;
        const int yLast = CellPoint(0, nLast).y;
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, yFirst));
        m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, yLast));
        m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, yLast));
    }
    void SelectBlock(int nFirstCol, int nFirstRow, int nLastCol, int nLastRow)
    {
        const CPoint a = CellPoint(nFirstCol, nFirstRow), b = CellPoint(nLastCol, nLastRow);
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.x, a.y));
        m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.x, b.y));
        m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
    }

    // Ctrl and a key, pressed on the grid as the keyboard gives them.
    void CtrlKey(int nKey)
    {
        RealInput::PressKeys(m_pView->GetClientWidget(), Qt::ControlModifier, nKey);
        Pump();
    }
    // Whole rows selected without the mouse (more than the window shows).
    void SelectManyRows(int nFirst, int nLast)
    {
        m_pView->SetCurrentCell(scName, nFirst);
        m_pView->SetSelection(CMorvelView::selectRows,
                              CRect(0, nFirst, m_pView->GetColumnCount() - 1, nLast));
    }

    class CEnableRecorder : public CCmdUI {
    public:
        void Enable(BOOL bOn) override
        {
            m_nEnabled = bOn ? 1 : 0;
            m_bEnableChanged = TRUE;
        }
        int m_nEnabled = -1;
    };
    int IsEnabled(UINT nID)
    {
        CEnableRecorder cmdUI;
        cmdUI.m_nID = nID;
        cmdUI.DoUpdate(m_pView, TRUE);
        return cmdUI.m_nEnabled;
    }

    // Runs the action, then undo and redo, and checks the grid after each step: undo gives
    // the picture from before the action back, redo the picture right after it.
    template <typename Action>
    void CheckUndoRedo(int nExpectedAction, Action action)
    {
        const CGridPicture before = Picture();
        action();
        Pump();
        const CGridPicture after = Picture();
        ASSERT_FALSE(after == before) << "the action changed nothing";
        ASSERT_EQ(m_pView->GetModel().Undo().GetUndoAction(), nExpectedAction);
        EXPECT_EQ(IsEnabled(ID_EDIT_UNDO), 1);

        m_pDoc->SetModifiedFlag(FALSE);
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Picture(), before) << "after undo";
        EXPECT_TRUE(IsModified());
        EXPECT_EQ(IsEnabled(ID_EDIT_UNDO), 0) << "one level only";
        EXPECT_EQ(IsEnabled(ID_EDIT_REDO), 1);

        Command(ID_EDIT_REDO);
        EXPECT_EQ(Picture(), after) << "after redo";
        EXPECT_EQ(IsEnabled(ID_EDIT_REDO), 0);
        EXPECT_EQ(IsEnabled(ID_EDIT_UNDO), 1);
        EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), nExpectedAction);

        // And back once more: the redo recorded what the next undo needs.
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Picture(), before) << "after the second undo";
    }
};

} // namespace

TEST_F(UndoRedo, NothingToUndoOrRedoInAFreshEstimate)
{
    EXPECT_EQ(IsEnabled(ID_EDIT_UNDO), 0);
    EXPECT_EQ(IsEnabled(ID_EDIT_REDO), 0);
    const CGridPicture before = Picture();
    Command(ID_EDIT_UNDO);
    Command(ID_EDIT_REDO);
    EXPECT_EQ(Picture(), before);
}

TEST_F(UndoRedo, ACellEditAndItsTotals)
{
    const double middleTotal = Value(srMiddleTotal, scAmount);
    CheckUndoRedo(CMorvelEMView::undoCellEdit, [&] {
        GoTo(scQty, srFirstDetail);
        Type("200");
        Key(VK_RETURN);
    });
    EXPECT_DOUBLE_EQ(Value(srMiddleTotal, scAmount), middleTotal);
    Command(ID_EDIT_REDO);
    EXPECT_EQ(Cell(srFirstDetail, scQty), "200.000000");
    EXPECT_DOUBLE_EQ(Value(srFirstDetail, scAmount), 70000);
}

TEST_F(UndoRedo, UndoWithTheEditorOpenTakesBackWhatWasTyped)
{
    const std::string before = Cell(srFirstDetail, scQty);
    GoTo(scName, 4);
    Command(ID_ROW_CLEAR); // an older action the undo must not take back
    GoTo(scQty, srFirstDetail);
    Type("77");
    ASSERT_TRUE(EditorVisible());
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Cell(srFirstDetail, scQty), before);
    EXPECT_FALSE(EditorVisible());
    EXPECT_NE(m_pView->GetRowKind(4), kindDetail) << "the cleared row stays cleared";
    Command(ID_EDIT_REDO);
    EXPECT_EQ(Cell(srFirstDetail, scQty), "77.000000");
}

TEST_F(UndoRedo, InsertDeleteAndClearOfTheCurrentRow)
{
    CheckUndoRedo(CMorvelEMView::undoRowInsert, [&] {
        GoTo(scQty, 4);
        Command(ID_ROW_INSERT);
    });
    Command(ID_EDIT_REDO);
    Command(ID_EDIT_UNDO);
    CheckUndoRedo(CMorvelEMView::undoRowDelete, [&] {
        GoTo(scName, 4);
        Command(ID_ROW_DELETE);
    });
    CheckUndoRedo(CMorvelEMView::undoRowClear, [&] {
        GoTo(scName, 5);
        Command(ID_ROW_CLEAR);
    });
}

TEST_F(UndoRedo, WholeRowsInsertedAndCleared)
{
    CheckUndoRedo(CMorvelEMView::undoRowsInsert, [&] {
        SelectRows(4, 5);
        Command(ID_ROW_INSERT);
    });
    CheckUndoRedo(CMorvelEMView::undoRowsClear, [&] {
        SelectRows(4, 6);
        Command(ID_ROW_CLEAR);
    });
}

TEST_F(UndoRedo, RowsCutAndPasted)
{
    CheckUndoRedo(CMorvelEMView::undoRowsCut, [&] {
        SelectRows(4, 5);
        Command(ID_EDIT_CUT);
    });
    // Two rows copied, pasted above row 10.
    SelectRows(3, 4);
    Command(ID_EDIT_COPY);
    CheckUndoRedo(CMorvelEMView::undoRowsPaste, [&] {
        SelectRows(10, 10);
        Command(ID_EDIT_PASTE);
    });
    // The same two rows pasted over three selected rows: three rows go in, and undo takes
    // exactly those three out again.
    SelectRows(3, 4);
    Command(ID_EDIT_COPY);
    CheckUndoRedo(CMorvelEMView::undoRowsPasteCount, [&] {
        SelectRows(10, 12);
        Command(ID_EDIT_PASTE);
    });
}

TEST_F(UndoRedo, CellsCutAndPasted)
{
    CheckUndoRedo(CMorvelEMView::undoCellsCut, [&] {
        SelectBlock(scQty, 3, scPrice, 5);
        Command(ID_EDIT_CUT);
    });
    SelectBlock(scQty, 3, scPrice, 4);
    Command(ID_EDIT_COPY);
    CheckUndoRedo(CMorvelEMView::undoCellsPaste, [&] {
        SelectBlock(scQty, 10, scPrice, 13);
        Command(ID_EDIT_PASTE);
    });
    // At a single cell.
    CheckUndoRedo(CMorvelEMView::undoCellsPaste, [&] {
        GoTo(scQty, 15);
        Command(ID_EDIT_PASTE);
    });
}

TEST_F(UndoRedo, NonCalculatedRowsSetAndReleasedAreExactInverses)
{
    // Row 4 is already non-calculated before the command: undoing the mark of rows 3 to 5
    // must leave it marked.
    SelectRows(4, 4);
    Command(ID_NONCALC_SET);
    ASSERT_EQ(m_pView->GetRowKind(4), kindDetail + kindNonCalcOffset);
    CheckUndoRedo(CMorvelEMView::undoNonCalcSet, [&] {
        SelectRows(3, 5);
        Command(ID_NONCALC_SET);
    });
    EXPECT_EQ(m_pView->GetRowKind(4), kindDetail + kindNonCalcOffset);
    EXPECT_EQ(m_pView->GetRowKind(3), kindDetail);

    // Releasing a range that holds an empty row: undo does not turn it into kind 50.
    const int nEmpty = m_pView->GetUsedRows() + 1;
    SelectRows(4, 4);
    Command(ID_NONCALC_SET);
    CheckUndoRedo(CMorvelEMView::undoNonCalcRelease, [&] { m_pView->SetNonCalculated(false, 3, nEmpty); });
    EXPECT_EQ(m_pView->GetRowKind(nEmpty), kindEmpty);
}

TEST_F(UndoRedo, FixedRateChangeAndItsRedoFromTheKeptSettings)
{
    CheckUndoRedo(CMorvelEMView::undoFixedRate, [&] {
        SelectBlock(scPrice, 3, scPrice, 6);
        CMorvelEMView::CRateCondition condition;
        condition.nCol1 = scQty;
        condition.nRelation1 = 5; // greater than
        condition.strValue1 = "10";
        m_pView->ApplyFixedRateChange("*2", condition);
    });
}

TEST_F(UndoRedo, ASpecialRowMadeByACommand)
{
    CheckUndoRedo(CMorvelEMView::undoSpecialRow, [&] {
        GoTo(scName, 4);
        m_pView->InsertKindHeading(CString::FromUtf8("追加種目"), CString::FromUtf8("式"));
        // The heading command leaves the totals to the next recalculation (F7); the redo
        // recalculates from the row it puts back.
        Command(ID_RECALCULATE);
    });
}

TEST_F(UndoRedo, ARecordOverTakenByRowsMovedElsewhereIsNotUsed)
{
    GoTo(scQty, srFirstDetail);
    Type("200");
    Key(VK_RETURN);
    ASSERT_EQ(IsEnabled(ID_EDIT_UNDO), 1);
    // Every command records its own undo; rows put in from outside any command (which
    // withdraws nothing) stand for a change the record does not know about. Below the
    // edited row they leave it where it was: undo still takes the edit back.
    const auto feed = [this](int nRow) {
        const CMorvelView::CUndoKeepingScope keepUndo;
        m_pView->InsertRows(nRow, m_pView->GetPageRows());
    };
    const int nPageRows = m_pView->GetPageRows();
    feed(nPageRows + 2);
    ASSERT_GT(m_pView->GetUsedRows(), nPageRows * 2);
    EXPECT_EQ(IsEnabled(ID_EDIT_UNDO), 1);
    GoTo(scName, 0);
    const CGridPicture fed = Picture();
    Command(ID_EDIT_UNDO);
    EXPECT_NE(Cell(srFirstDetail, scQty), "200.000000");
    Command(ID_EDIT_REDO);
    EXPECT_EQ(Picture(), fed);

    // Rows put in above it move it down: the record no longer names it.
    feed(0);
    EXPECT_EQ(IsEnabled(ID_EDIT_UNDO), 0);
    const CGridPicture before = Picture();
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Picture(), before) << "nothing was written to the row that moved";
}

TEST_F(UndoRedo, TotalAndDiscountRowsAreTakenBackAndMadeAgainByTheKeys)
{
    const auto keys = [this](int nKey) {
        RealInput::PressKeys(m_pView->GetClientWidget(), Qt::ControlModifier, nKey);
        Pump();
    };
    const std::function<void()> commands[] = {
        [this] { Command(ID_TOTAL_SMALL); },
        [this] { Command(ID_TOTAL_MIDDLE); },
        [this] { Command(ID_TOTAL_LARGE); },
        [this] { Command(ID_TOTAL_KIND); },
        [this] { Command(ID_TOTAL_GRAND); },
        [this] { Command(ID_TAX_ROW); },
        [this] { m_pView->InsertDiscount("1000"); }, // the discount dialog's OK
        [this] {
            m_pView->InsertDiscountTotal(CMorvelEMView::levelMiddle);
        }, // the discount total dialog's OK
    };
    GoTo(scName, srMiddleTotal);
    const CGridPicture before = Picture();
    for (size_t i = 0; i < std::size(commands); ++i) {
        commands[i]();
        const CGridPicture made = Picture();
        ASSERT_EQ(made.nUsedRows, before.nUsedRows + 1) << i;
        EXPECT_EQ(IsEnabled(ID_EDIT_UNDO), 1) << i;
        keys(Qt::Key_Z);
        EXPECT_EQ(Picture(), before) << i;
        keys(Qt::Key_Y);
        EXPECT_EQ(Picture(), made) << i;
        keys(Qt::Key_Z);
        EXPECT_EQ(Picture(), before) << i;
        GoTo(scName, srMiddleTotal);
    }
}

TEST_F(UndoRedo, BothAreDisabledOnTheSummaryPageAndAfterSaveAndReopen)
{
    GoTo(scQty, srFirstDetail);
    Type("200");
    Key(VK_RETURN);
    ASSERT_EQ(IsEnabled(ID_EDIT_UNDO), 1);
    m_pView->SendMessage(WM_COMMAND, CTabWnd::ID_SUMMARY_PAGE_TAB, 0);
    Pump();
    EXPECT_EQ(IsEnabled(ID_EDIT_UNDO), 0);
    m_pView->SendMessage(WM_COMMAND, CTabWnd::ID_EDIT_PAGE_TAB, 0);
    Pump();
    EXPECT_EQ(IsEnabled(ID_EDIT_UNDO), 1);

    const CString path = m_pFolder->System("WORK/undo.MMD");
    ASSERT_TRUE(m_pDoc->OnSaveDocument(path));
    m_pDoc->OnCloseDocument();
    m_pDoc = nullptr;
    m_pView = nullptr;
    ASSERT_NE(OpenEstimate(path), nullptr);
    EXPECT_EQ(Cell(srFirstDetail, scQty), "200.000000");
    EXPECT_EQ(IsEnabled(ID_EDIT_UNDO), 0);
    EXPECT_EQ(IsEnabled(ID_EDIT_REDO), 0);
}

TEST_F(UndoRedo, WhatIsCopiedInAnotherWindowMeanwhileDoesNotChangeWhatUndoPutsBack)
{
    CMorvelEMView* pFirst = m_pView;
    std::filesystem::copy_file(m_pFolder->Native("WORK/サンプル見積.MMD"),
                               m_pFolder->Native("WORK/second.MMD"));
    CMorvelEMView* pSecond = OpenEstimate(m_pFolder->System("WORK") + "\\second.MMD");
    ASSERT_NE(pSecond, nullptr);

    // Rows cut and cells pasted in the first window, then copies and a paste in the second
    // (each window's commands sent to its own grid).
    m_pView = pFirst;
    const CGridPicture before = Picture();
    SelectRows(4, 5);
    m_pView->SendMessage(WM_COMMAND, ID_EDIT_CUT, 0);
    m_pView = pSecond;
    SelectRows(10, 14);
    m_pView->SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
    m_pView = pFirst;
    m_pView->SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    EXPECT_EQ(Picture(), before) << "the cut rows come back, not the ones copied later";

    SelectBlock(scQty, 3, scPrice, 4);
    m_pView->SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
    const CGridPicture beforePaste = Picture();
    SelectBlock(scQty, 10, scPrice, 11);
    m_pView->SendMessage(WM_COMMAND, ID_EDIT_PASTE, 0);
    m_pView = pSecond;
    SelectBlock(scQty, 20, scPrice, 21);
    m_pView->SendMessage(WM_COMMAND, ID_EDIT_PASTE, 0); // refills the shared undo cell buffer
    m_pView = pFirst;
    m_pView->SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    EXPECT_EQ(Picture(), beforePaste) << "the first window's overwritten cells come back";
}

TEST_F(UndoRedo, ABlockPastedAtOneCellWritesAllItsCellsAndTheKeysTakeItBackAndDoItAgain)
{
    SelectBlock(scQty, srFirstDetail, scUnit, srFirstDetail + 1);
    CtrlKey(Qt::Key_C);
    const CGridPicture before = Picture();
    GoTo(scQty, 10);
    CtrlKey(Qt::Key_V);
    for (int r = 0; r < 2; ++r)
        for (int c = scQty; c <= scUnit; ++c)
            EXPECT_EQ(Cell(10 + r, c), Cell(srFirstDetail + r, c)) << r << "," << c;
    const CGridPicture after = Picture();
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(Picture(), before);
    CtrlKey(Qt::Key_Y);
    EXPECT_EQ(Picture(), after);
}

// Cells written into empty rows make them detail rows with amounts (and may make rows past
// the used ones). Undo gives every row back as it was, kind and amounts included, and with
// it the totals as a full recalculation makes them; redo gives the rows the command made.
TEST_F(UndoRedo, CellCommandsTakenBackGiveTheRowsTheirKindsAmountsAndTotalsBack)
{
    // Two empty rows between used ones, below the first middle subtotal.
    int nEmpty = -1;
    for (int r = srMiddleTotal; r + 2 < m_pView->GetUsedRows() && nEmpty < 0; ++r)
        if (m_pView->GetRowKind(r) == kindEmpty && m_pView->GetRowKind(r + 1) == kindEmpty)
            nEmpty = r;
    ASSERT_GE(nEmpty, 0);
    const int nPast = m_pView->GetUsedRows() + 2;
    const auto copyQuantitiesToPrices = [this] {
        GoTo(scQty, 5); // the rows in sight
        SelectBlock(scQty, 5, scPrice, 6);
        CtrlKey(Qt::Key_C);
    };
    const std::function<void()> commands[] = {
        [&] { // a paste at one cell
            copyQuantitiesToPrices();
            GoTo(scQty, nEmpty);
            CtrlKey(Qt::Key_V);
        },
        [&] { // a paste over a block, the source repeated
            copyQuantitiesToPrices();
            SelectBlock(scQty, nEmpty, scPrice, nEmpty + 1);
            CtrlKey(Qt::Key_V);
        },
        [&] { // a paste below the used rows
            copyQuantitiesToPrices();
            GoTo(scQty, nPast);
            CtrlKey(Qt::Key_V);
        },
        [&] { // a cut of the numbers a row's amount is made of
            GoTo(scQty, srFirstDetail);
            SelectBlock(scQty, srFirstDetail, scPrice, srFirstDetail + 1);
            CtrlKey(Qt::Key_X);
        },
        [&] { // a number typed into an empty row
            GoTo(scQty, nEmpty);
            Type("3");
            Key(VK_RETURN);
        },
        [&] { // a replacement in a row that had texts but no kind (put there below)
            GoTo(scName, nEmpty);
            const CString find("12"), replacement("4");
            ASSERT_EQ(m_pView->SendMessage(WM_FINDREPLACE_REQUEST, FRQ_DOWN,
                                           reinterpret_cast<LPARAM>(find.c_str())),
                      1);
            m_pView->SendMessage(WM_FINDREPLACE_REQUEST, FRQ_REPLACE,
                                 reinterpret_cast<LPARAM>(replacement.c_str()));
            ASSERT_EQ(m_pView->GetRowKind(nEmpty), kindDetail);
        },
    };
    for (size_t i = 0; i < std::size(commands); ++i) {
        if (i + 1 == std::size(commands)) {
            m_pView->SetCellText("12", nEmpty, scQty, TRUE);
            m_pView->SetCellText("100", nEmpty, scPrice, TRUE);
        }
        // The estimate as a full recalculation makes it (F7): what undo must give back.
        Command(ID_RECALCULATE);
        const CGridPicture before = Picture();
        commands[i]();
        const CGridPicture after = Picture();
        ASSERT_FALSE(after == before) << i;
        CtrlKey(Qt::Key_Z);
        EXPECT_EQ(Picture(), before) << i;
        CtrlKey(Qt::Key_Y);
        EXPECT_EQ(Picture(), after) << i;
        CtrlKey(Qt::Key_Z);
        // The next command starts from the estimate as it was.
        ASSERT_EQ(Picture(), before) << i;
    }

    // A redo left over from an older command after a newer one has no rows of its own to
    // put back: the rows stay.
    commands[0]();
    CtrlKey(Qt::Key_Z);
    GoTo(scQty, srFirstDetail);
    Type("3");
    Key(VK_RETURN);
    const CGridPicture typed = Picture();
    CtrlKey(Qt::Key_Y);
    EXPECT_EQ(Picture(), typed);
}

// A new command after an undo ends what redo could do: a row insert taken back, then a
// quantity typed, leaves nothing to redo, so Ctrl+Y puts no row in at the old place.
TEST_F(UndoRedo, ACommandAfterAnUndoLeavesNothingToRedo)
{
    GoTo(scQty, 4);
    Command(ID_ROW_INSERT);
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(IsEnabled(ID_EDIT_REDO), 1);
    GoTo(scQty, 6);
    Type("3");
    Key(VK_RETURN);
    const CGridPicture typed = Picture();
    EXPECT_EQ(IsEnabled(ID_EDIT_REDO), 0);
    CtrlKey(Qt::Key_Y);
    EXPECT_EQ(Picture(), typed);
    // The typing itself is what undo takes back.
    CtrlKey(Qt::Key_Z);
    EXPECT_NE(Picture(), typed);
}

namespace {

// Page alignment on, as the program starts by default: the sample's headings after empty
// rows start pages (rows 36 and 54 at 18 rows a page).
class UndoRedoAligned : public UndoRedo {
protected:
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Settings", "AdjustPage", "1");
    }
    void SetUp() override
    {
        UndoRedo::SetUp();
        // Four copies of the sample one after another. A paste aligns only the next heading,
        // so the headings of the copies stand anywhere on their pages until a cut aligns
        // them all.
        const int nRows = m_pView->GetUsedRows();
        SelectManyRows(0, nRows - 1);
        Command(ID_EDIT_COPY);
        for (int i = 0; i < 3; ++i) {
            SelectManyRows(m_pView->GetUsedRows(), m_pView->GetUsedRows());
            Command(ID_EDIT_PASTE);
        }
        ASSERT_GE(m_pView->GetUsedRows(), 4 * nRows);
        // Every total worked out for all four (F7), as the undo works them out again.
        Command(ID_RECALCULATE);
    }
};

} // namespace

TEST_F(UndoRedoAligned, AHundredRowsDeletedComeBackExactlyWithTheEmptyRowsOfTheirPages)
{
    for (int nFirst : {5, 20, 40}) {
        const CGridPicture before = Picture();
        SelectManyRows(nFirst, nFirst + 99);
        Command(ID_ROW_DELETE);
        const CGridPicture after = Picture();
        ASSERT_LT(after.nUsedRows, before.nUsedRows - 90) << nFirst;
        CtrlKey(Qt::Key_Z);
        EXPECT_EQ(Picture(), before) << nFirst;
        CtrlKey(Qt::Key_Y);
        EXPECT_EQ(Picture(), after) << nFirst;
        CtrlKey(Qt::Key_Z);
        EXPECT_EQ(Picture(), before) << nFirst;
    }
}

TEST_F(UndoRedoAligned, RowsPastedAboveAlignedHeadingsComeOutExactly)
{
    SelectRows(3, 7);
    Command(ID_EDIT_COPY);
    for (int nAt : {10, 30}) {
        const CGridPicture before = Picture();
        SelectManyRows(nAt, nAt);
        Command(ID_EDIT_PASTE);
        const CGridPicture after = Picture();
        ASSERT_FALSE(after == before) << nAt;
        CtrlKey(Qt::Key_Z);
        EXPECT_EQ(Picture(), before) << nAt;
        CtrlKey(Qt::Key_Y);
        EXPECT_EQ(Picture(), after) << nAt;
        CtrlKey(Qt::Key_Z);
        EXPECT_EQ(Picture(), before) << nAt;
    }
}

// A cut whose first row lies on a page below a heading at that page's start: the page
// alignment after the cut touches only rows from the cut on, except the empty rows at the
// start of the cut's own page, which it takes away when the next heading moves up to that
// page. Undo puts every row back and shows them: the window is what a repaint of all of it
// shows.
TEST_F(UndoRedoAligned, ACutAlignsOnlyTheRowsItMovedAndItsUndoShowsEveryRowItPutBack)
{
    const int nPage = m_pView->GetPageRows();
    // A page opened by a heading, holding rows and then empty ones, before a page opened
    // by a heading.
    int s = -1, nLast = -1;
    for (int p = nPage; p + 2 * nPage < m_pView->GetUsedRows() && s < 0; p += nPage) {
        if (!IsHeadingKind(m_pView->GetRowKind(p)) || !IsHeadingKind(m_pView->GetRowKind(p + nPage)) ||
            m_pView->GetRowKind(p + nPage - 1) != kindEmpty)
            continue;
        int r = p + nPage - 1;
        while (m_pView->GetRowKind(r) == kindEmpty)
            --r;
        if (r >= p + 4) {
            s = p;
            nLast = r;
        }
    }
    ASSERT_GE(s, 0) << "the four samples hold such a page";
    m_pView->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, s - 2),
                         reinterpret_cast<LPARAM>(m_pView->GetScrollBarCtrl(SB_VERT)->m_hWnd));

    // A cut over a heading at a page start leaves every row above it where it was.
    {
        const CGridPicture before = Picture();
        SelectManyRows(nLast, s + nPage + 2);
        Command(ID_ROW_DELETE);
        const CGridPicture after = Picture();
        ASSERT_LT(after.nUsedRows, before.nUsedRows);
        for (int r = 0; r < nLast; ++r)
            EXPECT_EQ(after.lines[static_cast<size_t>(r)], before.lines[static_cast<size_t>(r)]) << r;
        CtrlKey(Qt::Key_Z);
        EXPECT_EQ(Picture(), before);
    }

    // The page's first rows emptied: a cut of the rest of its rows lets the next heading
    // move up to the page's start, over the empty rows above the cut.
    SelectManyRows(s, s + 1);
    Command(ID_ROW_CLEAR);
    const CGridPicture before = Picture();
    SelectManyRows(s + 2, nLast);
    Command(ID_ROW_DELETE);
    ASSERT_TRUE(IsHeadingKind(m_pView->GetRowKind(s))) << "the next heading starts the page";
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(Picture(), before);
    const QImage shown = AfxGetBackBuffer(m_pView->m_hWnd)->copy();
    m_pView->Invalidate(FALSE);
    m_pView->UpdateWindow();
    EXPECT_TRUE(shown == *AfxGetBackBuffer(m_pView->m_hWnd)) << "the rows put back above the cut are shown";
}

// A row deleted or inserted above a page whose heading follows empty rows at the page's
// start: the page alignment after the command moves that heading, and undo puts every row
// back where it was instead of aligning again.
TEST_F(UndoRedoAligned, ARowDeletedOrInsertedAboveAHeadingAfterEmptyRowsComesBackExactly)
{
    // A heading opening a page after rows, given two empty rows before it.
    const int nPage = m_pView->GetPageRows();
    int nRow = -1;
    for (int p = nPage; p + nPage < m_pView->GetUsedRows() && nRow < 0; p += nPage) {
        if (IsHeadingKind(m_pView->GetRowKind(p)) && m_pView->GetRowKind(p - 2) != kindEmpty) {
            m_pView->InsertRows(p, 2);
            nRow = p - 2;
        }
    }
    ASSERT_GE(nRow, 0) << "the four samples hold a heading at a page's start";
    for (UINT nCommand : {ID_ROW_DELETE, ID_ROW_INSERT}) {
        const CGridPicture before = Picture();
        m_pView->SetSelection(CMorvelView::selectNone, CRect(0, nRow, 0, nRow));
        m_pView->SetCurrentCell(scName, nRow);
        Command(nCommand);
        const CGridPicture after = Picture();
        ASSERT_FALSE(after == before) << nCommand;
        CtrlKey(Qt::Key_Z);
        EXPECT_EQ(Picture(), before) << nCommand;
        CtrlKey(Qt::Key_Y);
        EXPECT_EQ(Picture(), after) << nCommand;
        CtrlKey(Qt::Key_Z);
        EXPECT_EQ(Picture(), before) << nCommand;
    }
}

namespace {

// The sample alone with page alignment on.
class UndoRedoSampleAligned : public UndoRedo {
protected:
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Settings", "AdjustPage", "1");
    }
};

} // namespace

// A row inserted and taken back, then a cut of a row below the used ones (it takes nothing),
// a paste that pastes nothing and an undo: the undo takes back the cut, which changed
// nothing, and neither the row the first undo took out nor the insert comes into it.
TEST_F(UndoRedoSampleAligned, AnUndoAfterACutOfNothingPutsBackNothingElse)
{
    std::vector<std::string> failures;
    const CCheckHandlerScope checks(
        [&](const CCheckFailure& failure) { failures.push_back(failure.message); });
    const int nUsed = m_pView->GetUsedRows();
    GoTo(scName, 49);
    Command(ID_ROW_INSERT);
    Command(ID_EDIT_UNDO);
    const CGridPicture before = Picture();
    GoTo(scName, nUsed + 3);
    SelectRows(nUsed + 3, nUsed + 3);
    ASSERT_EQ(m_pView->GetSelectMode(), CMorvelView::selectRows);
    Command(ID_EDIT_CUT);
    GoTo(scName, 40);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Picture(), before);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(failures, std::vector<std::string>{});
    EXPECT_EQ(Picture(), before);
}

// A cut that took nothing records nothing: the undo after it takes back the row insert
// before it, and the redo puts the row in again.
TEST_F(UndoRedo, AnUndoOfACutOfNothingLeavesTheRowInsertedBeforeIt)
{
    const int nUsed = m_pView->GetUsedRows();
    const CGridPicture before = Picture();
    GoTo(scName, 10);
    Command(ID_ROW_INSERT);
    const CGridPicture inserted = Picture();
    GoTo(scName, nUsed + 4);
    SelectRows(nUsed + 4, nUsed + 4);
    Command(ID_EDIT_CUT);
    EXPECT_EQ(Picture(), inserted);
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(Picture(), before);
    CtrlKey(Qt::Key_Y);
    EXPECT_EQ(Picture(), inserted);
}

// Undo of a cut makes the cut's first row current, far below the rows in sight: the cell
// that was current before shows no frame any more, as a repaint of the whole grid shows.
TEST_F(UndoRedo, AnUndoThatMovesTheCurrentCellLeavesNoFrameBehind)
{
    const int nBelow = m_pView->GetUsedRows() - 1;
    GoTo(scName, nBelow);
    SelectRows(nBelow, nBelow);
    Command(ID_EDIT_CUT);
    GoTo(scName, 0);
    GoTo(scQty, srFirstDetail);
    CtrlKey(Qt::Key_Z);
    ASSERT_EQ(m_pView->GetCurrentRow(), nBelow);
    const QImage shown = AfxGetBackBuffer(m_pView->m_hWnd)->copy();
    m_pView->Invalidate(FALSE);
    m_pView->UpdateWindow();
    EXPECT_TRUE(shown == *AfxGetBackBuffer(m_pView->m_hWnd));
}

// 項目ｸﾘｱ on the amount column: the details' amounts come back from their quantities and
// prices, the typed discounts are gone, and every figure (subtotals, totals, the status
// bar) is what a full recalculation makes of that; the window shows exactly those figures,
// and undo gives the column back, discounts included.
TEST_F(UndoRedo, ItemClearOfTheAmountsShowsEveryFigureItLeavesAndIsTakenBack)
{
    m_pView->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 10),
                         reinterpret_cast<LPARAM>(m_pView->GetScrollBarCtrl(SB_VERT)->m_hWnd));
    Pump();
    int nDiscount = -1;
    for (int r = 0; r < m_pView->GetUsedRows() && nDiscount < 0; ++r)
        if (m_pView->GetRowKind(r) == kindDiscount && Value(r, scAmount) < 0)
            nDiscount = r;
    ASSERT_GE(nDiscount, 0);
    const std::string discount = Cell(nDiscount, scAmount);
    CheckUndoRedo(CMorvelEMView::undoItemClear, [&] {
        const CPoint header(CellPoint(scAmount, 10).x, m_pView->GetHeaderHeight() / 2);
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(header.x, header.y));
        m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(header.x, header.y));
        ASSERT_EQ(IsEnabled(ID_ITEM_CLEAR), 1);
        Command(ID_ITEM_CLEAR);
        EXPECT_EQ(Cell(nDiscount, scAmount), "");
        EXPECT_NE(Cell(srFirstDetail, scAmount), "") << "an amount its row works out";
        const QImage shown = AfxGetBackBuffer(m_pView->m_hWnd)->copy();
        const CGridPicture cleared = Picture();
        m_pView->Invalidate(FALSE);
        m_pView->UpdateWindow();
        EXPECT_TRUE(shown == *AfxGetBackBuffer(m_pView->m_hWnd)) << "every figure written is shown";
        Command(ID_RECALCULATE);
        EXPECT_EQ(Picture(), cleared) << "the figures of a full recalculation";
    });
    EXPECT_EQ(Cell(nDiscount, scAmount), discount);
}
