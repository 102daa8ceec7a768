// Editing a parts list in its window as a user does: typing into cells, F2, Esc, the arrow
// keys' wrap at the row ends, the row commands with their undo and redo, the enabling of
// the commands by the selection, and the status line.
#include "tests/parts/PartsWindowFixture.h"

#include "app/CMainFrame.h"
#include "engine/estimate/CGridRow.h"
#include "grid/ModelessMessages.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CStatusBar.h"
#include "tests/support/RealInput.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QWidget>

namespace {

// The sample list's columns.
enum { colName = 0, colSpec = 1, colQty = 2, colUnit = 3, colPrice = 4, colAmount = 5, colNote = 6 };

class PartsEditingTest : public PartsWindowTest {
protected:
    void SetUp() override
    {
        PartsWindowTest::SetUp();
        ASSERT_NE(nullptr, OpenSample());
    }
    std::string EditorText()
    {
        CString strText;
        if (CGridCellEdit* pEdit = m_pView->GetCellEdit())
            pEdit->GetText(strText);
        return strText.ToUtf8();
    }
    bool EditorVisible()
    {
        CGridCellEdit* pEdit = m_pView->GetCellEdit();
        return pEdit != nullptr && (pEdit->GetStyle() & WS_VISIBLE) != 0;
    }
    void SelectRows(int nFirst, int nLast)
    {
        m_pView->SetSelection(CMorvelView::selectRows,
                              CRect(0, nFirst, m_pView->GetColumnCount() - 1, nLast));
    }
    std::vector<std::string> Row(int nRow) const
    {
        std::vector<std::string> cells;
        for (int c = 0; c < m_pView->GetColumnCount(); ++c)
            cells.push_back(Cell(nRow, c));
        return cells;
    }
};

} // namespace

TEST_F(PartsEditingTest, TypingANumberOpensTheEditorRightAlignedAndEnterStoresItAndMovesRight)
{
    Click(colQty, 6);
    Type("1");
    EXPECT_EQ(CMorvelPMView::editOpen, m_pView->GetEditState());
    EXPECT_TRUE(EditorVisible());
    EXPECT_EQ("1", EditorText());
    PARAFORMAT pf{};
    pf.cbSize = sizeof(pf);
    m_pView->GetCellEdit()->GetParaFormat(pf);
    EXPECT_EQ(PFA_RIGHT, pf.wAlignment);
    Type("2.5");
    EditorKey(VK_RETURN);
    EXPECT_FALSE(EditorVisible());
    // The quantity's rounding F(-3) and picture ###,###.## keep 12.5.
    EXPECT_EQ("12.500000", Cell(6, colQty));
    EXPECT_EQ(CPoint(colUnit, 6), CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()));
    // The price typed next makes the row's amount: 12.5 x 1,000 = 12,500.
    Click(colPrice, 6);
    Type("1,000");
    EditorKey(VK_RETURN);
    EXPECT_EQ("1000.000000", Cell(6, colPrice));
    EXPECT_EQ("12500.000000", Cell(6, colAmount));
    bool bRight = false;
    EXPECT_EQ("12,500", m_pView->GetDisplayText(6, colAmount, &bRight).ToUtf8());
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(PartsEditingTest, ATextTypedInATextColumnIsLeftAlignedAndEscKeepsTheOldText)
{
    const std::string strOld = Cell(1, colName);
    Click(colName, 1);
    Type("x");
    PARAFORMAT pf{};
    pf.cbSize = sizeof(pf);
    m_pView->GetCellEdit()->GetParaFormat(pf);
    EXPECT_EQ(PFA_LEFT, pf.wAlignment);
    EditorKey(VK_ESCAPE);
    EXPECT_EQ(CMorvelPMView::editClosed, m_pView->GetEditState());
    EXPECT_EQ(strOld, Cell(1, colName));
    // A new edit starts from its own first character, not from the abandoned text.
    Type("ab");
    EditorKey(VK_DOWN);
    EXPECT_EQ("ab", Cell(1, colName));
    EXPECT_EQ(2, m_pView->GetCurrentRow());
}

