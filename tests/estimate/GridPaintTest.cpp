// What the grid paints, checked by pixels where a fault would show to the user: rows in
// their kind's colours (and readable when the colours were never set), numbers aligned
// right, the current-cell frame following the cursor, the selection inverted, headings
// without their unit, the row-header marks; and the fonts at the zoom.
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "engine/estimate/CGridRow.h"
#include "platform/ui/gdi/CClientDC.h"
#include "resources/ResourceIds.h"
#include "tests/support/RealInput.h"

#include <QPaintEvent>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace {

class GridPaint : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        ASSERT_NE(OpenSample(), nullptr);
        Repaint();
    }

    CMorvelEMView& View() { return *m_pView; }

    // Both paints of a full repaint, done now.
    void Repaint()
    {
        Pump();
        View().Invalidate(TRUE);
        View().UpdateWindow();
        View().UpdateWindow();
        Pump();
    }
    CRect CellRect(int nCol, int nRow)
    {
        CRect rc;
        View().GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        return rc;
    }
    COLORREF Pixel(int x, int y)
    {
        CClientDC dc(&View());
        return dc.GetPixel(x, y) & 0xFFFFFF;
    }
    // A pixel inside a cell away from its text and the grid lines (right part, middle).
    COLORREF CellBackground(int nCol, int nRow)
    {
        const CRect rc = CellRect(nCol, nRow);
        return Pixel(rc.right - 4, rc.top + rc.Height() / 2);
    }
    // The left- and rightmost x inside the cell (less its 3-pixel border) whose pixel
    // differs from the background; -1 when the cell shows nothing.
    std::pair<int, int> InkExtent(int nCol, int nRow, COLORREF clrBack)
    {
        const CRect rc = CellRect(nCol, nRow);
        int nLeft = -1, nRight = -1;
        CClientDC dc(&View());
        for (int x = rc.left + 3; x < rc.right - 1; ++x) {
            for (int y = rc.top + 3; y < rc.bottom - 3; ++y) {
                if ((dc.GetPixel(x, y) & 0xFFFFFF) != clrBack) {
                    if (nLeft < 0)
                        nLeft = x;
                    nRight = x;
                    break;
                }
            }
        }
        return {nLeft, nRight};
    }
};

// What Qt paints of the grid's window and of its scroll bars while it is watched.
class CPaintWatch : public QObject {
public:
    explicit CPaintWatch(QWidget* pGrid) : m_pGrid(pGrid)
    {
        pGrid->installEventFilter(this);
        for (QScrollBar* pBar : pGrid->findChildren<QScrollBar*>())
            pBar->installEventFilter(this);
    }
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint) {
            if (pObject == m_pGrid)
                m_painted += static_cast<QPaintEvent*>(pEvent)->region();
            else
                ++m_nScrollBarPaints;
        }
        return false;
    }
    bool Painted(const CRect& rc) const
    {
        return m_painted.contains(QPoint(rc.CenterPoint().x, rc.CenterPoint().y));
    }
    int ScrollBarPaints() const { return m_nScrollBarPaints; }

private:
    QWidget* m_pGrid;
    QRegion m_painted;
    int m_nScrollBarPaints = 0;
};

// The colours a configured desktop has.
class GridPaintColoured : public GridPaint {
protected:
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Color Setting", "Middle Project Text", "0,64,0");
        profile.WriteProfileString("Color Setting", "Middle Project Background", "214,245,214");
        profile.WriteProfileString("Color Setting", "Detail Text", "0,0,0");
        profile.WriteProfileString("Color Setting", "Detail Background", "255,255,240");
        profile.WriteProfileString("Color Setting", "Kind Text", "255,255,255");
        profile.WriteProfileString("Color Setting", "Kind Background", "0,64,128");
        profile.WriteProfileString("Detail Font Setting", "Height", "-16");
        profile.WriteProfileString("Detail Font Setting", "FaceName", CString::FromUtf8("ＭＳ 明朝"));
    }
};

} // namespace

