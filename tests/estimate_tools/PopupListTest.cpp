// The grid's pop-up choice list: F4 opens it over the current cell with the units, the
// subjects of a level or the parts of the current parts file; the keys, the typed
// characters and the mouse choose in it as in the real list, and the choice lands in the
// grid with its undo record and the totals recalculated. Esc and the keyboard leaving the
// list close it without a choice.
#include "engine/estimate/RowKinds.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "platform/base/Path.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/platform/ui/CommonCtlTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string Sj(const char* utf8)
{
    return CString::FromUtf8(utf8).str();
}

// The parts form of the samples: 部材名 (T 2), 規格, 数量, 単位 (T 1), 単価, 金額, 備考.
const std::vector<std::array<const char*, 10>> kPartsForm = {
    {"部材名", "文字", "20", "", "", "", "2", "", "", ""},
    {"規格", "文字", "16", "", "", "", "", "", "", ""},
    {"数量", "数値", "8", "###,###.##", "", "F(-3)", "", "", "", ""},
    {"単位", "文字", "5", "", "", "", "1", "", "", ""},
    {"単価", "数値", "10", "###,###", "", "F(-1)", "", "", "", ""},
    {"金額", "計算", "12", "###,###,###", "C*E", "D(-1)", "", "", "", ""},
    {"備考", "文字", "14", "", "", "", "", "", "", ""},
};

std::string PartsFile(const std::vector<std::vector<const char*>>& rows)
{
    ByteBuilder b;
    b.Str("This is Parts Management file")
        .Word(100)
        .Str("BUZAI.MBK")
        .Str("This is part form file")
        .Word(static_cast<uint16_t>(kPartsForm.size()));
    for (const auto& item : kPartsForm)
        for (const char* text : item)
            b.Str(Sj(text));
    b.Word(static_cast<uint16_t>(rows.size())).Word(static_cast<uint16_t>(kPartsForm.size()));
    for (const auto& row : rows)
        for (const char* cell : row)
            b.Str(Sj(cell));
    b.Word(0);
    const auto& bytes = b.Bytes();
    return std::string(bytes.begin(), bytes.end());
}

const std::vector<std::vector<const char*>> kParts = {
    {"型枠A", "合板", "10.000000", "m2", "4500.000000", "45000.000000", "外注"},
    {"鉄筋", "D13", "2.000000", "t", "98000.000000", "196000.000000", ""},
    {"型枠B", "鋼製", "1234.500000", "m2", "3800.000000", "4691100.000000", "材"},
};

class PopupListTest : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        ASSERT_NE(OpenSample(), nullptr);
    }

    CPopupListCtrl& List() { return m_pView->GetPopupList(); }
    bool ListOpen() { return List().m_hWnd != nullptr && List().IsWindowVisible(); }
    int Selected() { return List().GetNextItem(-1, LVNI_SELECTED); }
    QWidget* ListViewport() { return List().GetClientWidget(); }
    QPoint EntryPoint(int nItem)
    {
        CRect rc;
        EXPECT_TRUE(List().GetItemRect(nItem, &rc, LVIR_BOUNDS));
        return QPoint(rc.left + 10, rc.CenterPoint().y);
    }
    void DoubleClickEntry(int nItem)
    {
        QWidget* w = ListViewport();
        const QPoint pt = EntryPoint(nItem);
        commonctl::Click(w, pt);
        commonctl::SendMouse(w, QEvent::MouseButtonDblClick, pt, Qt::LeftButton, Qt::LeftButton);
        // The list may be gone once the double click is handled.
        if (ListOpen())
            commonctl::SendMouse(w, QEvent::MouseButtonRelease, pt, Qt::LeftButton, Qt::NoButton);
    }
    // The index of the first unit after the first one whose text starts with a byte no
    // earlier unit starts with (so typing that byte finds it), or -1.
    int UnitFoundByFirstByte(char& chFirst) const
    {
        const CUnitFile& units = m_pApp->m_unitFile;
        for (int i = 1; i < units.GetCount(); ++i) {
            const CString& u = units.GetUnit(i);
            if (u.IsEmpty() || (static_cast<BYTE>(u[0]) & 0x80) != 0 || !isalpha(static_cast<BYTE>(u[0])))
                continue;
            bool bEarlier = false;
            for (int j = 0; j < i; ++j)
                bEarlier = bEarlier || (!units.GetUnit(j).IsEmpty() && units.GetUnit(j)[0] == u[0]);
            if (!bEarlier) {
                chFirst = u[0];
                return i;
            }
        }
        return -1;
    }
    double MiddleTotal() const { return Value(srMiddleTotal, scAmount); }
};

} // namespace