TEST_F(PartsEditingTest, F2ShowsANumberAsItsColumnPrintsItAndATextAsStored)
{
    Click(colQty, 0);
    Key(VK_F2);
    EXPECT_EQ(CMorvelPMView::editOpen, m_pView->GetEditState());
    // What the cell shows is what the editor starts with.
    EXPECT_EQ(m_pView->GetDisplayText(0, colQty, nullptr).ToUtf8(), EditorText());
    EXPECT_NE(std::string::npos, EditorText().find("1,250.5"));
    EditorKey(VK_RETURN);
    EXPECT_EQ("1250.500000", Cell(0, colQty));
    Click(colSpec, 2);
    Key(VK_F2);
    EXPECT_EQ(Cell(2, colSpec), EditorText());
    // A click elsewhere keeps what was typed.
    CGridCellEdit* pEdit = m_pView->GetCellEdit();
    pEdit->SetSel(0, -1);
    pEdit->ReplaceSel("15mm", FALSE);
    Click(colNote, 4);
    EXPECT_EQ("15mm", Cell(2, colSpec));
    EXPECT_FALSE(EditorVisible());
}

TEST_F(PartsEditingTest, LeftAndRightWrapAtTheRowEnds)
{
    const int nLast = m_pView->GetColumnCount() - 1;
    Click(0, 5);
    Key(VK_LEFT);
    EXPECT_EQ(CPoint(nLast, 4), CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()));
    Key(VK_RIGHT);
    EXPECT_EQ(CPoint(0, 5), CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()));
    Click(0, 0);
    Key(VK_LEFT);
    EXPECT_EQ(CPoint(nLast, 0), CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()));
    // The status line follows the cursor.
    EXPECT_EQ(CString::FromUtf8("   1 行   7 列  最大行 5 ").str(), m_pView->GetStatusText().str());
}

TEST_F(PartsEditingTest, RowInsertPushesTheRowsDownAndUndoAndRedoTakeItOutAndBack)
{
    const auto row2 = Row(2);
    EXPECT_EQ(0, Enabled(ID_EDIT_UNDO));
    Click(colQty, 2);
    Command(ID_ROW_INSERT_CTX);
    EXPECT_EQ(6, m_pDoc->GetRowsInUse());
    EXPECT_EQ("", Cell(2, colName));
    EXPECT_EQ(row2, Row(3));
    EXPECT_EQ(1, Enabled(ID_EDIT_UNDO));
    EXPECT_EQ(0, Enabled(ID_EDIT_REDO));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(5, m_pDoc->GetRowsInUse());
    EXPECT_EQ(row2, Row(2));
    EXPECT_EQ(0, Enabled(ID_EDIT_UNDO));
    EXPECT_EQ(1, Enabled(ID_EDIT_REDO));
    Command(ID_EDIT_REDO);
    EXPECT_EQ(6, m_pDoc->GetRowsInUse());
    EXPECT_EQ(row2, Row(3));
    EXPECT_EQ("", Cell(2, colName));
}

TEST_F(PartsEditingTest, RowsInsertedFromASelectionMadeUpwardsAreTheOnesUndoTakesOut)
{
    const auto before = AllCells();
    // The selection 2..4 made by pressing on row 4 and dragging up: the cursor is on row 4.
    Click(colName, 4);
    SelectRows(4, 2);
    Command(ID_ROW_INSERT);
    EXPECT_EQ(8, m_pDoc->GetRowsInUse());
    for (int r = 4; r <= 6; ++r)
        EXPECT_EQ("", Cell(r, colName)) << r;
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(before, AllCells());
}

TEST_F(PartsEditingTest, RowDeleteOfASelectionAndItsUndoRedoUndo)
{
    const auto before = AllCells();
    const auto row4 = Row(4);
    Click(colName, 1);
    SelectRows(1, 3);
    Command(ID_ROW_DELETE_CTX);
    EXPECT_EQ(2, m_pDoc->GetRowsInUse());
    EXPECT_EQ(row4, Row(1));
    EXPECT_EQ(CMorvelView::selectNone, m_pView->GetSelectMode());
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(before, AllCells());
    Command(ID_EDIT_REDO);
    EXPECT_EQ(2, m_pDoc->GetRowsInUse());
    EXPECT_EQ(row4, Row(1));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(before, AllCells());
}

TEST_F(PartsEditingTest, UndoOfAOneRowDeleteBringsBackEveryCellOfTheRow)
{
    const auto before = AllCells();
    Click(colPrice, 2);
    Command(ID_ROW_DELETE);
    EXPECT_EQ(4, m_pDoc->GetRowsInUse());
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(before, AllCells());
}

TEST_F(PartsEditingTest, ADeleteOfRowsPastTheUsedRowsTakesOnlyTheUsedOnes)
{
    Click(colName, 2);
    SelectRows(2, 9);
    Command(ID_ROW_DELETE);
    EXPECT_EQ(2, m_pDoc->GetRowsInUse());
    EXPECT_EQ("", Cell(2, colName));
}

