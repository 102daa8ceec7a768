// The list control in report view as the pick lists and selection dialogs use it:
// columns and sub-items, item states with their change notifications, single and multiple
// selection by mouse and keys, sorting, and owner drawing through the parent.
#include "platform/base/CString.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include "CommonCtlTestSupport.h"

#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace commonctl;

namespace {

struct ItemChange {
    UINT code;
    int iItem;
    int iSubItem;
    UINT uOld;
    UINT uNew;
    UINT uChanged;
};

// A parent that draws owner-drawn rows itself: each row filled with a colour by its index.
class CDrawingParent : public CNotifyParent {
public:
    std::vector<DRAWITEMSTRUCT> draws;
    std::vector<MEASUREITEMSTRUCT> measures;
    UINT nRowHeight = 0; // answer to WM_MEASUREITEM (0: leave the control's)
    static COLORREF RowColour(UINT i) { return RGB(40 * (i % 6), 200, 255 - 30 * (i % 6)); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DRAWITEM) {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            draws.push_back(*dis);
            CDC* pDC = CDC::FromHandle(dis->hDC);
            pDC->FillSolidRect(&dis->rcItem, RowColour(dis->itemID));
            return TRUE;
        }
        if (message == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            measures.push_back(*mis);
            if (nRowHeight)
                mis->itemHeight = nRowHeight;
            return TRUE;
        }
        return CNotifyParent::WindowProc(message, wParam, lParam);
    }
};

class ListTest : public ::testing::Test {
protected:
    void Make(DWORD dwStyle)
    {
        ASSERT_TRUE(parent.CreateTopLevel(400, 300));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | dwStyle,
                                CRect(0, 0, 360, 200), &parent, 1061));
        parent.onNotify = [this](NMHDR* p) -> LRESULT {
            if (p->code == LVN_ITEMCHANGED || p->code == LVN_ITEMCHANGING || p->code == LVN_COLUMNCLICK ||
                p->code == LVN_DELETEITEM || p->code == LVN_INSERTITEM || p->code == LVN_BEGINDRAG) {
                auto* n = reinterpret_cast<NMLISTVIEW*>(p);
                changes.push_back({p->code, n->iItem, n->iSubItem, n->uOldState, n->uNewState, n->uChanged});
            } else if (p->code == NM_CLICK || p->code == NM_DBLCLK || p->code == NM_RCLICK) {
                auto* n = reinterpret_cast<NMITEMACTIVATE*>(p);
                changes.push_back({p->code, n->iItem, n->iSubItem, 0, 0, 0});
            } else if (p->code == LVN_KEYDOWN) {
                changes.push_back({p->code, reinterpret_cast<NMLVKEYDOWN*>(p)->wVKey, 0, 0, 0, 0});
            }
            return 0;
        };
        PumpEvents();
        viewport = list.GetClientWidget();
        ASSERT_NE(viewport, nullptr);
    }
    void TearDown() override
    {
        list.DestroyWindow();
        parent.DestroyWindow();
        PumpEvents();
    }

    void AddColumnsAndRows(int nRows)
    {
        list.InsertColumn(0, "大科目"_sj, LVCFMT_LEFT, 100);
        list.InsertColumn(1, "単位"_sj, LVCFMT_LEFT, 50);
        list.InsertColumn(2, "金額"_sj, LVCFMT_RIGHT, 80);
        for (int i = 0; i < nRows; ++i) {
            CString name;
            name.Format("%s%d", static_cast<const char*>("工事"_sj), i);
            const int n = list.InsertItem(i, name);
            list.SetItemText(n, 1, "式"_sj);
            CString amount;
            amount.Format("%d", (i + 1) * 1000);
            list.SetItemText(n, 2, amount);
            list.SetItemData(n, static_cast<DWORD_PTR>(100 + i));
        }
        changes.clear();
    }

    std::vector<ItemChange> Changes(UINT code) const
    {
        std::vector<ItemChange> v;
        std::copy_if(changes.begin(), changes.end(), std::back_inserter(v),
                     [code](const ItemChange& c) { return c.code == code; });
        return v;
    }

    QPoint RowCentre(int i)
    {
        CRect rc;
        EXPECT_TRUE(list.GetItemRect(i, &rc, LVIR_BOUNDS));
        return QPoint(rc.left + 20, rc.CenterPoint().y);
    }

    CDrawingParent parent;
    CListCtrl list;
    QWidget* viewport = nullptr;
    std::vector<ItemChange> changes;
};

} // namespace

