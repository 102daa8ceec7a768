// What the parts window's commands leave behind: after each command (typing, paste, cut,
// row insert, delete and clear, CSV input, the unit pick, sort, and undo) every figure of the
// list is what a recalculation of every row gives; a paste over a whole column or the whole
// grid adds no rows, and undo gives back the rows a paste or typing added; typing, a sort,
// rows read and a unit picked are undone and redone; a figure goes with the number it was
// worked out from; a command that changes nothing records no undo step.
#include "tests/parts/PartsWindowFixture.h"

#include "app/CMainFrame.h"
#include "estimate_tools/CPickDialogs.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CStatusBar.h"
#include "resources/EstimateEditIds.h"
#include "resources/EstimateIoIds.h"
#include "tests/estimate_tools/EstimateIoTestSupport.h"
#include "tests/parts/PartsTestSupport.h"
#include "tests/support/RealInput.h"

#include <string>
#include <vector>

namespace {

enum { colName = 0, colSpec = 1, colQty = 2, colUnit = 3, colPrice = 4, colAmount = 5, colNote = 6 };

class PartsCommandFiguresTest : public PartsWindowTest {
protected:
    void SetUp() override
    {
        PartsWindowTest::SetUp();
        RegisterEstimateTools();
        ASSERT_NE(nullptr, OpenSample());
        m_pView->SetFocus();
        Pump();
    }
    void TypeInto(int nCol, int nRow, const char* lpszText)
    {
        Click(nCol, nRow);
        Type(lpszText);
        EditorKey(VK_RETURN);
    }
    void RecalculateAll(CMorvelPMView& view) const
    {
        for (int r = 0; r < m_pDoc->GetRowsInUse(); ++r)
            view.CalcRow(r, 0);
    }
    // The list's rows copied into a list of the same form without a window, every row
    // recalculated there: the texts a full recalculation gives.
    std::vector<std::string> FullyRecalculated() const
    {
        OpenedParts copy;
        copy.doc->m_form = m_pDoc->m_form;
        copy.doc->SetRowLimit(m_pView->GetRowLimit());
        copy.view->TakeDocumentRows();
        for (int r = 0; r < m_pDoc->GetRowsInUse(); ++r)
            for (int c = 0; c < m_pView->GetColumnCount(); ++c)
                copy.doc->SetCell(r, c, m_pView->GetCellText(r, c));
        RecalculateAll(*copy.view);
        std::vector<std::string> cells;
        for (int r = 0; r < m_pDoc->GetRowsInUse(); ++r)
            for (int c = 0; c < m_pView->GetColumnCount(); ++c)
                cells.push_back(copy.view->GetCellText(r, c).ToUtf8());
        return cells;
    }
    void ExpectFullRecalculationsFigures(const char* lpszStep)
    {
        EXPECT_EQ(FullyRecalculated(), AllCells()) << lpszStep;
    }
    void ImportCsv(const std::string& text)
    {
        const std::string native = m_dir.NativeFile("WORK/IN.CSV");
        WriteNativeFile(native, std::vector<uint8_t>(text.begin(), text.end()));
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(SystemPathFromNative(native));
        answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
            for (int nCol : {colName, colQty, colPrice})
                DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, nCol);
            ClickDlgButton(dlg, IDOK);
        });
        for (int nSource : {1, 2, 3})
            answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST, [nSource](CDialog& dlg) {
                DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, nSource);
            });
        Command(ID_TEXT_INPUT);
        EXPECT_EQ(0, answerer.CountUnanswered());
    }
    // The first unit of the unit list picked for a cell.
    void PickUnit(int nCol, int nRow)
    {
        Click(nCol, nRow);
        Command(ID_UNIT);
        auto* pPick = dynamic_cast<CUnitPickDialog*>(m_pView->GetUnitPick());
        ASSERT_NE(nullptr, pPick);
        pPick->List().SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ClickDlgButton(*pPick, IDOK);
    }
    void Sort(bool bDescending)
    {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_SORT, [bDescending](CDialog& dlg) {
            ClickDlgButton(dlg, bDescending ? IDC_SORT_DESCENDING : IDC_SORT_ASCENDING);
        });
        Command(ID_SORT);
    }
};

} // namespace