TEST_F(PartsEditingTest, RowClearEmptiesTheRowsAndUndoBringsThemBack)
{
    const auto before = AllCells();
    Click(colName, 1);
    SelectRows(1, 2);
    Command(ID_ROW_CLEAR_CTX);
    for (int r = 1; r <= 2; ++r)
        for (int c = 0; c < m_pView->GetColumnCount(); ++c)
            EXPECT_EQ("", Cell(r, c));
    EXPECT_FALSE(Cell(3, colName).empty());
    const auto cleared = AllCells();
    ASSERT_EQ(1, Enabled(ID_EDIT_UNDO));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(before, AllCells());
    Command(ID_EDIT_REDO);
    EXPECT_EQ(cleared, AllCells());
}

TEST_F(PartsEditingTest, RowCommandsFollowTheSelectionKind)
{
    Click(colName, 1);
    EXPECT_EQ(1, Enabled(ID_ROW_INSERT));
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(0, 1, 1, 2));
    EXPECT_EQ(0, Enabled(ID_ROW_INSERT));
    EXPECT_EQ(0, Enabled(ID_ROW_DELETE_CTX));
    EXPECT_EQ(0, Enabled(ID_ROW_CLEAR_CTX));
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(1, 1, 1, 1));
    EXPECT_EQ(1, Enabled(ID_ROW_DELETE));
    m_pView->SetSelection(CMorvelView::selectColumn, CRect(1, 0, 1, 1099));
    EXPECT_EQ(0, Enabled(ID_ROW_CLEAR_CTX));
    SelectRows(1, 3);
    EXPECT_EQ(1, Enabled(ID_ROW_CLEAR_CTX));
}

TEST_F(PartsEditingTest, AnInsertIntoAFullGridRaisesTheLimitAndKeepsEveryRow)
{
    const int nLimit = m_pView->GetRowLimit();
    const std::string strLast = "last row";
    m_pView->SetCellText(CString(strLast), nLimit - 1, colName);
    EXPECT_EQ(nLimit, m_pDoc->GetRowsInUse());
    Click(colName, 0);
    Command(ID_ROW_INSERT);
    EXPECT_GT(m_pView->GetRowLimit(), nLimit);
    EXPECT_EQ(strLast, Cell(nLimit, colName));
}

TEST_F(PartsEditingTest, AChosenUnitIsStoredAndTheCursorMovesOnPickedOrNot)
{
    // Without a unit pick list in the program the command is disabled.
    Click(colUnit, 1);
    EXPECT_EQ(0, Enabled(ID_UNIT));
    CString strUnit = CString::FromUtf8("ｔ");
    m_pView->SendMessage(WM_PICK_UNIT, 0, reinterpret_cast<LPARAM>(&strUnit));
    EXPECT_EQ("ｔ", Cell(1, colUnit));
    EXPECT_EQ(CPoint(colUnit + 1, 1), CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()));
    // A pick closed without a choice only moves.
    const std::string strBefore = Cell(1, colPrice);
    m_pView->SendMessage(WM_PICK_UNIT, 0, 0);
    EXPECT_EQ(strBefore, Cell(1, colPrice));
    EXPECT_EQ(colPrice + 1, m_pView->GetCurrentCol());
}

TEST_F(PartsEditingTest, EnterOnTheUnitColumnOpensTheProgramsUnitPick)
{
    CString strGiven;
    CWnd* pOwner = nullptr;
    CWnd pick;
    CShellServices::Get().createUnitPick = [&](CWnd* pView, const CString& strUnit) {
        pOwner = pView;
        strGiven = strUnit;
        return &pick;
    };
    Click(colUnit, 0);
    EXPECT_EQ(1, Enabled(ID_UNIT));
    Key(VK_RETURN);
    EXPECT_EQ(m_pView, pOwner);
    EXPECT_EQ("kg", strGiven.ToUtf8());
    EXPECT_EQ(&pick, m_pView->GetUnitPick());
    // The cursor stays for the choice; while the pick is open the command is disabled.
    EXPECT_EQ(colUnit, m_pView->GetCurrentCol());
    EXPECT_EQ(0, Enabled(ID_UNIT));
    m_pView->SendMessage(WM_MODELESS_CLOSED, MODELESS_UNIT_PICK, 0);
    EXPECT_EQ(nullptr, m_pView->GetUnitPick());
}

