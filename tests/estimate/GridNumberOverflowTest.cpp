// A number wider than its cell, as the painted grid shows it: never its last digits cut
// on the left (123,456,789,012 must not read as a smaller figure), but a row of "#" that
// says it does not fit, while a number that fits shows its digits.
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "platform/ui/gdi/CClientDC.h"

#include <vector>

namespace {

class GridNumberOverflow : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        ASSERT_NE(OpenSample(), nullptr);
    }

    void Repaint()
    {
        Pump();
        m_pView->Invalidate(TRUE);
        m_pView->UpdateWindow();
        m_pView->UpdateWindow();
        Pump();
    }
    CRect CellRect(int nCol, int nRow) const
    {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        return rc;
    }
    // For each x of the cell (less its grid lines), whether the column of pixels between
    // the cell's top and bottom text margins holds anything but the background.
    std::vector<bool> InkColumns(int nCol, int nRow)
    {
        const CRect rc = CellRect(nCol, nRow);
        CClientDC dc(m_pView);
        const COLORREF clrBack = dc.GetPixel(rc.right - 3, rc.top + 2) & 0xFFFFFF;
        std::vector<bool> ink;
        for (int x = rc.left + 1; x < rc.right - 1; ++x) {
            bool bInk = false;
            for (int y = rc.top + 3; y < rc.bottom - 3 && !bInk; ++y)
                bInk = (dc.GetPixel(x, y) & 0xFFFFFF) != clrBack;
            ink.push_back(bInk);
        }
        return ink;
    }
    // The smallest period of at least 3 pixels with which the inked span repeats itself at
    // least twice over, or 0 when it does not: a row of one glyph repeats, digits with
    // their separators do not.
    static int RepeatPeriod(const std::vector<bool>& ink)
    {
        int nFirst = -1, nLast = -1;
        for (int x = 0; x < static_cast<int>(ink.size()); ++x) {
            if (ink[static_cast<size_t>(x)]) {
                if (nFirst < 0)
                    nFirst = x;
                nLast = x;
            }
        }
        if (nFirst < 0)
            return 0;
        for (int p = 3; p * 2 <= nLast - nFirst + 1; ++p) {
            bool bRepeats = true;
            for (int x = nFirst; x + p <= nLast && bRepeats; ++x)
                bRepeats = ink[static_cast<size_t>(x)] == ink[static_cast<size_t>(x + p)];
            if (bRepeats)
                return p;
        }
        return 0;
    }
};

} // namespace

TEST_F(GridNumberOverflow, ANumberTooWideForItsCellShowsHashesAndAFittingOneItsDigits)
{
    // Two detail rows of the sample, in view.
    const int nRow = srFirstDetail;
    ASSERT_EQ(m_pView->GetRowKind(nRow), kindDetail);
    ASSERT_EQ(m_pView->GetRowKind(nRow + 1), kindDetail);
    m_pView->SetCellText("1234", nRow, scPrice, TRUE);
    m_pView->SetCellText("123456789012", nRow + 1, scPrice, TRUE);
    Repaint();

    const CRect rc = CellRect(scPrice, nRow);
    ASSERT_GT(rc.Width(), 20);
    const std::vector<bool> fits = InkColumns(scPrice, nRow);
    const std::vector<bool> wide = InkColumns(scPrice, nRow + 1);

    // "1,234" shows, right-aligned, and is not a row of one glyph.
    int nFitsLeft = -1;
    for (size_t x = 0; x < fits.size() && nFitsLeft < 0; ++x)
        nFitsLeft = fits[x] ? static_cast<int>(x) : -1;
    ASSERT_GE(nFitsLeft, 0);
    EXPECT_GT(nFitsLeft, static_cast<int>(fits.size()) / 3);
    EXPECT_EQ(RepeatPeriod(fits), 0);

    // The twelve-digit price does not fit: the cell starts clear of its left edge (nothing
    // cut off there) and holds one repeated glyph.
    ASSERT_GE(wide.size(), 4u);
    EXPECT_FALSE(wide[0]);
    EXPECT_GT(RepeatPeriod(wide), 0);
}