TEST_F(PartsCommandFiguresTest, AWholeColumnPastedAddsNoRowsAndUndoGivesBackTheRowsAPasteAdded)
{
    const auto before = AllCells();
    ASSERT_EQ(5, m_pDoc->GetRowsInUse());
    ClickTitle(colQty);
    ASSERT_EQ(CMorvelView::selectColumn, m_pView->GetSelectMode());
    Keys(Qt::ControlModifier, Qt::Key_C);
    Keys(Qt::ControlModifier, Qt::Key_V);
    EXPECT_EQ(5, m_pDoc->GetRowsInUse());
    EXPECT_EQ(before, AllCells());
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(5, m_pDoc->GetRowsInUse());

    // One cell pasted three rows past the last: the list has nine rows, and undo gives back
    // five; redo pastes it again.
    Click(colQty, 0);
    Keys(Qt::ControlModifier, Qt::Key_C);
    Click(colQty, 8);
    Keys(Qt::ControlModifier, Qt::Key_V);
    ASSERT_EQ(9, m_pDoc->GetRowsInUse());
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(5, m_pDoc->GetRowsInUse());
    EXPECT_EQ(before, AllCells());
    Keys(Qt::ControlModifier, Qt::Key_Y);
    EXPECT_EQ(9, m_pDoc->GetRowsInUse());
    EXPECT_EQ(Cell(0, colQty), Cell(8, colQty));

    // One cell over the whole grid (the corner): every cell of the nine rows takes it.
    Click(colSpec, 0);
    Keys(Qt::ControlModifier, Qt::Key_C);
    const std::string spec = Cell(0, colSpec);
    RealInput::Drag(m_pView->GetClientWidget(), QPoint(1, 1), QPoint(1, 1));
    Pump();
    ASSERT_EQ(CMorvelView::selectRows, m_pView->GetSelectMode());
    Keys(Qt::ControlModifier, Qt::Key_V);
    EXPECT_EQ(9, m_pDoc->GetRowsInUse());
    EXPECT_EQ(spec, Cell(8, colNote));
}

TEST_F(PartsCommandFiguresTest, TypingAndASortAreUndoneAndRedoneWithTheirFigures)
{
    // 異形棒鋼 1,250.5 kg at 98 makes 122,549; at 99, 123,799.
    ASSERT_EQ("122549.000000", Cell(0, colAmount));
    const auto before = AllCells();
    TypeInto(colPrice, 0, "99");
    EXPECT_EQ("123799.000000", Cell(0, colAmount));
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(before, AllCells());
    Keys(Qt::ControlModifier, Qt::Key_Y);
    EXPECT_EQ("99.000000", Cell(0, colPrice));
    EXPECT_EQ("123799.000000", Cell(0, colAmount));
    Keys(Qt::ControlModifier, Qt::Key_Z);
    ASSERT_EQ(before, AllCells());

    // Typing two rows past the last adds three rows; undo gives back five.
    TypeInto(colName, 7, "x");
    ASSERT_EQ(8, m_pDoc->GetRowsInUse());
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(5, m_pDoc->GetRowsInUse());
    // Esc leaves no row behind either.
    Click(colName, 7);
    Type("y");
    EditorKey(VK_ESCAPE);
    EXPECT_EQ(5, m_pDoc->GetRowsInUse());

    ClickTitle(colPrice);
    Sort(true);
    const auto sorted = AllCells();
    ASSERT_NE(before, sorted);
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(before, AllCells());
    Keys(Qt::ControlModifier, Qt::Key_Y);
    EXPECT_EQ(sorted, AllCells());
}

TEST_F(PartsCommandFiguresTest, RowsReadFromACsvFileAndAUnitPickedAreUndoneAndRedone)
{
    const auto before = AllCells();
    Click(colName, 2);
    ImportCsv(Sj("鉄筋,2.5,400\r\n番線,3,120\r\n"));
    ASSERT_EQ(7, m_pDoc->GetRowsInUse());
    EXPECT_EQ("1000.000000", Cell(2, colAmount));
    const auto read = AllCells();
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(before, AllCells());
    Keys(Qt::ControlModifier, Qt::Key_Y);
    EXPECT_EQ(read, AllCells());

    // A unit picked for a new row starts the row; undo takes the row away again.
    PickUnit(colUnit, 7);
    ASSERT_EQ(8, m_pDoc->GetRowsInUse());
    ASSERT_NE("", Cell(7, colUnit));
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(read, AllCells());
}