TEST_F(PopupListTest, AUnitChosenWithTheArrowsAndEnterFillsTheCellKeepsTheDetailAndIsUndone)
{
    const CUnitFile& units = m_pApp->m_unitFile;
    ASSERT_GE(units.GetCount(), 3);
    const double dTotalBefore = MiddleTotal();
    GoTo(scUnit, srFirstDetail);
    const CString strOld = m_pView->GetCellText(srFirstDetail, scUnit);
    Key(VK_F4);
    ASSERT_TRUE(ListOpen());
    EXPECT_EQ(CWnd::GetFocus(), &List());
    EXPECT_EQ(m_pView->GetPendingLevel(), CMorvelEMView::pickUnit);
    ASSERT_EQ(List().GetItemCount(), units.GetCount());
    // The cell's own unit is the chosen entry; the list lies below the cell.
    int nOwn = 0;
    for (int i = 0; i < units.GetCount(); ++i) {
        if (units.GetUnit(i) == strOld) {
            nOwn = i;
            break;
        }
    }
    EXPECT_EQ(Selected(), nOwn);
    CRect rcList, rcCell;
    List().GetWindowRect(&rcList);
    m_pView->ScreenToClient(&rcList);
    m_pView->GetCellRangeRect(scUnit, srFirstDetail, scUnit, srFirstDetail, &rcCell);
    EXPECT_TRUE(rcList.top == rcCell.bottom || rcList.bottom == rcCell.top);

    const int nNext = nOwn + 1 < units.GetCount() ? nOwn + 1 : nOwn - 1;
    Key(nNext > nOwn ? VK_DOWN : VK_UP);
    EXPECT_EQ(Selected(), nNext);
    Key(VK_RETURN);
    EXPECT_FALSE(ListOpen());
    EXPECT_EQ(List().m_hWnd, nullptr);
    EXPECT_EQ(CWnd::GetFocus(), m_pView);
    EXPECT_EQ(m_pView->GetCellText(srFirstDetail, scUnit), units.GetUnit(nNext));
    // The detail row stays a detail row and stays in its subject's total; the cursor stays.
    EXPECT_EQ(m_pView->GetRowKind(srFirstDetail), kindDetail);
    EXPECT_DOUBLE_EQ(MiddleTotal(), dTotalBefore);
    EXPECT_EQ(m_pView->GetCurrentRow(), srFirstDetail);
    EXPECT_EQ(m_pView->GetCurrentCol(), scUnit);
    EXPECT_TRUE(IsModified());

    Command(ID_EDIT_UNDO);
    EXPECT_EQ(m_pView->GetCellText(srFirstDetail, scUnit), strOld);
    Command(ID_EDIT_REDO);
    EXPECT_EQ(m_pView->GetCellText(srFirstDetail, scUnit), units.GetUnit(nNext));
}

TEST_F(PopupListTest, TypingFindsTheUnitAndADoubleClickChoosesOnAnEmptyRowWhichBecomesADetail)
{
    char chFirst = 0;
    const int nFound = UnitFoundByFirstByte(chFirst);
    ASSERT_GT(nFound, 0) << "the sample units have no unit a letter finds";
    const int nRow = m_pView->GetUsedRows() + 2;
    GoTo(scUnit, nRow);
    Key(VK_F4);
    ASSERT_TRUE(ListOpen());
    // A cell without a known unit starts on the first entry.
    EXPECT_EQ(Selected(), 0);
    Type(CString(std::string(1, chFirst).c_str()));
    EXPECT_EQ(Selected(), nFound);
    // Typing went to the list: no cell editor opened in the grid.
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(m_pView->GetEditState(), 0);

    DoubleClickEntry(2);
    EXPECT_FALSE(ListOpen());
    EXPECT_EQ(m_pView->GetCellText(nRow, scUnit), m_pApp->m_unitFile.GetUnit(2));
    EXPECT_EQ(m_pView->GetRowKind(nRow), kindDetail);
    EXPECT_EQ(m_pView->GetUsedRows(), nRow + 1);
}