TEST_F(ListTest, ColumnsAndSubItemsHoldCodePage932Texts)
{
    Make(LVS_SINGLESEL);
    AddColumnsAndRows(3);
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(1, 0), "工事1"_sj);
    EXPECT_EQ(list.GetItemText(1, 1), "式"_sj);
    EXPECT_EQ(list.GetItemText(2, 2), "3000");
    EXPECT_EQ(list.GetItemData(2), 102u);
    EXPECT_EQ(list.GetColumnWidth(0), 100);
    EXPECT_EQ(list.GetColumnWidth(2), 80);
    LVCOLUMN col{};
    char buf[32] = {};
    col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    col.pszText = buf;
    col.cchTextMax = sizeof buf;
    ASSERT_TRUE(list.GetColumn(2, &col));
    EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
    EXPECT_EQ(CString(buf), "金額"_sj);
    ASSERT_TRUE(list.SetColumnWidth(1, 70));
    EXPECT_EQ(list.GetColumnWidth(1), 70);

    // A short buffer gets whole characters only.
    char small[4] = {};
    EXPECT_EQ(list.GetItemText(0, 0, small, sizeof small), 2);
    EXPECT_EQ(CString(small), "工"_sj);

    ASSERT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(0, 0), "工事1"_sj);
    EXPECT_FALSE(list.DeleteItem(5));
    ASSERT_TRUE(list.DeleteColumn(1));
    EXPECT_EQ(list.GetColumnWidth(1), 80) << "the amount column moved left";
}

TEST_F(ListTest, StateChangesAreNotifiedWithOldAndNewState)
{
    Make(LVS_SINGLESEL | LVS_SHOWSELALWAYS);
    AddColumnsAndRows(3);
    ASSERT_TRUE(list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED));
    auto ch = Changes(LVN_ITEMCHANGED);
    ASSERT_EQ(ch.size(), 1u);
    EXPECT_EQ(ch[0].iItem, 0);
    EXPECT_EQ(ch[0].uOld, 0u);
    EXPECT_EQ(ch[0].uNew, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(ch[0].uChanged, LVIF_STATE);
    EXPECT_EQ(Changes(LVN_ITEMCHANGING).size(), 1u);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0);
    EXPECT_EQ(list.GetSelectedCount(), 1u);

    // One selection at most: selecting item 2 takes it from item 0 first.
    changes.clear();
    list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ch = Changes(LVN_ITEMCHANGED);
    ASSERT_EQ(ch.size(), 3u);
    EXPECT_EQ(ch[0].iItem, 0);
    EXPECT_EQ(ch[0].uNew, static_cast<UINT>(LVIS_FOCUSED));
    EXPECT_EQ(ch[1].iItem, 0);
    EXPECT_EQ(ch[1].uNew, 0u);
    EXPECT_EQ(ch[2].iItem, 2);
    EXPECT_EQ(ch[2].uNew, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(list.GetSelectedCount(), 1u);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 2);

    // Setting what is already set changes nothing and tells nobody.
    changes.clear();
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(changes.empty());

    // A text change is a change of the item as well.
    list.SetItemText(1, 1, "m");
    ch = Changes(LVN_ITEMCHANGED);
    ASSERT_EQ(ch.size(), 1u);
    EXPECT_EQ(ch[0].uChanged, LVIF_TEXT);
    EXPECT_EQ(ch[0].uNew, ch[0].uOld);
}

TEST_F(ListTest, TheParentMayRefuseAChange)
{
    Make(0);
    AddColumnsAndRows(2);
    parent.onNotify = [](NMHDR* p) -> LRESULT { return p->code == LVN_ITEMCHANGING ? TRUE : 0; };
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED), 0u);
}

