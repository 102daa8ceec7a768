// Typing into the estimate grid: the editor opened by a typed character, by a double-click
// and by F2; the commit on Enter, the arrows and a click elsewhere; Esc; full-width digits;
// rounding and formatting by the column; the row formula and the totals below; the
// "Direction" setting; the summary page, which takes no input.
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/estimate/UndoTestSupport.h"

#include "grid/CTabWnd.h"
#include "platform/ui/core/WinDefs.h"
#include "resources/ResourceIds.h"

namespace {

class CellEditTyping : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        ASSERT_NE(OpenSample(), nullptr);
        ASSERT_TRUE(m_pView->HasCellEdit());
    }
};

// The same with the cursor moving down after an input.
class CellEditDirectionDown : public CellEditTyping {
protected:
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Input Setting", "Direction", "2");
    }
};

class CellEditDirectionStay : public CellEditTyping {
protected:
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Input Setting", "Direction", "0");
    }
};

} // namespace

TEST_F(CellEditTyping, ATypedQuantityIsRoundedFormattedAndComputedAndTheTotalsBelowFollow)
{
    const double otherDetails = SumDetailAmounts(*m_pView, srFirstDetail + 1, srMiddleTotal - 1);
    const int nLargeTotal = m_pView->GetModel().Engine().FindTotalRow(srLarge + 1, kindLarge);
    ASSERT_GT(nLargeTotal, srMiddleTotal);
    const double largeTotalBefore = Value(nLargeTotal, scAmount);
    const double firstAmountBefore = Value(srFirstDetail, scAmount);
    EXPECT_FALSE(IsModified());

    GoTo(scQty, srFirstDetail);
    TypeUtf8("123.4567");
    EXPECT_TRUE(EditorVisible());
    EXPECT_EQ(EditorText(), "123.4567");
    EXPECT_EQ(Cell(srFirstDetail, scQty), "128.500000") << "nothing is stored while typing";
    EXPECT_TRUE(IsModified()) << "typing marks the estimate modified";
    Key(VK_RETURN);

    // F(-3) rounds the third decimal away, half up; the picture keeps two decimals.
    EXPECT_EQ(Cell(srFirstDetail, scQty), "123.460000");
    // 金額 = C*E, cut to whole units by D(-1): 123.46 x 350 = 43211.
    EXPECT_EQ(Cell(srFirstDetail, scAmount), "43211.000000");
    EXPECT_DOUBLE_EQ(Value(srMiddleTotal, scAmount), 43211 + otherDetails);
    EXPECT_DOUBLE_EQ(Value(nLargeTotal, scAmount), largeTotalBefore - firstAmountBefore + 43211);
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(m_pView->GetEditState(), CMorvelEMView::editClosed);

    // The undo record holds the cell, the old and the new text.
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 1);
    const CCellsCommand* pEdit = UndoCommandAs<CCellsCommand>(*m_pView);
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(CPoint(pEdit->GetCol(), pEdit->FirstRow()), CPoint(scQty, srFirstDetail));
    EXPECT_EQ(pEdit->GetOldText().str(), "128.500000");
    EXPECT_EQ(pEdit->GetNewText().str(), "123.456700");
}

// A lump sum: the quantity written as a word ("一式", or anything else that is no number),
// the unit price and the amount typed by hand. The amount's formula (C*E) has no quantity
// to work with and leaves the typed amount as it is; the totals below add it.
TEST_F(CellEditTyping, AnAmountTypedBesideAQuantityInWordsAndAUnitPriceStays)
{
    const double otherDetails = SumDetailAmounts(*m_pView, srFirstDetail + 1, srMiddleTotal - 1);
    for (const char* lpszQuantity : {"一式", "abc"}) {
        SCOPED_TRACE(lpszQuantity);
        for (const auto& [nCol, lpszText] :
             {std::pair{static_cast<int>(scQty), lpszQuantity}, std::pair{static_cast<int>(scPrice), "50000"},
              std::pair{static_cast<int>(scAmount), "50000"}}) {
            GoTo(nCol, srFirstDetail);
            TypeUtf8(lpszText);
            Key(VK_RETURN);
        }
        EXPECT_EQ(Cell(srFirstDetail, scQty), CString::FromUtf8(lpszQuantity).str());
        EXPECT_EQ(Cell(srFirstDetail, scAmount), "50000.000000");
        EXPECT_DOUBLE_EQ(Value(srMiddleTotal, scAmount), 50000 + otherDetails);
    }
}