TEST_F(PopupListTest, EscAndTheKeyboardLeavingCloseTheListWithoutAChoice)
{
    const int nUsed = m_pView->GetUsedRows();
    const CString strUnit = m_pView->GetCellText(srFirstDetail, scUnit);
    GoTo(scUnit, srFirstDetail);
    Key(VK_F4);
    ASSERT_TRUE(ListOpen());
    Key(VK_DOWN);
    Key(VK_ESCAPE);
    EXPECT_FALSE(ListOpen());
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(CWnd::GetFocus(), m_pView);
    EXPECT_EQ(m_pView->GetCellText(srFirstDetail, scUnit), strUnit);

    // A click in the grid takes the keyboard: the list goes, the click moves the cursor.
    Key(VK_F4);
    ASSERT_TRUE(ListOpen());
    Key(VK_DOWN);
    Click(scName, srFirstDetail + 1);
    Pump();
    EXPECT_EQ(List().m_hWnd, nullptr);
    EXPECT_EQ(m_pView->GetCellText(srFirstDetail, scUnit), strUnit);
    EXPECT_EQ(m_pView->GetCurrentRow(), srFirstDetail + 1);
    EXPECT_EQ(m_pView->GetUsedRows(), nUsed);

    // Scrolling moves the cells from under the list: it closes and the grid has the keys.
    GoTo(scUnit, srFirstDetail);
    Key(VK_F4);
    ASSERT_TRUE(ListOpen());
    m_pView->SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(List().m_hWnd, nullptr);
    EXPECT_EQ(CWnd::GetFocus(), m_pView);
    EXPECT_EQ(m_pView->GetCellText(srFirstDetail, scUnit), strUnit);
    m_pView->SendMessage(WM_VSCROLL, SB_LINEUP, 0);

    // Columns without a list: nothing opens.
    GoTo(scQty, srFirstDetail);
    Key(VK_F4);
    EXPECT_FALSE(ListOpen());
    // The summary page has no list either.
    m_pView->SetSummaryPageShown(true);
    GoTo(scUnit, srFirstDetail);
    Key(VK_F4);
    EXPECT_FALSE(ListOpen());
}

TEST_F(PopupListTest, SubjectsOfTheHeadingsLevelBecomeAHeadingAtTheCurrentRow)
{
    const CSubjectFile& subjects = m_pApp->m_subjectFile;
    ASSERT_GE(subjects.GetCount(CSubjectFile::levelMiddle), 2);
    ASSERT_GE(subjects.GetCount(CSubjectFile::levelLarge), 1);
    const int nUsed = m_pView->GetUsedRows();
    const CString strMiddle = m_pView->GetCellText(srMiddle, scName);

    // On a middle heading the middle subjects; the second one becomes a middle heading
    // inserted at the row, with its unit, the old heading moving down.
    GoTo(scName, srMiddle);
    Key(VK_F4);
    ASSERT_TRUE(ListOpen());
    EXPECT_EQ(List().GetItemCount(), subjects.GetCount(CSubjectFile::levelMiddle));
    EXPECT_EQ(List().GetItemText(1, 0), subjects.GetName(CSubjectFile::levelMiddle, 1));
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(m_pView->GetRowKind(srMiddle), kindMiddle);
    EXPECT_EQ(m_pView->GetCellText(srMiddle, scName), subjects.GetName(CSubjectFile::levelMiddle, 1));
    EXPECT_EQ(m_pView->GetCellText(srMiddle, scUnit), subjects.GetUnit(CSubjectFile::levelMiddle, 1));
    EXPECT_EQ(m_pView->GetCellText(srMiddle + 1, scName), strMiddle);
    // (A heading pushed off the start of its page is kept there, with empty rows before it.)
    EXPECT_LE(nUsed + 1, m_pView->GetUsedRows());
    EXPECT_EQ(m_pView->GetCurrentRow(), srMiddle);
    // The old heading's details now total under it: its total row still adds them.
    EXPECT_GT(Value(srMiddleTotal + 1, scAmount), 0.0);

    Command(ID_EDIT_UNDO);
    EXPECT_EQ(m_pView->GetCellText(srMiddle, scName), strMiddle);
    EXPECT_EQ(m_pView->GetUsedRows(), nUsed);

    // Below the used rows the row itself becomes the heading; an empty row offers the
    // level of the last subject pick (middle, from above).
    const int nRow = nUsed + 3;
    GoTo(scName, nRow);
    Key(VK_F4);
    ASSERT_TRUE(ListOpen());
    EXPECT_EQ(m_pView->GetPendingLevel(), CMorvelEMView::pickMiddle);
    Key(VK_RETURN);
    EXPECT_EQ(m_pView->GetRowKind(nRow), kindMiddle);
    EXPECT_EQ(m_pView->GetCellText(nRow, scName), subjects.GetName(CSubjectFile::levelMiddle, 0));
    EXPECT_EQ(m_pView->GetUsedRows(), nRow + 1);
}