// A CSV file saved as UTF-8 (here without the byte-order mark) reads as the Shift-JIS file of
// the same text does: its Japanese as written, its full-width numbers as numbers.
TEST_F(PartsCommandFiguresTest, ACsvSavedAsUtf8ReadsAsTheSameShiftJisText)
{
    Click(colName, 2);
    ImportCsv(Sj("鉄筋,2.5,400\r\n番線,3,120\r\n"));
    const auto fromShiftJis = AllCells();
    Keys(Qt::ControlModifier, Qt::Key_Z);
    Click(colName, 2);
    ImportCsv("鉄筋,２．５,400\r\n番線,3,１２０\r\n");
    EXPECT_EQ(fromShiftJis, AllCells());
    EXPECT_EQ("鉄筋", Cell(2, colName));
    EXPECT_EQ("1000.000000", Cell(2, colAmount));
}

TEST_F(PartsCommandFiguresTest, EveryCommandLeavesTheFiguresOfAFullRecalculation)
{
    // The form as the sample's, with 備考 calculated: once a constant, which every row has
    // (an empty one too), once from 規格, a text column whose cell may hold a number.
    for (const char* lpszFormula : {"1.1", "B*2"}) {
        SCOPED_TRACE(lpszFormula);
        m_pDoc->m_form.GetItem(colNote, 1) = CString::FromUtf8("計算");
        m_pDoc->m_form.GetItem(colNote, 4) = lpszFormula;
        RecalculateAll(*m_pView);
        ASSERT_EQ(FullyRecalculated(), AllCells());

        TypeInto(colSpec, 1, "3");
        ExpectFullRecalculationsFigures("typing into a text column");
        TypeInto(colQty, 2, "7");
        ExpectFullRecalculationsFigures("typing into a number column");

        // The amounts cut: the formula gives them back. The quantities pasted elsewhere,
        // and the paste undone.
        ClickTitle(colAmount);
        Keys(Qt::ControlModifier, Qt::Key_X);
        ExpectFullRecalculationsFigures("cut");
        Click(colQty, 0);
        Keys(Qt::ControlModifier, Qt::Key_C);
        Click(colQty, 3);
        Keys(Qt::ControlModifier, Qt::Key_V);
        ExpectFullRecalculationsFigures("paste");
        Keys(Qt::ControlModifier, Qt::Key_Z);
        ExpectFullRecalculationsFigures("undo of the paste");

        Click(colName, 1);
        Command(ID_ROW_INSERT);
        ExpectFullRecalculationsFigures("row insert");
        Command(ID_ROW_CLEAR_CTX);
        ExpectFullRecalculationsFigures("row clear");
        Command(ID_ROW_DELETE);
        ExpectFullRecalculationsFigures("row delete");
        Keys(Qt::ControlModifier, Qt::Key_Z);
        ExpectFullRecalculationsFigures("undo of the row delete");

        Click(colName, 2);
        ImportCsv(Sj("鉄筋,2.5,400\r\n番線,3,120\r\n"));
        ExpectFullRecalculationsFigures("CSV input");
        // A unit picked for a new row starts the row.
        PickUnit(colUnit, m_pDoc->GetRowsInUse());
        ExpectFullRecalculationsFigures("unit pick");

        ClickTitle(colPrice);
        Sort(false);
        ExpectFullRecalculationsFigures("sort");
        Keys(Qt::ControlModifier, Qt::Key_Z);
        ExpectFullRecalculationsFigures("undo of the sort");
    }
}