TEST_F(CellEditTyping, FullWidthDigitsAreStoredInAsciiAndOtherFullWidthTextAsTyped)
{
    GoTo(scQty, srFirstDetail);
    TypeUtf8("１，２３４．５");
    EXPECT_EQ(EditorText(), "１，２３４．５");
    Key(VK_RETURN);
    EXPECT_EQ(Cell(srFirstDetail, scQty), "1234.500000");
    EXPECT_EQ(Cell(srFirstDetail, scAmount), "432075.000000"); // 1234.5 x 350

    // A full-width letter among the digits: not a number, kept as typed; the product has
    // no number to work with and leaves the amount as it is.
    GoTo(scQty, srFirstDetail + 1);
    const std::string amount = Cell(srFirstDetail + 1, scAmount);
    ASSERT_FALSE(amount.empty());
    TypeUtf8("１２ａ");
    Key(VK_RETURN);
    EXPECT_EQ(Utf8Cell(srFirstDetail + 1, scQty), "１２ａ");
    EXPECT_EQ(Cell(srFirstDetail + 1, scAmount), amount);

    // Full-width digits in a text column stay full-width.
    GoTo(scSpec, srFirstDetail);
    TypeUtf8("Ｗ９００");
    Key(VK_RETURN);
    EXPECT_EQ(Utf8Cell(srFirstDetail, scSpec), "Ｗ９００");
}

TEST_F(CellEditTyping, EnterMovesRightWithDirectionOneAndArrowsCommitWithoutAnExtraMove)
{
    GoTo(scQty, srFirstDetail);
    TypeUtf8("10");
    Key(VK_RETURN);
    EXPECT_EQ(Cell(srFirstDetail, scQty), "10.000000");
    EXPECT_EQ(m_pView->GetCurrentCol(), scUnit);
    EXPECT_EQ(m_pView->GetCurrentRow(), srFirstDetail);

    // The editor hands Down over: the text is stored and the cursor moves one row only.
    GoTo(scPrice, srFirstDetail);
    TypeUtf8("400");
    Key(VK_DOWN);
    EXPECT_EQ(Cell(srFirstDetail, scPrice), "400.000000");
    EXPECT_EQ(Cell(srFirstDetail, scAmount), "4000.000000");
    EXPECT_EQ(m_pView->GetCurrentCol(), scPrice);
    EXPECT_EQ(m_pView->GetCurrentRow(), srFirstDetail + 1);

    // Enter with no edit open only moves.
    Key(VK_RETURN);
    EXPECT_EQ(m_pView->GetCurrentCol(), scAmount);
    EXPECT_EQ(m_pView->GetCurrentRow(), srFirstDetail + 1);
}

TEST_F(CellEditDirectionDown, EnterMovesOneRowDownAndUpCommitsMovingUp)
{
    GoTo(scQty, srFirstDetail);
    TypeUtf8("20");
    Key(VK_RETURN);
    EXPECT_EQ(Cell(srFirstDetail, scQty), "20.000000");
    EXPECT_EQ(m_pView->GetCurrentCol(), scQty);
    EXPECT_EQ(m_pView->GetCurrentRow(), srFirstDetail + 1);

    TypeUtf8("30");
    Key(VK_UP);
    EXPECT_EQ(Cell(srFirstDetail + 1, scQty), "30.000000");
    EXPECT_EQ(m_pView->GetCurrentRow(), srFirstDetail);
}

TEST_F(CellEditDirectionStay, EnterLeavesTheCursorWhereItIs)
{
    GoTo(scQty, srFirstDetail);
    TypeUtf8("20");
    Key(VK_RETURN);
    EXPECT_EQ(Cell(srFirstDetail, scQty), "20.000000");
    EXPECT_EQ(CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()), CPoint(scQty, srFirstDetail));
}