// Find opened while a cell is being typed into starts with the typed text, which is the
// cell's from then on.
TEST_F(PartsEditingTest, FindOpenedWhileTypingStartsWithTheTypedText)
{
    CString strGiven = "-";
    CWnd dialog;
    CShellServices::Get().createFindReplaceDialog = [&](CWnd*, bool, const CString& strText) {
        strGiven = strText;
        return &dialog;
    };
    Click(colSpec, 6);
    Type("D16");
    ASSERT_TRUE(EditorVisible());
    Command(ID_EDIT_FIND_DLG);
    EXPECT_EQ("D16", strGiven.ToUtf8());
    EXPECT_EQ("D16", Cell(6, colSpec));
    EXPECT_FALSE(EditorVisible());
    m_pView->SendMessage(WM_MODELESS_CLOSED, MODELESS_FIND, 0);
}

TEST_F(PartsEditingTest, TheEnvironmentChangeGivesEveryPartsListTheNewRowHeight)
{
    CMorvelPMView* pFirst = m_pView;
    CMorvelPMDoc* pFirstDoc = m_pDoc;
    m_pDoc = dynamic_cast<CMorvelPMDoc*>(m_pApp->OpenDocumentFile(WorkFile("部材処理.MBD")));
    // The same file is not opened twice: a copy under another name makes the second list.
    if (m_pDoc == pFirstDoc) {
        std::filesystem::copy_file(m_dir.NativeFile("WORK/部材処理.MBD"), m_dir.NativeFile("WORK/copy.MBD"));
        m_pDoc = dynamic_cast<CMorvelPMDoc*>(m_pApp->OpenDocumentFile(WorkFile("copy.MBD")));
    }
    ASSERT_NE(nullptr, m_pDoc);
    CMorvelPMView* pSecond = m_pDoc->GetPartsView();
    Pump();
    const int nBefore = pSecond->GetMetrics().nRowHeight;
    LOGFONT lf{};
    CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    ASSERT_NE(nullptr, pSettings);
    lf = pSettings->m_lfRowFont[CMorvelSettings::fontPart];
    lf.lfHeight = lf.lfHeight < 0 ? lf.lfHeight * 2 : -32;
    pSettings->m_lfRowFont[CMorvelSettings::fontPart] = lf;
    pFirst->ApplyEnvironmentToAllLists();
    EXPECT_GT(pSecond->GetMetrics().nRowHeight, nBefore);
    EXPECT_GT(pFirst->GetMetrics().nRowHeight, nBefore);
    // The title header takes the row height.
    EXPECT_EQ(pFirst->GetMetrics().nRowHeight, pFirst->GetMetrics().nHeaderHeight);
    EXPECT_EQ(pSecond->GetMetrics().nRowHeight, pSecond->GetMetrics().nHeaderHeight);
}

// The input method on the grid: the pre-edit shows over the current cell, the candidate
// list opens there, and the commit types into the cell's editor.
TEST_F(PartsEditingTest, APreEditShowsOverTheCurrentCellAndItsCommitOpensTheEditor)
{
    Click(colSpec, 6);
    CRect rcCell;
    m_pView->GetCellRangeRect(colSpec, 6, colSpec, 6, &rcCell);
    QWidget* pGrid = m_pView->GetClientWidget();
    {
        QInputMethodEvent event(QString::fromUtf8("ぶざい"), {});
        QCoreApplication::sendEvent(pGrid, &event);
    }
    int nShown = 0;
    for (QWidget* w : pGrid->findChildren<QWidget*>())
        if (w->isVisibleTo(pGrid) && w->geometry().topLeft() == QPoint(rcCell.left, rcCell.top))
            ++nShown;
    EXPECT_EQ(nShown, 1);
    const QRect cursor = pGrid->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_TRUE(QRect(rcCell.left, rcCell.top, rcCell.Width(), rcCell.Height()).contains(cursor.topLeft()));
    {
        QInputMethodEvent event(QString(), {});
        event.setCommitString(QString::fromUtf8("部材"));
        QCoreApplication::sendEvent(pGrid, &event);
    }
    EXPECT_TRUE(EditorVisible());
    EXPECT_EQ("部材", EditorText());
}