TEST_F(ListTest, ClicksSelectAndCtrlShiftExtendInAMultipleSelectionList)
{
    Make(LVS_SHOWSELALWAYS);
    AddColumnsAndRows(6);
    Click(viewport, RowCentre(1));
    EXPECT_EQ(list.GetSelectedCount(), 1u);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    ASSERT_FALSE(Changes(NM_CLICK).empty());
    EXPECT_EQ(Changes(NM_CLICK).back().iItem, 1);

    Click(viewport, RowCentre(3), Qt::ControlModifier);
    EXPECT_EQ(list.GetSelectedCount(), 2u);
    Click(viewport, RowCentre(5), Qt::ShiftModifier);
    std::vector<int> sel;
    for (int i = list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = list.GetNextItem(i, LVNI_SELECTED))
        sel.push_back(i);
    EXPECT_EQ(sel, (std::vector<int>{3, 4, 5})) << "from the last clicked item to this one";
    Click(viewport, RowCentre(4), Qt::ControlModifier);
    EXPECT_EQ(list.GetSelectedCount(), 2u);

    // A click below the items takes the selection away.
    Click(viewport, QPoint(20, viewport->height() - 3));
    EXPECT_EQ(list.GetSelectedCount(), 0u);
}

TEST_F(ListTest, SingleSelectionIgnoresModifiersAndStyleCanChange)
{
    Make(LVS_SINGLESEL);
    AddColumnsAndRows(4);
    Click(viewport, RowCentre(0));
    Click(viewport, RowCentre(2), Qt::ControlModifier);
    EXPECT_EQ(list.GetSelectedCount(), 1u);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
    // Removing the style by code allows several (the selection list does this in parts mode).
    list.ModifyStyle(LVS_SINGLESEL, 0);
    Click(viewport, RowCentre(3), Qt::ControlModifier);
    EXPECT_EQ(list.GetSelectedCount(), 2u);
}

TEST_F(ListTest, DoubleClickAndRightClickAreReportedWithTheItem)
{
    Make(LVS_SINGLESEL);
    AddColumnsAndRows(3);
    const QPoint pt = RowCentre(2);
    SendMouse(viewport, QEvent::MouseButtonPress, pt, Qt::LeftButton, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseButtonRelease, pt, Qt::LeftButton, Qt::NoButton);
    SendMouse(viewport, QEvent::MouseButtonDblClick, pt, Qt::LeftButton, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseButtonRelease, pt, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(Changes(NM_DBLCLK).size(), 1u);
    EXPECT_EQ(Changes(NM_DBLCLK)[0].iItem, 2);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);

    const QPoint pt0 = RowCentre(0);
    SendMouse(viewport, QEvent::MouseButtonPress, pt0, Qt::RightButton, Qt::RightButton);
    SendMouse(viewport, QEvent::MouseButtonRelease, pt0, Qt::RightButton, Qt::NoButton);
    ASSERT_EQ(Changes(NM_RCLICK).size(), 1u);
    EXPECT_EQ(Changes(NM_RCLICK)[0].iItem, 0);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0) << "the right button selects the item under it";
}

TEST_F(ListTest, KeysMoveTheSelectionAndAreReported)
{
    Make(LVS_SINGLESEL);
    AddColumnsAndRows(5);
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    changes.clear();
    QWidget* w = list.GetWidget();
    SendKey(w, Qt::Key_Down);
    ASSERT_FALSE(Changes(LVN_KEYDOWN).empty());
    EXPECT_EQ(Changes(LVN_KEYDOWN)[0].iItem, static_cast<int>(VK_DOWN));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
    SendKey(w, Qt::Key_End);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 4);
    SendKey(w, Qt::Key_Home);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0);
    // Typing the first letters jumps to the item.
    list.SetItemText(3, 0, "Zebra");
    SendKey(w, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 3);
}