TEST_F(CellEditTyping, EscDropsTheTypedTextAndTheCellKeepsItsOldText)
{
    GoTo(scName, srFirstDetail);
    TypeUtf8("足場");
    EXPECT_EQ(EditorText(), "足場");
    const int nUndoBefore = m_pView->GetModel().Undo().GetUndoAction();
    Key(VK_ESCAPE);
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(EditorText(), "");
    EXPECT_EQ(Utf8Cell(srFirstDetail, scName), "水盛遣方");
    EXPECT_EQ(m_pView->GetEditState(), CMorvelEMView::editClosed);
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), nUndoBefore);
    EXPECT_EQ(CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()), CPoint(scName, srFirstDetail));

    // The next character opens a fresh edit: nothing of the dropped text is left.
    TypeUtf8("x");
    EXPECT_EQ(EditorText(), "x");
}

TEST_F(CellEditTyping, ADoubleClickOpensTheCellsTextInTheColumnsPicture)
{
    DoubleClick(scQty, srFirstDetail);
    ASSERT_TRUE(EditorVisible());
    EXPECT_EQ(m_pView->GetEditState(), CMorvelEMView::editOpened);
    EXPECT_EQ(EditorText(), "128.50");
    EXPECT_EQ(m_pView->GetModel().Engine().GetEditStartText().str(), "128.500000");
    // The editor lies over the cell.
    CRect rcCell;
    m_pView->GetCellRangeRect(scQty, srFirstDetail, scQty, srFirstDetail, &rcCell);
    CRect rcEditor;
    m_pView->GetCellEdit().GetWindowRect(&rcEditor);
    m_pView->ScreenToClient(&rcEditor);
    EXPECT_EQ(rcEditor.TopLeft(), rcCell.TopLeft());
    EXPECT_EQ(rcEditor.Width(), m_pView->GetColumnWidth(scQty));
    EXPECT_EQ(rcEditor.Height(), m_pView->GetMetrics().nRowHeight);

    // Confirmed unchanged, the value stays.
    Key(VK_RETURN);
    EXPECT_EQ(Cell(srFirstDetail, scQty), "128.500000");

    // A cell opened on its text and emptied becomes empty.
    DoubleClick(scSpec, srFirstDetail + 2);
    EXPECT_EQ(EditorText(), "枠組 W900");
    m_pView->GetCellEdit().SetWindowText("");
    Key(VK_RETURN);
    EXPECT_EQ(Cell(srFirstDetail + 2, scSpec), "");
}

TEST_F(CellEditTyping, F2OpensTheCurrentCellAndAClickElsewhereCommits)
{
    GoTo(scName, srFirstDetail);
    Key(VK_F2);
    ASSERT_TRUE(EditorVisible());
    EXPECT_EQ(EditorText(), "水盛遣方");
    // The caret stands after the text: typing appends.
    Type("2"_sj);
    EXPECT_EQ(EditorText(), "水盛遣方2");

    Click(scNote, srFirstDetail + 3);
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(Utf8Cell(srFirstDetail, scName), "水盛遣方2");
    EXPECT_EQ(CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()), CPoint(scNote, srFirstDetail + 3));
    EXPECT_TRUE(m_pView->LastClickMovedCell());
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 1);
}

TEST_F(CellEditTyping, AClickInTheHeadersAfterADoubleClickOpensNothing)
{
    GoTo(scName, srFirstDetail);
    const CPoint pt(m_pView->GetMetrics().nRowHeaderWidth / 2, m_pView->GetMetrics().nHeaderHeight + 3);
    m_pView->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_FALSE(EditorVisible());
    EXPECT_NE(m_pView->GetEditState(), CMorvelEMView::editOpened);
}