// A composition belongs to the cell it shows over: a click on another cell stores it there
// first, and so does a wheel turn before the list scrolls; nothing of it stays over a cell.
TEST_F(PartsEditingTest, ACompositionIsStoredInItsCellBeforeAClickElsewhereOrAScroll)
{
    QWidget* pGrid = m_pView->GetClientWidget();
    const auto shownOver = [&](int nCol, int nRow) {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        const QRect inside = QRect(rc.left, rc.top, rc.Width(), rc.Height()).adjusted(3, 3, -3, -3);
        int nShown = 0;
        for (QWidget* w : pGrid->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            nShown += w->isVisibleTo(pGrid) && w->geometry().intersects(inside);
        return nShown;
    };
    const auto compose = [&](const char* utf8) {
        QInputMethodEvent event(QString::fromUtf8(utf8), {});
        QCoreApplication::sendEvent(pGrid, &event);
    };
    const auto centre = [&](int nCol, int nRow) {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        return QPoint(rc.CenterPoint().x, rc.CenterPoint().y);
    };

    Click(colSpec, 2);
    const std::string quantity = Cell(5, colQty);
    compose("ぶざい");
    ASSERT_EQ(shownOver(colSpec, 2), 2);
    RealInput::Click(pGrid, centre(colQty, 5));
    EXPECT_EQ("ぶざい", Cell(2, colSpec));
    EXPECT_EQ(quantity, Cell(5, colQty));
    EXPECT_EQ(CPoint(colQty, 5), CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()));
    Repaint();
    EXPECT_EQ(shownOver(colSpec, 2), 0);
    EXPECT_GE(InkExtent(colSpec, 2).first, 0) << "the cell draws its text";

    Click(colSpec, 3);
    const std::string below = Cell(4, colSpec);
    compose("こ");
    const int nFirst = m_pView->GetFirstVisibleCell().y;
    RealInput::Wheel(pGrid, centre(colSpec, 3), -1);
    ASSERT_EQ(nFirst + 1, m_pView->GetFirstVisibleCell().y);
    EXPECT_EQ("こ", Cell(3, colSpec));
    EXPECT_EQ(below, Cell(4, colSpec));
    EXPECT_EQ(shownOver(colSpec, 4), 0) << "row 4 is where row 3 was";
    EXPECT_FALSE(EditorVisible());
}

TEST_F(PartsEditingTest, RowInsertsOnAListAtTheFileRowLimitAreRefusedAndChangeNothing)
{
    // The sample's rows and empty ones after them: as many as the file can hold.
    m_pDoc->AppendRows(std::vector<std::unique_ptr<CGridRow>>(CMorvelView::MAX_FILE_ROWS - 5));
    const auto stored = [&] {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            m_pDoc->Serialize(ar);
            ar.Close();
        }
        return file.GetData();
    };
    const std::vector<BYTE> before = stored();
    CDialogAnswerer answerer;
    Click(colQty, 2);
    Command(ID_ROW_INSERT_CTX);
    SelectRows(2, 3);
    Command(ID_ROW_INSERT);
    EXPECT_EQ(stored(), before);
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(0, Enabled(ID_EDIT_UNDO));
    const std::vector<CString> texts = answerer.MessageBoxTexts();
    ASSERT_EQ(texts.size(), 2u);
    for (const CString& text : texts) {
        EXPECT_NE(text.ToUtf8().find("ファイルに保存できる 65,535 行を超えます。"), std::string::npos)
            << text.ToUtf8();
        EXPECT_NE(text.ToUtf8().find("行を挿入できません。"), std::string::npos) << text.ToUtf8();
    }
}

TEST_F(PartsEditingTest, TheRowAfterTheLastOneOfAFullListTakesNoText)
{
    m_pDoc->AppendRows(std::vector<std::unique_ptr<CGridRow>>(CMorvelView::MAX_FILE_ROWS - 5));
    const int nAfter = CMorvelView::MAX_FILE_ROWS;
    ASSERT_EQ(m_pDoc->GetRowsInUse(), nAfter);
    m_pView->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, nAfter - 3), 0);
    Click(colQty, nAfter);
    ASSERT_EQ(m_pView->GetCurrentRow(), nAfter);
    CDialogAnswerer answerer;
    Type("1");
    Key(VK_RETURN);
    Key(VK_F2);
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(m_pDoc->GetRowsInUse(), nAfter);
    EXPECT_EQ(Cell(nAfter, colQty), "");
    EXPECT_FALSE(m_pDoc->IsModified());
    // Two cells pasted on the last row would write the row after it, and so would a
    // block pasted over a selection reaching it.
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(colQty, nAfter - 3, colQty, nAfter - 2));
    Command(ID_EDIT_COPY);
    Click(colQty, nAfter - 1);
    Command(ID_EDIT_PASTE);
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(colQty, nAfter - 1, colQty + 1, nAfter));
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(m_pDoc->GetRowsInUse(), nAfter);
    EXPECT_EQ(Cell(nAfter, colQty), "");
    EXPECT_FALSE(m_pDoc->IsModified());
    const std::vector<CString> texts = answerer.MessageBoxTexts();
    ASSERT_EQ(texts.size(), 4u);
    for (const CString& text : texts)
        EXPECT_NE(text.ToUtf8().find("ファイルに保存できる 65,535 行を超えます。"), std::string::npos);
}