TEST_F(ListTest, SortItemsByDataAndSortedStyleByText)
{
    Make(LVS_SINGLESEL);
    AddColumnsAndRows(4);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_TRUE(list.SortItems([](LPARAM a, LPARAM b, LPARAM dir) { return static_cast<int>(dir * (a - b)); },
                               static_cast<DWORD_PTR>(-1)));
    EXPECT_EQ(list.GetItemData(0), 103u);
    EXPECT_EQ(list.GetItemData(3), 100u);
    EXPECT_EQ(list.GetItemText(0, 2), "4000") << "sub-items move with their item";
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2) << "the selection moves with its item";

    CListCtrl sorted;
    ASSERT_TRUE(sorted.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SORTASCENDING | LVS_NOCOLUMNHEADER,
                              CRect(0, 210, 200, 290), &parent, 1062));
    sorted.InsertColumn(0, "", LVCFMT_LEFT, 150);
    EXPECT_EQ(sorted.InsertItem(0, "D:"), 0);
    EXPECT_EQ(sorted.InsertItem(0, "F:"), 1) << "placed by its text, not where asked";
    EXPECT_EQ(sorted.InsertItem(5, "A:"), 0);
    EXPECT_EQ(sorted.GetItemText(2, 0), "F:");
    sorted.DestroyWindow();
}

TEST_F(ListTest, ColumnClickIsReported)
{
    Make(LVS_SINGLESEL);
    AddColumnsAndRows(2);
    auto* tv = qobject_cast<QTreeView*>(list.GetWidget());
    ASSERT_NE(tv, nullptr);
    QHeaderView* header = tv->header();
    ASSERT_TRUE(header->isVisible());
    const int x = header->sectionViewportPosition(2) + 10;
    Click(header->viewport(), QPoint(x, header->height() / 2));
    auto ch = Changes(LVN_COLUMNCLICK);
    ASSERT_EQ(ch.size(), 1u);
    EXPECT_EQ(ch[0].iSubItem, 2);
    EXPECT_EQ(ch[0].iItem, -1);
    EXPECT_EQ(list.GetSelectedCount(), 0u) << "a header click is no item click";
}

TEST_F(ListTest, RectanglesHitTestsAndScrolling)
{
    Make(LVS_SINGLESEL | LVS_NOCOLUMNHEADER);
    AddColumnsAndRows(40);
    CRect rc0, rc1;
    ASSERT_TRUE(list.GetItemRect(0, &rc0, LVIR_BOUNDS));
    ASSERT_TRUE(list.GetItemRect(1, &rc1, LVIR_BOUNDS));
    const int h = rc0.Height();
    EXPECT_GT(h, 8);
    EXPECT_EQ(rc0.top, 0);
    EXPECT_EQ(rc1.top, h);
    EXPECT_EQ(rc0.Width(), 100 + 50 + 80);
    CRect rcSub;
    ASSERT_TRUE(list.GetSubItemRect(0, 2, LVIR_BOUNDS, rcSub));
    EXPECT_EQ(rcSub.left, 150);
    EXPECT_EQ(rcSub.Width(), 80);

    UINT flags = 0;
    EXPECT_EQ(list.HitTest(CPoint(160, h + h / 2), &flags), 1);
    EXPECT_TRUE(flags & LVHT_ONITEM);
    EXPECT_EQ(list.HitTest(CPoint(300, h / 2), &flags), -1) << "right of the last column";
    EXPECT_EQ(flags, LVHT_NOWHERE);

    const int perPage = list.GetCountPerPage();
    EXPECT_EQ(perPage, viewport->height() / h);
    EXPECT_EQ(list.GetTopIndex(), 0);
    ASSERT_TRUE(list.EnsureVisible(39, FALSE));
    EXPECT_EQ(list.GetTopIndex(), 40 - perPage);
    ASSERT_TRUE(list.GetItemRect(39, &rc0, LVIR_BOUNDS));
    EXPECT_EQ(rc0.top, (perPage - 1) * h);
    EXPECT_EQ(list.HitTest(CPoint(10, rc0.CenterPoint().y)), 39);
}