TEST_F(CellEditTyping, TextTypedIntoAnEmptyRowMakesItADetailRowAnEmptyEditDoesNot)
{
    const int nUsed = m_pView->GetUsedRows();
    const int nRow = nUsed + 2;
    GoTo(scName, nRow);
    TypeUtf8("追加工事");
    Key(VK_RETURN);
    EXPECT_EQ(Utf8Cell(nRow, scName), "追加工事");
    EXPECT_EQ(m_pView->GetRowKind(nRow), kindDetail);
    EXPECT_EQ(m_pView->GetUsedRows(), nRow + 1);

    // Typed and wiped out again before Enter: nothing is stored, no row is made.
    GoTo(scName, nRow + 2);
    TypeUtf8("z");
    m_pView->GetCellEdit().SetWindowText("");
    Key(VK_RETURN);
    EXPECT_EQ(m_pView->GetRowKind(nRow + 2), kindEmpty);
    EXPECT_EQ(m_pView->GetEditRow(nRow + 2), nullptr);
    EXPECT_EQ(m_pView->GetUsedRows(), nRow + 1);
}

TEST_F(CellEditTyping, ANumericCellHoldingTextIsOpenedAsItIsAndKeptWhenConfirmed)
{
    GoTo(scQty, srFirstDetail);
    TypeUtf8("12a");
    Key(VK_RETURN);
    EXPECT_EQ(Cell(srFirstDetail, scQty), "12a");
    DoubleClick(scQty, srFirstDetail);
    EXPECT_EQ(EditorText(), "12a");
    Key(VK_RETURN);
    EXPECT_EQ(Cell(srFirstDetail, scQty), "12a");
}

TEST_F(CellEditTyping, ControlCharactersAndEnterDoNotOpenTheEditor)
{
    GoTo(scName, srFirstDetail);
    for (UINT ch : {13u, 9u, 8u, 27u, 3u, 22u}) {
        m_pView->SendMessage(WM_CHAR, ch, 1);
        EXPECT_FALSE(EditorVisible()) << ch;
        EXPECT_EQ(m_pView->GetEditState(), CMorvelEMView::editClosed) << ch;
    }
    EXPECT_FALSE(IsModified());
}

TEST_F(CellEditTyping, TheSummaryPageTakesNoInputButArrowsAndPagesMove)
{
    m_pView->SendMessage(WM_COMMAND, CTabWnd::ID_SUMMARY_PAGE_TAB, 0);
    ASSERT_TRUE(m_pView->IsSummaryPageShown());
    Click(scName, 1);
    const CPoint ptStart(m_pView->GetCurrentCol(), m_pView->GetCurrentRow());
    const std::string before = Cell(1, scName);
    TypeUtf8("abc");
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(Cell(1, scName), before);
    Key(VK_F2);
    EXPECT_FALSE(EditorVisible());
    DoubleClick(scName, 2);
    EXPECT_FALSE(EditorVisible());

    GoTo(ptStart.x, ptStart.y);
    Key(VK_DOWN);
    EXPECT_EQ(m_pView->GetCurrentRow(), ptStart.y + 1);
    Key(VK_RIGHT);
    EXPECT_EQ(m_pView->GetCurrentCol(), ptStart.x + 1);
    Key(VK_NEXT);
    EXPECT_GT(m_pView->GetFirstVisibleCell().y, 0);
}

TEST_F(CellEditTyping, AnArmedRangeTotalGoesIntoTheNumericCellClickedNext)
{
    // 350 + 280: the unit prices of the first two details, added up and armed.
    const CPoint ptFirst = CellPoint(scPrice, srFirstDetail);
    const CPoint ptLast = CellPoint(scPrice, srFirstDetail + 1);
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFirst.x, ptFirst.y));
    m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptLast.x, ptLast.y));
    m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptLast.x, ptLast.y));
    Command(ID_RANGE_ADD);
    Command(ID_RANGE_SET);
    ASSERT_TRUE(m_pView->GetRangeTotal().nArmed);

    // A text column takes nothing, and the arming ends.
    Click(scName, srFirstDetail + 2);
    EXPECT_EQ(Utf8Cell(srFirstDetail + 2, scName), "外部足場");
    EXPECT_FALSE(m_pView->GetRangeTotal().nArmed);

    Command(ID_RANGE_SET);
    Click(scPrice, srFirstDetail + 2);
    EXPECT_FALSE(m_pView->GetRangeTotal().nArmed);
    EXPECT_EQ(Cell(srFirstDetail + 2, scPrice), "630.000000");
    EXPECT_EQ(Cell(srFirstDetail + 2, scAmount), "243180.000000"); // 386 x 630
    EXPECT_DOUBLE_EQ(Value(srMiddleTotal, scAmount),
                     SumDetailAmounts(*m_pView, srFirstDetail, srMiddleTotal - 1));
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 1);
    ASSERT_NE(UndoCommandAs<CCellsCommand>(*m_pView), nullptr);
    EXPECT_EQ(UndoCommandAs<CCellsCommand>(*m_pView)->GetOldText().str(), "1200.000000");
    EXPECT_TRUE(IsModified());
}

