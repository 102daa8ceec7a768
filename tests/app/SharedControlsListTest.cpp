// The two shared lists: the owner-drawn report list (whole-row highlight reaching the
// window's edge, texts cut with "...", right-aligned columns falling back to the left when
// cut, grid lines) and the check-mark list (ticks by clicking the tick column, disabled
// rows, the 200 rows it keeps ticks for).
#include "app/CCheckMarkListBox.h"
#include "app/CListCtrlEx.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/SysColors.h"

#include "SharedControlsTestSupport.h"

#include <QAbstractScrollArea>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace commonctl;
using namespace sharedctl;

namespace {

QWidget* ViewportOf(CWnd& wnd)
{
    auto* pArea = qobject_cast<QAbstractScrollArea*>(wnd.GetWidget());
    return pArea ? pArea->viewport() : wnd.GetWidget();
}

// Pixels of a colour in a rectangle of an image.
int CountColour(const QImage& img, const QRect& area, QRgb colour)
{
    int n = 0;
    const QRect r = area.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
    return n;
}

// The pixels of an area within a small distance of a colour in each channel: the cores of
// smoothed glyphs, which are drawn in the text colour but not always exactly.
int CountNearColour(const QImage& img, const QRect& area, QRgb colour, int tolerance = 40)
{
    int n = 0;
    const QRect r = area.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            n += std::abs(qRed(p) - qRed(colour)) <= tolerance &&
                         std::abs(qGreen(p) - qGreen(colour)) <= tolerance &&
                         std::abs(qBlue(p) - qBlue(colour)) <= tolerance
                     ? 1
                     : 0;
        }
    }
    return n;
}

// The leftmost and rightmost columns with pixels much darker than the background.
std::pair<int, int> InkSpan(const QImage& img, const QRect& area)
{
    int first = -1, last = -1;
    const QRect r = area.intersected(img.rect());
    for (int x = r.left(); x <= r.right(); ++x) {
        for (int y = r.top() + 2; y <= r.bottom() - 2; ++y) {
            if (qGray(img.pixel(x, y)) < 100) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

// ---------------------------------------------------------------------------------------
// The report list.
// ---------------------------------------------------------------------------------------
class ListCtrlExTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(420, 220));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_SINGLESEL, CRect(0, 0, 400, 200), &parent, 1001));
        list.InsertColumn(0, "名称"_sj, LVCFMT_LEFT, 120);
        list.InsertColumn(1, "数量"_sj, LVCFMT_RIGHT, 80);
        list.InsertItem(0, "ｺﾝｸﾘｰﾄ"_sj);
        list.SetItemText(0, 1, "1");
        list.InsertItem(1, "鉄筋"_sj);
        list.SetItemText(1, 1, "12");
        list.InsertItem(2, "型枠"_sj);
        PumpEvents();
    }
    void TearDown() override
    {
        list.DestroyWindow();
        parent.DestroyWindow();
        PumpEvents();
    }
    QImage Shot() { return Grab(ViewportOf(list)); }
    CRect Row(int i)
    {
        CRect rc;
        list.GetItemRect(i, &rc, LVIR_BOUNDS);
        return rc;
    }

    CNotifyParent parent;
    CListCtrlEx list;
};

TEST_F(ListCtrlExTest, IsAlwaysAnOwnerDrawnReport)
{
    const DWORD style = list.GetStyle();
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_OWNERDRAWFIXED);
    // The class is made by name too (data exchange in dialogs).
    CObject* pObject = RUNTIME_CLASS(CListCtrlEx)->CreateObject();
    ASSERT_NE(pObject, nullptr);
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CListCtrlEx)));
    delete pObject;
}

TEST_F(ListCtrlExTest, SelectedRowIsDrawnInHighlightColoursUpToTheWindowsEdge)
{
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetFocus();
    PumpEvents();
    const QImage img = Shot();
    const CRect row0 = Row(0), row1 = Row(1);
    const QRgb highlight = Rgb(::GetSysColor(COLOR_HIGHLIGHT));
    const QRgb window = Rgb(::GetSysColor(COLOR_WINDOW));
    // Beyond the last column (at 200) the highlight goes on to the right edge.
    const int yMid1 = (row1.top + row1.bottom) / 2;
    EXPECT_EQ(img.pixel(300, yMid1) & 0xFFFFFF, highlight & 0xFFFFFF);
    EXPECT_EQ(img.pixel(img.width() - 3, yMid1) & 0xFFFFFF, highlight & 0xFFFFFF);
    EXPECT_EQ(img.pixel(300, (row0.top + row0.bottom) / 2) & 0xFFFFFF, window & 0xFFFFFF);
    // The texts of the selected row in the highlight text colour (white on blue).
    const QRect label1(row1.left + 2, row1.top + 1, 110, row1.Height() - 3);
    EXPECT_GT(CountNearColour(img, label1, Rgb(::GetSysColor(COLOR_HIGHLIGHTTEXT))), 10);
    EXPECT_EQ(CountColour(img, QRect(row0.left, row0.top, 400, row0.Height() - 1), highlight), 0)
        << "the other rows are not highlighted";
}