TEST_F(ListTest, OwnerDrawnRowsArePaintedByTheParent)
{
    parent.nRowHeight = 22;
    Make(LVS_SINGLESEL | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS);
    AddColumnsAndRows(3);
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    parent.draws.clear();
    viewport->repaint();

    ASSERT_FALSE(parent.measures.empty());
    EXPECT_EQ(parent.measures[0].CtlType, ODT_LISTVIEW);
    EXPECT_EQ(parent.measures[0].CtlID, 1061u);
    ASSERT_EQ(parent.draws.size(), 3u);
    for (UINT i = 0; i < 3; ++i) {
        const DRAWITEMSTRUCT& d = parent.draws[i];
        EXPECT_EQ(d.CtlType, ODT_LISTVIEW);
        EXPECT_EQ(d.CtlID, 1061u);
        EXPECT_EQ(d.itemID, i);
        EXPECT_EQ(d.hwndItem, list.m_hWnd);
        EXPECT_EQ(d.itemAction, ODA_DRAWENTIRE);
        CRect rc;
        list.GetItemRect(static_cast<int>(i), &rc, LVIR_BOUNDS);
        EXPECT_EQ(CRect(d.rcItem), rc);
        EXPECT_EQ(d.rcItem.top, static_cast<LONG>(i * 22));
        EXPECT_EQ(d.rcItem.bottom - d.rcItem.top, 22);
        EXPECT_EQ(d.rcItem.right - d.rcItem.left, 230);
        EXPECT_EQ(d.itemData, 100u + i);
        EXPECT_EQ((d.itemState & ODS_SELECTED) != 0, i == 1);
    }
    // What the parent drew is what the list shows.
    const QImage img = Grab(viewport);
    for (UINT i = 0; i < 3; ++i)
        EXPECT_EQ(img.pixel(200, static_cast<int>(i * 22 + 11)), Rgb(CDrawingParent::RowColour(i)))
            << "row " << i;
    EXPECT_EQ(img.pixel(300, 11), Rgb(list.GetBkColor())) << "right of the columns";
    EXPECT_EQ(img.pixel(10, 3 * 22 + 5), Rgb(list.GetBkColor())) << "below the rows";
}

TEST_F(ListTest, DeletingAllAnnouncesEachItemUnlessTheParentDeclines)
{
    Make(0);
    AddColumnsAndRows(3);
    ASSERT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(Changes(LVN_DELETEITEM).size(), 3u);
    EXPECT_EQ(parent.Count(LVN_DELETEALLITEMS), 1);
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_ALL), -1);
}

namespace {

// The shape of an owner-drawn list class: it draws its own rows (handed back by the parent)
// and sees WM_PAINT before the rows are drawn.
class CSelfDrawnList : public CListCtrl {
public:
    std::vector<std::string> order;
    std::vector<RECT> rows;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        order.push_back("row");
        rows.push_back(lpDrawItemStruct->rcItem);
        CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
        pDC->FillSolidRect(&lpDrawItemStruct->rcItem, RGB(10, 20, 30));
    }
    afx_msg void OnPaint()
    {
        order.push_back("paint");
        Default();
        order.push_back("painted");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfDrawnList, CListCtrl)
ON_WM_PAINT()
END_MESSAGE_MAP()

} // namespace

TEST(ListSubclassTest, ASubclassedListDrawsItsOwnRowsDuringItsPaint)
{
    CNotifyParent parent;
    ASSERT_TRUE(parent.CreateTopLevel(300, 200));
    // Made as a plain window of the class (as a dialog makes it), then taken over.
    CWnd* pPlain = new CWnd;
    ASSERT_TRUE(pPlain->CreateEx(0, WC_LISTVIEW, nullptr,
                                 WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER,
                                 CRect(0, 0, 250, 150), &parent, 1061));
    CSelfDrawnList list;
    ASSERT_TRUE(list.SubclassDlgItem(1061, &parent));
    list.InsertColumn(0, "", LVCFMT_LEFT, 120);
    list.InsertItem(0, "a");
    list.InsertItem(1, "b");
    PumpEvents();
    QWidget* viewport = list.GetClientWidget();
    list.order.clear();
    list.rows.clear();
    viewport->repaint();
    EXPECT_EQ(list.order, (std::vector<std::string>{"paint", "row", "row", "painted"}));
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[1].top, list.rows[0].bottom);
    EXPECT_EQ(Grab(viewport).pixel(60, list.rows[1].top + 2), qRgb(10, 20, 30));

    list.DestroyWindow();
    delete pPlain;
    parent.DestroyWindow();
    PumpEvents();
}