TEST_F(GridPaintColoured, EachRowIsPaintedInItsKindsColours)
{
    ASSERT_EQ(View().GetRowKind(srMiddleTotal), kindMiddleTotal);
    EXPECT_EQ(CellBackground(scSpec, srMiddleTotal), RGB(214, 245, 214)) << "a middle subtotal";
    EXPECT_EQ(CellBackground(scSpec, srMiddle), RGB(214, 245, 214)) << "its heading";
    EXPECT_EQ(CellBackground(scSpec, srFirstDetail), RGB(255, 255, 240)) << "a detail row";
    EXPECT_EQ(CellBackground(scSpec, srKind), RGB(0, 64, 128)) << "the kind heading";
    // The subtotal's amount is written in the group's text colour.
    const auto [nLeft, nRight] = InkExtent(scAmount, srMiddleTotal, RGB(214, 245, 214));
    ASSERT_GE(nLeft, 0);
    bool bTextColour = false;
    const CRect rc = CellRect(scAmount, srMiddleTotal);
    for (int x = nLeft; x <= nRight && !bTextColour; ++x)
        for (int y = rc.top + 3; y < rc.bottom - 3; ++y)
            bTextColour = bTextColour || Pixel(x, y) == RGB(0, 64, 0);
    EXPECT_TRUE(bTextColour);
}

TEST_F(GridPaintColoured, NumbersAreRightAlignedAndTextsLeftAligned)
{
    const COLORREF clrBack = RGB(255, 255, 240);
    const CRect rcAmount = CellRect(scAmount, srFirstDetail);
    const auto [nLeft, nRight] = InkExtent(scAmount, srFirstDetail, clrBack);
    ASSERT_GE(nLeft, 0) << "the amount shows";
    EXPECT_GE(nRight, rcAmount.right - 2 - 4);
    EXPECT_LE(nRight, rcAmount.right - 2);
    EXPECT_GT(nLeft, rcAmount.left + rcAmount.Width() / 3) << "a six-figure amount in a wide column";

    // The 規格 text starts at the left edge, 2 pixels in.
    const CRect rcSpec = CellRect(scSpec, 6);
    ASSERT_FALSE(View().GetCellText(6, scSpec).IsEmpty());
    const auto [nSpecLeft, nSpecRight] = InkExtent(scSpec, 6, clrBack);
    EXPECT_GE(nSpecLeft, rcSpec.left + 2);
    EXPECT_LE(nSpecLeft, rcSpec.left + 6);
    EXPECT_LT(nSpecRight, rcSpec.right - rcSpec.Width() / 3);
}

TEST_F(GridPaintColoured, AnIndentMovesTheTextByWidthsOfA)
{
    View().SetCellText("AAAA", 20, scSpec, TRUE);
    View().SetRowKind(kindDetail, 20);
    Repaint();
    const auto plain = InkExtent(scSpec, 20, RGB(255, 255, 240));
    View().SetCellIndent(2, 20, scSpec);
    Repaint();
    const auto indented = InkExtent(scSpec, 20, RGB(255, 255, 240));
    ASSERT_GE(plain.first, 0);
    const int nWidthA = (plain.second - plain.first + 1) / 4;
    EXPECT_NEAR(indented.first - plain.first, 2 * nWidthA, 2);
}

TEST_F(GridPaintColoured, TheCurrentCellCarriesTheFrameAndItFollowsTheCursor)
{
    Click(scSpec, 4);
    Repaint();
    const CRect rc = CellRect(scSpec, 4);
    const int yMid = rc.top + rc.Height() / 2;
    const int xMid = rc.left + rc.Width() / 2;
    EXPECT_EQ(Pixel(rc.left + 1, yMid), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(rc.right - 2, yMid), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(xMid, rc.top + 1), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(xMid, rc.bottom - 2), RGB(0, 0, 0));

    Key(VK_DOWN);
    Repaint();
    EXPECT_EQ(Pixel(rc.left + 2, yMid), RGB(255, 255, 240)) << "the old cell lost its frame";
    EXPECT_EQ(Pixel(rc.right - 2, yMid), RGB(255, 255, 240));
    const CRect rcNew = CellRect(scSpec, 5);
    EXPECT_EQ(Pixel(rcNew.left + 1, rcNew.top + rcNew.Height() / 2), RGB(0, 0, 0));
}