TEST_F(ListCtrlExTest, WithoutTheFocusTheSelectionIsNotShownUnlessKeptVisible)
{
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    parent.SetFocus();
    PumpEvents();
    const CRect row1 = Row(1);
    const int yMid1 = (row1.top + row1.bottom) / 2;
    QImage img = Shot();
    EXPECT_EQ(img.pixel(300, yMid1) & 0xFFFFFF, Rgb(::GetSysColor(COLOR_WINDOW)) & 0xFFFFFF);

    list.ModifyStyle(0, LVS_SHOWSELALWAYS);
    list.Invalidate();
    PumpEvents();
    img = Shot();
    EXPECT_EQ(img.pixel(300, yMid1) & 0xFFFFFF, Rgb(::GetSysColor(COLOR_HIGHLIGHT)) & 0xFFFFFF);
}

TEST_F(ListCtrlExTest, GridLinesRunAlongRowsAndColumnEdges)
{
    PumpEvents();
    const QImage img = Shot();
    const CRect row0 = Row(0);
    const QRgb black = qRgb(0, 0, 0);
    // Along the bottom of the first row, right across the window.
    EXPECT_EQ(img.pixel(50, row0.bottom - 1) & 0xFFFFFF, black & 0xFFFFFF);
    EXPECT_EQ(img.pixel(350, row0.bottom - 1) & 0xFFFFFF, black & 0xFFFFFF);
    // At the right edges of the two columns (120 and 200).
    EXPECT_EQ(img.pixel(119, row0.top + 3) & 0xFFFFFF, black & 0xFFFFFF);
    EXPECT_EQ(img.pixel(199, row0.top + 3) & 0xFFFFFF, black & 0xFFFFFF);
    EXPECT_NE(img.pixel(160, row0.top + 3) & 0xFFFFFF, black & 0xFFFFFF);
}

TEST_F(ListCtrlExTest, ScrolledDownTheRowsOnScreenKeepTheirGridAndHighlight)
{
    for (int i = 3; i < 200; ++i)
        list.InsertItem(i, "x");
    list.SetItemState(150, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.EnsureVisible(150, FALSE);
    list.SetFocus();
    PumpEvents();
    ASSERT_GT(list.GetTopIndex(), 100);
    const QImage img = Shot();
    const CRect row = Row(150);
    ASSERT_GE(row.top, 0);
    ASSERT_LT(row.bottom, img.height());
    EXPECT_EQ(img.pixel(300, (row.top + row.bottom) / 2) & 0xFFFFFF,
              Rgb(::GetSysColor(COLOR_HIGHLIGHT)) & 0xFFFFFF);
    const CRect above = Row(149);
    EXPECT_EQ(img.pixel(350, above.bottom - 1) & 0xFFFFFF, qRgb(0, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(119, above.top + 3) & 0xFFFFFF, qRgb(0, 0, 0) & 0xFFFFFF);
}

TEST_F(ListCtrlExTest, RightAlignedColumnFallsBackToTheLeftWhenItsTextIsCut)
{
    list.SetItemText(0, 1, "1");
    list.SetItemText(1, 1, "123456789012345678901234567890");
    PumpEvents();
    const QImage img = Shot();
    const CRect row0 = Row(0), row1 = Row(1);
    // Column 1 runs from 120 to 200; texts keep 6 pixels from its sides.
    const auto [first0, last0] = InkSpan(img, QRect(121, row0.top, 78, row0.Height() - 1));
    ASSERT_GE(first0, 0);
    // (Glyphs keep a pixel or two of their own room at each side.)
    EXPECT_GE(last0, 200 - 6 - 6) << "a short number sits at the right";
    EXPECT_GT(first0, 160);
    const auto [first1, last1] = InkSpan(img, QRect(121, row1.top, 78, row1.Height() - 1));
    ASSERT_GE(first1, 0);
    EXPECT_LE(first1, 120 + 6 + 4) << "a cut text starts at the left";
    EXPECT_LE(last1, 200 - 6) << "and stays inside its column";
}

TEST_F(ListCtrlExTest, TextColoursAreKeptFromTheListsOwnMessages)
{
    list.SetTextBkColor(RGB(255, 255, 200));
    list.SetTextColor(RGB(200, 0, 0));
    list.Invalidate();
    PumpEvents();
    const QImage img = Shot();
    const CRect row2 = Row(2);
    // The row's text background behind the label.
    EXPECT_EQ(img.pixel(60, row2.top + 2) & 0xFFFFFF, qRgb(255, 255, 200) & 0xFFFFFF);
    EXPECT_GT(CountNearColour(img, QRect(row2.left, row2.top, 120, row2.Height()), qRgb(200, 0, 0)), 0)
        << "the text in the text colour";
}

// ---------------------------------------------------------------------------------------
// Shortening texts.
// ---------------------------------------------------------------------------------------
class ShortStringTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        ASSERT_TRUE(font.CreatePointFont(90, "ＭＳ Ｐゴシック"_sj));
        dc.SelectObject(&font);
    }
    int Width(const CString& s) { return dc.GetTextExtent(s).cx; }

    CDC dc;
    CFont font;
};