namespace {

// Row-kind fonts of distinct heights, so that the editor's font tells which one it took.
class CellEditFonts : public CellEditTyping {
protected:
    void WriteSettings(CProfileFile& profile) override
    {
        const struct {
            const char* section;
            const char* height;
        } fonts[] = {{"Large Font Setting", "-20"},
                     {"Detail Font Setting", "-16"},
                     {"Tax Font Setting", "-18"},
                     {"Discount Font Setting", "-22"},
                     {"Sum Font Setting", "-24"}};
        for (const auto& font : fonts) {
            profile.WriteProfileString(font.section, "Height", font.height);
            profile.WriteProfileString(font.section, "Weight", "700");
            profile.WriteProfileString(font.section, "CharSet", "128");
            profile.WriteProfileString(font.section, "FaceName", "ＭＳ ゴシック"_sj);
        }
    }
};

} // namespace

TEST_F(CellEditFonts, TheEditorTakesTheRowKindsFontAtTheZoom)
{
    EXPECT_EQ(m_pView->GetCellEditFont(kindLarge).lfHeight, -20);
    EXPECT_EQ(m_pView->GetCellEditFont(kindLargeTotal).lfHeight, -20); // the large subtotal
    // and on the summary page
    EXPECT_EQ(m_pView->GetCellEditFont(SummaryKindOf(kindLargeTotal)).lfHeight, -20);
    EXPECT_EQ(m_pView->GetCellEditFont(kindFree).lfHeight, -18); // the tax row: the free-row font
    EXPECT_EQ(m_pView->GetCellEditFont(kindGrandDiscountTotal).lfHeight, -22); // a discount total
    // not in the discount group here
    EXPECT_EQ(m_pView->GetCellEditFont(kindKindDiscountTotal).lfHeight, -16);
    // the summary grand total
    EXPECT_EQ(m_pView->GetCellEditFont(SummaryKindOf(kindGrandTotal)).lfHeight, -24);
    EXPECT_EQ(m_pView->GetCellEditFont(kindDetail).lfHeight, -16); // a detail row
    EXPECT_EQ(CString(m_pView->GetCellEditFont(kindDetail).lfFaceName), "ＭＳ ゴシック"_sj);

    // An empty row: the grid's face at the detail font's size.
    const LOGFONT lfEmpty = m_pView->GetCellEditFont(kindEmpty);
    EXPECT_EQ(CString(lfEmpty.lfFaceName), "ＭＳ 明朝"_sj);
    EXPECT_EQ(lfEmpty.lfHeight, -16);
    EXPECT_EQ(lfEmpty.lfWeight, FW_NORMAL);
    EXPECT_EQ(CString(m_pView->GetCellEditFont(KindFromNumber(200)).lfFaceName), "ＭＳ 明朝"_sj);

    // Typing into the large heading's row shows the large font.
    GoTo(scNote, srLarge);
    TypeUtf8("x");
    ASSERT_NE(m_pView->GetCellEditFontShown(), nullptr);
    LOGFONT lfShown{};
    m_pView->GetCellEditFontShown()->GetLogFont(&lfShown);
    EXPECT_EQ(lfShown.lfHeight, -20);
    Key(VK_ESCAPE);

    m_pView->SetZoom(50);
    EXPECT_EQ(m_pView->GetCellEditFont(kindLarge).lfHeight, -10);
    EXPECT_EQ(m_pView->GetCellEditFont(kindEmpty).lfHeight, -8);
}