TEST_F(GridPaintColoured, ASelectedRowIsInvertedExceptItsFocusCell)
{
    const CRect rc = CellRect(scSpec, 5);
    View().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, static_cast<WORD>(rc.top + 3)));
    View().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, static_cast<WORD>(rc.top + 3)));
    Repaint();
    ASSERT_EQ(View().GetSelectMode(), 1);
    EXPECT_EQ(CellBackground(scSpec, 5), RGB(0, 0, 0));
    EXPECT_EQ(CellBackground(scUnit, 5), RGB(0, 0, 0));
    EXPECT_EQ(CellBackground(View().GetCurrentCol(), 5), RGB(255, 255, 240)) << "the focus cell";
    EXPECT_EQ(CellBackground(scSpec, 4), RGB(255, 255, 240)) << "the row above";
    // The amount of the selected row is written in white.
    const auto [nLeft, nRight] = InkExtent(scAmount, 5, RGB(0, 0, 0));
    ASSERT_GE(nLeft, 0);
    bool bWhite = false;
    const CRect rcAmount = CellRect(scAmount, 5);
    for (int y = rcAmount.top + 3; y < rcAmount.bottom - 3; ++y)
        bWhite =
            bWhite || Pixel(nRight - 1, y) == RGB(255, 255, 255) || Pixel(nRight, y) == RGB(255, 255, 255);
    EXPECT_TRUE(bWhite);

    Click(scSpec, 8);
    Repaint();
    EXPECT_EQ(CellBackground(scSpec, 5), RGB(255, 255, 240)) << "a click ends the selection";
}

TEST_F(GridPaintColoured, AHeadingShowsNoUnit)
{
    ASSERT_EQ(View().GetRowKind(srMiddle), kindMiddle);
    ASSERT_FALSE(View().GetCellText(srMiddle, scUnit).IsEmpty()) << "the heading has a unit";
    EXPECT_EQ(InkExtent(scUnit, srMiddle, RGB(214, 245, 214)).first, -1);
    ASSERT_FALSE(View().GetCellText(srFirstDetail, scUnit).IsEmpty());
    EXPECT_GE(InkExtent(scUnit, srFirstDetail, RGB(255, 255, 240)).first, 0) << "a detail's unit shows";
}

TEST_F(GridPaintColoured, AZeroCloseToNothingShowsAsThePicturesZero)
{
    View().SetCellText("0.000000001", 30, scQty, TRUE);
    View().SetRowKind(kindDetail, 30);
    // The picture of the quantity keeps two decimals: a value closer to zero than 1e-8 is 0.
    CGridRow* pRow = View().GetModel().Engine().MakeRow(30);
    ASSERT_NE(pRow, nullptr);
    pRow->SetCell(scQty, "0.000000001");
    Repaint();
    const auto shown = InkExtent(scQty, 30, RGB(255, 255, 240));
    View().SetCellText("0", 31, scQty, TRUE);
    View().SetRowKind(kindDetail, 31);
    Repaint();
    const auto zero = InkExtent(scQty, 31, RGB(255, 255, 240));
    EXPECT_EQ(shown, zero);
}

TEST_F(GridPaintColoured, TheFontsFollowTheZoom)
{
    // The same text in the same row at 100 % and at 50 %: half as wide.
    View().SetCellText("AAAAAAAA", 4, scSpec, TRUE);
    Repaint();
    const auto full = InkExtent(scSpec, 4, RGB(255, 255, 240));
    View().SetZoom(50);
    View().RecalcLayout();
    Repaint();
    const auto half = InkExtent(scSpec, 4, RGB(255, 255, 240));
    ASSERT_GE(full.first, 0);
    ASSERT_GE(half.first, 0);
    const int nFull = full.second - full.first;
    const int nHalf = half.second - half.first;
    ASSERT_GT(nFull, 40);
    EXPECT_NEAR(nHalf * 2, nFull, 4);
    EXPECT_EQ(View().GetMetrics().nHeaderHeight, 12);
    EXPECT_EQ(View().GetMetrics().nRowHeaderWidth, 20);
}