// A number cut from a cell, or emptied by typing or by a paste, takes the figure its row's
// formula worked out from it along: 生コンクリート's quantity cut leaves no amount, in the
// window and in the file. A figure typed beside an empty quantity, and one beside a
// quantity written as a word, stay.
TEST_F(PartsCommandFiguresTest, AFigureGoesWithTheNumberItWasWorkedOutFrom)
{
    // 生コンクリート 12.75 m3 at 14,800 makes 188,700.
    ASSERT_EQ("188700.000000", Cell(1, colAmount));
    const auto before = AllCells();
    Click(colQty, 1);
    Keys(Qt::ControlModifier, Qt::Key_X);
    EXPECT_EQ("", Cell(1, colQty));
    EXPECT_EQ("", Cell(1, colAmount));
    ExpectFullRecalculationsFigures("cut");
    ASSERT_TRUE(m_pDoc->OnSaveDocument(m_pDoc->GetPathName()));
    {
        OpenedParts saved;
        ASSERT_TRUE(saved.doc->OnOpenDocument(m_pDoc->GetPathName()));
        EXPECT_EQ("", saved.view->GetCellText(1, colAmount).ToUtf8());
    }
    Keys(Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(before, AllCells());

    // The quantity emptied in the editor (F2, the text erased, Enter).
    Click(colQty, 2);
    Key(VK_F2);
    CGridCellEdit* pEdit = m_pView->GetCellEdit();
    ASSERT_NE(nullptr, pEdit);
    pEdit->SetSel(0, -1);
    pEdit->ReplaceSel("", FALSE);
    EditorKey(VK_RETURN);
    EXPECT_EQ("", Cell(2, colAmount)) << "typed empty";

    // An empty cell pasted over a price.
    Click(colNote, 0);
    Keys(Qt::ControlModifier, Qt::Key_C);
    Click(colPrice, 0);
    Keys(Qt::ControlModifier, Qt::Key_V);
    EXPECT_EQ("", Cell(0, colPrice));
    EXPECT_EQ("", Cell(0, colAmount)) << "pasted empty";
    ExpectFullRecalculationsFigures("typed and pasted empty");

    // An amount typed where the quantity is empty stays; so does one beside a quantity
    // written as a word.
    TypeInto(colAmount, 2, "50000");
    EXPECT_EQ("50000.000000", Cell(2, colAmount));
    Click(colQty, 3);
    Key(VK_F2);
    pEdit->SetSel(0, -1);
    pEdit->ReplaceSel(CString(Sj("一式").c_str()), FALSE);
    EditorKey(VK_RETURN);
    ASSERT_EQ("一式", Cell(3, colQty));
    EXPECT_EQ("1260.000000", Cell(3, colAmount));
    ExpectFullRecalculationsFigures("typed beside no quantity");
}

// A paste, an edit or a cut that writes what the cells hold records no undo step; a paste that
// adds rows shows the rows in use in the status bar at once.
TEST_F(PartsCommandFiguresTest, ACommandThatChangesNothingRecordsNoUndoStep)
{
    Click(colQty, 1);
    Keys(Qt::ControlModifier, Qt::Key_C);
    Keys(Qt::ControlModifier, Qt::Key_V);
    EXPECT_EQ(0, Enabled(ID_EDIT_UNDO)) << "a cell pasted onto itself";
    Key(VK_F2);
    EditorKey(VK_RETURN);
    EXPECT_EQ(0, Enabled(ID_EDIT_UNDO)) << "an edit confirmed unchanged";
    Click(colNote, 0);
    Keys(Qt::ControlModifier, Qt::Key_X);
    EXPECT_EQ(0, Enabled(ID_EDIT_UNDO)) << "an empty cell cut";

    // The five rows copied and pasted as rows at the sixth.
    RealInput::Drag(m_pView->GetClientWidget(), QPoint(5, m_pView->GetMetrics().nHeaderHeight + 5),
                    QPoint(5, m_pView->GetMetrics().nHeaderHeight + 4 * m_pView->GetRowHeight() + 5));
    Pump();
    ASSERT_EQ(CMorvelView::selectRows, m_pView->GetSelectMode());
    Keys(Qt::ControlModifier, Qt::Key_C);
    Click(colName, 5);
    Keys(Qt::ControlModifier, Qt::Key_V);
    ASSERT_EQ(10, m_pDoc->GetRowsInUse());
    CString strPane;
    CMainFrame::GetMain()->GetStatusBar().GetPaneText(
        CMainFrame::GetMain()->GetStatusBar().CommandToIndex(ID_INDICATOR_PANE1), strPane);
    EXPECT_NE(std::string::npos, strPane.ToUtf8().find("最大行 10")) << strPane.ToUtf8();
    EXPECT_EQ(1, Enabled(ID_EDIT_UNDO));
}