TEST_F(PopupListTest, PartsChosenWithTheMouseBecomeCalculatedDetailRowsInTheirSubjectsTotal)
{
    // The 規格 column becomes a parts search column (T 5).
    m_pDoc->m_EstimationForm.SetItem(scSpec, CEstimationFormFile::colT, "5");
    m_pView->SetupFromDocument();
    {
        std::ofstream out(NativePath(m_pView->GetCurrentPartFile()), std::ios::binary | std::ios::trunc);
        const std::string bytes = PartsFile(kParts);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const double dTotalBefore = MiddleTotal();
    const int nUsed = m_pView->GetUsedRows();
    const int nRow = srFirstDetail + 1;
    const CString strBelow = m_pView->GetCellText(nRow, scName);
    GoTo(scSpec, nRow);
    Key(VK_F4);
    ASSERT_TRUE(ListOpen());
    EXPECT_EQ(m_pView->GetPendingLevel(), CMorvelEMView::pickParts);
    ASSERT_EQ(List().GetItemCount(), 3);
    EXPECT_EQ(List().GetColumnCount(), 7);
    // 型枠A clicked, 型枠B added with Ctrl, then Enter.
    commonctl::Click(ListViewport(), EntryPoint(0));
    commonctl::Click(ListViewport(), EntryPoint(2), Qt::ControlModifier);
    EXPECT_EQ(List().GetSelectedCount(), 2u);
    // Ctrl is let go.
    commonctl::SendMouse(ListViewport(), QEvent::MouseMove, EntryPoint(2), Qt::NoButton, Qt::NoButton);
    Key(VK_RETURN);
    EXPECT_FALSE(ListOpen());

    EXPECT_LE(nUsed + 2, m_pView->GetUsedRows());
    EXPECT_EQ(m_pView->GetRowKind(nRow), kindDetail);
    EXPECT_EQ(m_pView->GetRowKind(nRow + 1), kindDetail);
    EXPECT_EQ(Utf8Cell(nRow, scName), "型枠A");
    EXPECT_EQ(Utf8Cell(nRow, scSpec), "合板");
    EXPECT_EQ(Cell(nRow, scUnit), "m2");
    EXPECT_EQ(Utf8Cell(nRow, scNote), "外注");
    EXPECT_DOUBLE_EQ(Value(nRow, scAmount), 45000.0);
    EXPECT_EQ(Utf8Cell(nRow + 1, scName), "型枠B");
    EXPECT_DOUBLE_EQ(Value(nRow + 1, scQty), 1234.5);
    EXPECT_DOUBLE_EQ(Value(nRow + 1, scAmount), 4691100.0);
    EXPECT_EQ(m_pView->GetCellText(nRow + 2, scName), strBelow);
    // The middle subject's total, two rows further down, adds the new rows.
    EXPECT_DOUBLE_EQ(Value(srMiddleTotal + 2, scAmount), dTotalBefore + 45000.0 + 4691100.0);

    // Undo takes both rows out again, redo puts the same rows back.
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(m_pView->GetUsedRows(), nUsed);
    EXPECT_EQ(m_pView->GetCellText(nRow, scName), strBelow);
    EXPECT_DOUBLE_EQ(MiddleTotal(), dTotalBefore);
    Command(ID_EDIT_REDO);
    EXPECT_EQ(Utf8Cell(nRow + 1, scName), "型枠B");
    EXPECT_DOUBLE_EQ(Value(srMiddleTotal + 2, scAmount), dTotalBefore + 45000.0 + 4691100.0);
}

TEST_F(PopupListTest, AMissingPartsFileSaysSoAndOpensNoList)
{
    m_pDoc->m_EstimationForm.SetItem(scSpec, CEstimationFormFile::colT, "5");
    m_pView->SetupFromDocument();
    std::remove(NativePath(m_pView->GetCurrentPartFile()).c_str());
    CDialogAnswerer answerer;
    answerer.AnswerMessageBox("部材ﾌｧｲﾙがないか壊れています。"_sj, IDOK);
    const int nUsed = m_pView->GetUsedRows();
    GoTo(scSpec, srFirstDetail);
    Key(VK_F4);
    EXPECT_FALSE(ListOpen());
    EXPECT_EQ(answerer.CountUnanswered(), 0);
    EXPECT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(m_pView->GetUsedRows(), nUsed);
}