TEST_F(ShortStringTest, ATextThatFitsIsLeftAlone)
{
    BOOL bShort = TRUE;
    const CString text = "123";
    EXPECT_EQ(CListCtrlEx::MakeShortString(&dc, text, Width(text) + 12, 12, &bShort), text);
    EXPECT_FALSE(bShort);
    EXPECT_EQ(CListCtrlEx::MakeShortString(&dc, "", 0, 12, &bShort), "");
    EXPECT_FALSE(bShort);
}

TEST_F(ShortStringTest, ALongTextIsCutToTheLongestStartThatFitsWithDots)
{
    const CString text = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const int nColumn = Width("ABCDEFGHIJ") + 12;
    BOOL bShort = FALSE;
    const CString shown = CListCtrlEx::MakeShortString(&dc, text, nColumn, 12, &bShort);
    EXPECT_TRUE(bShort);
    ASSERT_GT(shown.GetLength(), 3);
    EXPECT_EQ(shown.Right(3), "...");
    const CString kept = shown.Left(shown.GetLength() - 3);
    EXPECT_EQ(text.Left(kept.GetLength()), kept);
    EXPECT_LE(Width(shown) + 12, nColumn);
    // One more character would not have fitted.
    EXPECT_GT(Width(text.Left(kept.GetLength() + 1) + "...") + 12, nColumn);
}

TEST_F(ShortStringTest, AColumnNarrowerThanTheDotsKeepsOneCharacter)
{
    const int nColumn = Width("...") + 12 - 1;
    EXPECT_EQ(CListCtrlEx::MakeShortString(&dc, "abcdef", nColumn, 12), "a...");
    EXPECT_EQ(CListCtrlEx::MakeShortString(&dc, "abcdef", 0, 12), "a...");
}

TEST_F(ShortStringTest, DoubleByteCharactersAreNeverSplit)
{
    const CString text = "鉄筋コンクリート造"_sj;
    for (int nColumn = 0; nColumn < Width(text) + 12; nColumn += 3) {
        const CString shown = CListCtrlEx::MakeShortString(&dc, text, nColumn, 12);
        ASSERT_EQ(shown.Right(3), "...") << nColumn;
        const CString kept = shown.Left(shown.GetLength() - 3);
        ASSERT_EQ(kept.GetLength() % 2, 0) << "whole two-byte characters only, column " << nColumn;
        ASSERT_GE(kept.GetLength(), 2);
        EXPECT_EQ(text.Left(kept.GetLength()), kept);
    }
}

// ---------------------------------------------------------------------------------------
// The check-mark list.
// ---------------------------------------------------------------------------------------
class CheckMarkListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(300, 200));
        // No border: the list's client area is its rows' area.
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY, CRect(0, 0, 240, 140), &parent, 1005));
        list.AddItem("番号"_sj);
        list.AddItem("名称"_sj);
        list.AddItem("単価"_sj);
        list.SetEnable(2, FALSE);
        PumpEvents();
        viewport = ViewportOf(list);
    }
    void TearDown() override
    {
        list.DestroyWindow();
        parent.DestroyWindow();
        PumpEvents();
    }
    void ClickAt(int x, int y)
    {
        Click(viewport, QPoint(x, y));
        PumpEvents();
    }

    CNotifyParent parent;
    CCheckMarkListBox list;
    QWidget* viewport = nullptr;
};