TEST_F(GridPaintColoured, NonCalculatedAndSummaryRowsAreMarkedInTheRowHeader)
{
    // A non-calculated detail: "非" in blue in its row header, left of the row number,
    // which stays readable beside it (no ink of the number where the mark has ink).
    View().SetNonCalculated(TRUE, srFirstDetail, srFirstDetail);
    ASSERT_GE(View().GetRowKind(srFirstDetail), kindNonCalcOffset);
    Repaint();
    const CRect rc = CellRect(0, srFirstDetail);
    const int nHeaderWidth = View().GetMetrics().nRowHeaderWidth;
    auto isBlue = [](COLORREF c) { return GetBValue(c) > 200 && GetRValue(c) < 140 && GetGValue(c) < 140; };
    auto isNumberInk = [](COLORREF c) {
        return GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128;
    };
    int nMarkRight = -1, nNumberLeft = nHeaderWidth, nNumberRight = -1;
    for (int x = 1; x < nHeaderWidth - 1; ++x) {
        for (int y = rc.top + 1; y < rc.bottom - 1; ++y) {
            const COLORREF c = Pixel(x, y);
            if (isBlue(c))
                nMarkRight = std::max(nMarkRight, x);
            else if (isNumberInk(c)) {
                nNumberLeft = std::min(nNumberLeft, x);
                nNumberRight = std::max(nNumberRight, x);
            }
        }
    }
    ASSERT_GE(nMarkRight, 0) << "the mark shows";
    ASSERT_GE(nNumberRight, 0) << "the number shows";
    EXPECT_LT(nMarkRight, nNumberLeft) << "the mark stays left of the number";
    // The number is whole: "4" of the fourth row, as wide as in a row without a mark.
    const CRect rcPlain = CellRect(0, srFirstDetail + 1);
    int nPlainLeft = nHeaderWidth, nPlainRight = -1;
    for (int x = 1; x < nHeaderWidth - 1; ++x)
        for (int y = rcPlain.top + 1; y < rcPlain.bottom - 1; ++y)
            if (isNumberInk(Pixel(x, y))) {
                nPlainLeft = std::min(nPlainLeft, x);
                nPlainRight = std::max(nPlainRight, x);
            }
    ASSERT_GE(nPlainRight, 0);
    EXPECT_NEAR(nNumberRight - nNumberLeft, nPlainRight - nPlainLeft, 2);
    // Non-calculated rows without colours of their own look like detail rows.
    EXPECT_EQ(CellBackground(scSpec, srFirstDetail), RGB(255, 255, 240));

    // The remembered row carries a red dot on the edit page only.
    View().GetModel().SetMarkRow(5);
    Repaint();
    const CRect rcMark = CellRect(0, 5);
    const int yDot = rcMark.top + View().GetMetrics().nRowHeight / 2;
    EXPECT_EQ(Pixel(5, yDot), RGB(255, 0, 0));
    View().SetSummaryPageShown(true);
    Repaint();
    EXPECT_NE(Pixel(5, yDot), RGB(255, 0, 0));
    View().SetSummaryPageShown(false);
}

// Without any colour settings the styled rows are black on white, never black on black.
TEST_F(GridPaint, RowsWithoutColourSettingsAreBlackOnWhite)
{
    EXPECT_EQ(CellBackground(scSpec, srMiddleTotal), RGB(255, 255, 255));
    EXPECT_EQ(CellBackground(scSpec, srKind), RGB(255, 255, 255));
    const auto [nLeft, nRight] = InkExtent(scName, srKind, RGB(255, 255, 255));
    ASSERT_GE(nLeft, 0);
    bool bBlack = false;
    const CRect rc = CellRect(scName, srKind);
    for (int x = nLeft; x <= nRight && !bBlack; ++x)
        for (int y = rc.top + 3; y < rc.bottom - 3; ++y)
            bBlack = bBlack || Pixel(x, y) == RGB(0, 0, 0);
    EXPECT_TRUE(bBlack);
}

TEST_F(GridPaint, RowNumbersCountWithinThePageAndThePageEndsWithADoubleLine)
{
    // Rows 17 and 18 (0-based) meet at a page boundary with 18 rows a page: the line there is
    // thicker than between two rows of a page.
    ASSERT_EQ(View().GetRowsPerPage(), 18);
    EXPECT_EQ(View().GetMetrics().nRowHeaderWidth, 41); // two digits, a spare one and a mark
    const auto grey = [&](int x, int y) { return Pixel(x, y) == RGB(128, 128, 128); };
    const auto lineThickness = [&](int nRow) {
        const CRect rc = CellRect(scSpec, nRow);
        const int x = rc.left + rc.Width() / 2;
        int n = 0;
        for (int y = rc.bottom - 4; y <= rc.bottom + 4; ++y)
            n += grey(x, y) ? 1 : 0;
        return n;
    };
    EXPECT_GT(lineThickness(17), lineThickness(16));
    EXPECT_GT(lineThickness(17), lineThickness(18));
}

TEST_F(GridPaint, AnEnterPaintsTheEditedRowAndItsTotalsAgainAndLeavesTheRowsBetweenAlone)
{
    // A quantity typed and entered as the keyboard delivers it: the editor opens over the
    // cell, Enter stores it and gives the keyboard back to the grid.
    GoTo(scQty, srFirstDetail);
    Pump();
    // Each key to the widget with the keyboard: the first opens the editor, which takes it.
    for (const char* lpszKey : {"1", "2"}) {
        QWidget* pKeys = QApplication::focusWidget();
        RealInput::TypeText(pKeys != nullptr ? pKeys : View().GetClientWidget(), lpszKey);
        Pump();
    }
    ASSERT_TRUE(EditorVisible());
    const double dTotalBefore = Value(srMiddleTotal, scAmount);
    CPaintWatch watch(View().GetClientWidget());
    RealInput::PressKeys(QApplication::focusWidget(), Qt::NoModifier, Qt::Key_Return);
    Pump();

    EXPECT_EQ(Value(srFirstDetail, scQty), 12);
    EXPECT_NE(Value(srMiddleTotal, scAmount), dTotalBefore);
    EXPECT_TRUE(watch.Painted(CellRect(scAmount, srFirstDetail)));
    EXPECT_TRUE(watch.Painted(CellRect(scAmount, srMiddleTotal)));
    // The details between the edited row and their total show what they showed.
    EXPECT_FALSE(watch.Painted(CellRect(scSpec, srFirstDetail + 2)));
    EXPECT_FALSE(watch.Painted(CellRect(scAmount, srFirstDetail + 2)));
    EXPECT_EQ(watch.ScrollBarPaints(), 0);
}

TEST_F(GridPaintColoured, OneRepaintShowsTheCellsWithoutAnEmptyGridInBetween)
{
    // The screen copy is taken when the window is shown again; by then both paints of the
    // pair have run.
    CMorvelEMView::SetCellPaintNext(false);
    View().Invalidate(TRUE);
    View().UpdateWindow();
    EXPECT_EQ(CellBackground(scSpec, srMiddleTotal), RGB(214, 245, 214));
    EXPECT_FALSE(CMorvelEMView::IsCellPaintNext());
}

TEST_F(GridPaintColoured, RowsBelowANewTotalRowShowTheRowsThatMovedThere)
{
    const COLORREF clrDetail = CellBackground(scSpec, srFirstDetail + 2);
    const COLORREF clrTotal = CellBackground(scSpec, srMiddleTotal);
    ASSERT_NE(clrDetail, clrTotal);
    GoTo(scName, srFirstDetail + 1);
    Pump();
    Command(ID_TOTAL_SMALL);
    // Only what the command had repainted is painted again.
    View().UpdateWindow();
    View().UpdateWindow();
    Pump();
    EXPECT_EQ(CellBackground(scSpec, srMiddleTotal), clrDetail);
    EXPECT_EQ(CellBackground(scSpec, srMiddleTotal + 1), clrTotal);
}