TEST_F(CheckMarkListTest, RowsAreTwentyPixelsHighAndStartUnticked)
{
    EXPECT_TRUE(list.GetStyle() & LBS_OWNERDRAWFIXED);
    EXPECT_EQ(list.GetItemHeight(0), 20);
    CRect rc;
    list.GetItemRect(1, &rc);
    EXPECT_EQ(rc.top, 20);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(list.GetCheck(i));
    EXPECT_TRUE(list.GetEnable(0));
    EXPECT_FALSE(list.GetEnable(2));
}

TEST_F(CheckMarkListTest, ClickingTheTickBoxOrTheTextTicksAndClearsTheRow)
{
    ClickAt(10, 10);
    EXPECT_EQ(list.GetCurSel(), 0);
    EXPECT_TRUE(list.GetCheck(0));
    ClickAt(10, 10);
    EXPECT_FALSE(list.GetCheck(0));

    // The text of a row ticks it as its box does, whether the row was chosen before or not.
    ClickAt(20, 30);
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_TRUE(list.GetCheck(1));
    ClickAt(21, 30);
    EXPECT_FALSE(list.GetCheck(1));
    ClickAt(120, 30);
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_TRUE(list.GetCheck(1));
    ClickAt(120, 10);
    EXPECT_EQ(list.GetCurSel(), 0);
    EXPECT_TRUE(list.GetCheck(0));
    EXPECT_TRUE(list.GetCheck(1));
}

TEST_F(CheckMarkListTest, DisabledRowsAndEmptySpaceNeverTick)
{
    ClickAt(10, 50);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_FALSE(list.GetCheck(2)) << "disabled";
    // Code may still tick a disabled row.
    list.SetCheck(2, TRUE);
    EXPECT_TRUE(list.GetCheck(2));

    ClickAt(10, 30);
    ASSERT_TRUE(list.GetCheck(1));
    // Below the last row: the row chosen before keeps its tick.
    ClickAt(10, 120);
    EXPECT_TRUE(list.GetCheck(1));
}

TEST_F(CheckMarkListTest, TicksAreKeptForTwoHundredRowsAndNothingBeyond)
{
    list.SetCheck(199, TRUE);
    EXPECT_TRUE(list.GetCheck(199));
    list.SetCheck(200, TRUE);
    list.SetCheck(-1, TRUE);
    list.SetCheck(100000, TRUE);
    list.SetEnable(200, FALSE);
    list.SetEnable(-5, FALSE);
    EXPECT_FALSE(list.GetCheck(200));
    EXPECT_FALSE(list.GetCheck(-1));
    EXPECT_FALSE(list.GetEnable(200));
    EXPECT_FALSE(list.GetEnable(-1));
    EXPECT_TRUE(list.GetCheck(199));
    EXPECT_TRUE(list.GetEnable(199));

    // A row past the tables is shown and chosen, but never ticked.
    for (int i = 3; i < 203; ++i)
        list.AddItem("x");
    list.SetTopIndex(200);
    PumpEvents();
    CRect rc;
    ASSERT_NE(list.GetItemRect(201, &rc), LB_ERR);
    ClickAt(10, rc.top + 5);
    EXPECT_EQ(list.GetCurSel(), 201);
    EXPECT_FALSE(list.GetCheck(201));
}

TEST_F(CheckMarkListTest, TickedRowShowsItsTickDisabledRowIsGreyChosenRowIsBlue)
{
    list.SetCheck(0, TRUE);
    list.Invalidate();
    PumpEvents();
    QImage img = Grab(viewport);
    // The tick box: 4 pixels inside the 20-pixel tick column.
    const QRect box0(5, 5, 10, 10), box1(5, 25, 10, 10);
    EXPECT_GT(CountColour(img, box0, qRgb(0, 0, 0)), 4) << "the tick";
    EXPECT_EQ(CountColour(img, box1, qRgb(0, 0, 0)), 0) << "an empty box";
    EXPECT_EQ(img.pixel(150, 45) & 0xFFFFFF, qRgb(128, 128, 128) & 0xFFFFFF) << "disabled row";
    EXPECT_EQ(img.pixel(150, 25) & 0xFFFFFF, qRgb(255, 255, 255) & 0xFFFFFF) << "enabled row";

    ClickAt(120, 30);
    img = Grab(viewport);
    EXPECT_EQ(img.pixel(10, 22) & 0xFFFFFF, qRgb(0, 0, 255) & 0xFFFFFF) << "the chosen row";
    EXPECT_GT(CountColour(img, QRect(24, 20, 100, 20), qRgb(255, 255, 255)), 10) << "in white letters";
}

} // namespace
