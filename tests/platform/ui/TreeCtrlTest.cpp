// The tree control as the subject tree uses it: inserting in order, walking the visible
// items after expanding, hit tests, the notifications of clicks, keys and drags, drop
// highlighting and the pictures of an image list.
#include "platform/base/CString.h"
#include "platform/ui/controls/CTreeCtrl.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CImageList.h"
#include "platform/ui/gdi/GdiObjects.h"

#include "CommonCtlTestSupport.h"

#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace commonctl;

namespace {

// A copy of a tree notification's fields that the tests look at.
struct TreeNote {
    UINT code;
    UINT action;
    HTREEITEM hOld;
    HTREEITEM hNew;
    POINT ptDrag;
    WORD wVKey;
};

class TreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(300, 400));
        ASSERT_TRUE(
            tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT,
                        CRect(0, 0, 280, 380), &parent, 1001));
        parent.onNotify = [this](NMHDR* p) -> LRESULT {
            TreeNote n{p->code, 0, nullptr, nullptr, POINT{0, 0}, 0};
            if (p->code == TVN_KEYDOWN) {
                n.wVKey = reinterpret_cast<NMTVKEYDOWN*>(p)->wVKey;
            } else if (p->code == TVN_SELCHANGING || p->code == TVN_SELCHANGED || p->code == TVN_BEGINDRAG ||
                       p->code == TVN_ITEMEXPANDED || p->code == TVN_ITEMEXPANDING ||
                       p->code == TVN_DELETEITEM) {
                auto* t = reinterpret_cast<NMTREEVIEW*>(p);
                n.action = t->action;
                n.hOld = t->itemOld.hItem;
                n.hNew = t->itemNew.hItem;
                n.ptDrag = t->ptDrag;
            }
            notes.push_back(n);
            return refuseSelection && p->code == TVN_SELCHANGING ? TRUE : 0;
        };
        PumpEvents();
        viewport = tree.GetClientWidget();
        ASSERT_NE(viewport, nullptr);
        ASSERT_EQ(viewport, static_cast<QAbstractScrollArea*>(tree.GetWidget())->viewport());
    }
    void TearDown() override
    {
        tree.DestroyWindow();
        parent.DestroyWindow();
        PumpEvents();
    }

    // Root, two kinds under it, a subject under the first kind.
    void Fill()
    {
        hRoot = tree.InsertItem("見積"_sj, 0, 1);
        hKind1 = tree.InsertItem("建築工事"_sj, 2, 3, hRoot);
        hKind2 = tree.InsertItem("設備工事"_sj, 2, 3, hRoot);
        hLarge = tree.InsertItem("仮設工事"_sj, 4, 5, hKind1);
        notes.clear();
    }

    // The codes in order, leaving out the focus notifications.
    std::vector<UINT> Codes() const
    {
        std::vector<UINT> v;
        for (const TreeNote& n : notes)
            if (n.code != NM_SETFOCUS && n.code != NM_KILLFOCUS)
                v.push_back(n.code);
        return v;
    }

    QPoint Centre(HTREEITEM h)
    {
        CRect rc;
        EXPECT_TRUE(tree.GetItemRect(h, &rc, TRUE));
        return QPoint(rc.CenterPoint().x, rc.CenterPoint().y);
    }

    CNotifyParent parent;
    CTreeCtrl tree;
    QWidget* viewport = nullptr;
    std::vector<TreeNote> notes;
    bool refuseSelection = false;
    HTREEITEM hRoot = nullptr, hKind1 = nullptr, hKind2 = nullptr, hLarge = nullptr;
};

} // namespace

TEST_F(TreeTest, InsertPlacesItemsAndTextsStayCodePage932)
{
    Fill();
    EXPECT_EQ(tree.GetRootItem(), hRoot);
    EXPECT_EQ(tree.GetChildItem(hRoot), hKind1);
    EXPECT_EQ(tree.GetNextSiblingItem(hKind1), hKind2);
    EXPECT_EQ(tree.GetNextSiblingItem(hKind2), nullptr);
    EXPECT_EQ(tree.GetParentItem(hLarge), hKind1);
    EXPECT_EQ(tree.GetParentItem(hRoot), nullptr);
    EXPECT_EQ(tree.GetItemText(hKind2), "設備工事"_sj);
    EXPECT_EQ(tree.GetCount(), 4u);
    EXPECT_TRUE(tree.ItemHasChildren(hKind1));
    EXPECT_FALSE(tree.ItemHasChildren(hKind2));

    HTREEITEM hFirst = tree.InsertItem("電気"_sj, hRoot, TVI_FIRST);
    EXPECT_EQ(tree.GetChildItem(hRoot), hFirst);
    HTREEITEM hAfter = tree.InsertItem("外構"_sj, hRoot, hKind1);
    EXPECT_EQ(tree.GetNextSiblingItem(hKind1), hAfter);
    int nImage = -1, nSel = -1;
    ASSERT_TRUE(tree.GetItemImage(hLarge, nImage, nSel));
    EXPECT_EQ(nImage, 4);
    EXPECT_EQ(nSel, 5);
    ASSERT_TRUE(tree.SetItemData(hLarge, 7));
    EXPECT_EQ(tree.GetItemData(hLarge), 7u);
    ASSERT_TRUE(tree.SetItemText(hLarge, "仮設"_sj));
    EXPECT_EQ(tree.GetItemText(hLarge), "仮設"_sj);
}

TEST_F(TreeTest, SortedInsertionAndSorting)
{
    HTREEITEM hC = tree.InsertItem("c", TVI_ROOT, TVI_SORT);
    HTREEITEM hA = tree.InsertItem("A", TVI_ROOT, TVI_SORT);
    HTREEITEM hB = tree.InsertItem("b", TVI_ROOT, TVI_SORT);
    EXPECT_EQ(tree.GetRootItem(), hA);
    EXPECT_EQ(tree.GetNextSiblingItem(hA), hB);
    EXPECT_EQ(tree.GetNextSiblingItem(hB), hC);

    tree.SetItemData(hA, 3);
    tree.SetItemData(hB, 1);
    tree.SetItemData(hC, 2);
    TVSORTCB sort{TVI_ROOT, [](LPARAM a, LPARAM b, LPARAM) { return static_cast<int>(a - b); }, 0};
    ASSERT_TRUE(tree.SortChildrenCB(&sort));
    EXPECT_EQ(tree.GetRootItem(), hB);
    EXPECT_EQ(tree.GetNextSiblingItem(hB), hC);
    EXPECT_EQ(tree.GetNextSiblingItem(hC), hA);
}

TEST_F(TreeTest, DeletingASubtreeForgetsItsHandles)
{
    Fill();
    ASSERT_TRUE(tree.DeleteItem(hKind1));
    EXPECT_EQ(tree.GetCount(), 2u);
    EXPECT_EQ(tree.GetChildItem(hRoot), hKind2);
    // Gone handles are unknown, not some other item.
    EXPECT_TRUE(tree.GetItemText(hLarge).IsEmpty());
    EXPECT_FALSE(tree.SetItemText(hLarge, "x"));
    EXPECT_FALSE(tree.DeleteItem(hLarge));
    // Every deleted item was announced, children first.
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].code, TVN_DELETEITEM);
    EXPECT_EQ(notes[0].hOld, hLarge);
    EXPECT_EQ(notes[1].hOld, hKind1);

    ASSERT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(tree.GetCount(), 0u);
    EXPECT_EQ(tree.GetRootItem(), nullptr);
    EXPECT_TRUE(tree.GetItemText(hRoot).IsEmpty());
}

TEST_F(TreeTest, VisibleWalkFollowsExpansion)
{
    Fill();
    // Collapsed: only the root is visible.
    EXPECT_EQ(tree.GetFirstVisibleItem(), hRoot);
    EXPECT_EQ(tree.GetNextVisibleItem(hRoot), nullptr);
    EXPECT_FALSE(tree.GetItemRect(hKind1, CRect(), FALSE));

    // Expanding each item on the walk shows the whole tree, in display order.
    std::vector<HTREEITEM> seen;
    HTREEITEM h = tree.GetFirstVisibleItem();
    for (int i = 0; i < 10 && h; ++i) {
        seen.push_back(h);
        tree.Expand(h, TVE_EXPAND);
        h = tree.GetNextVisibleItem(h);
    }
    EXPECT_EQ(seen, (std::vector<HTREEITEM>{hRoot, hKind1, hLarge, hKind2}));
    EXPECT_TRUE(tree.GetItemState(hKind1, TVIS_EXPANDED) & TVIS_EXPANDED);
    // Expanding by code is not announced.
    EXPECT_TRUE(notes.empty());

    ASSERT_TRUE(tree.Expand(hKind1, TVE_COLLAPSE));
    EXPECT_EQ(tree.GetNextVisibleItem(hKind1), hKind2);
    ASSERT_TRUE(tree.Expand(hKind1, TVE_TOGGLE));
    EXPECT_EQ(tree.GetNextVisibleItem(hKind1), hLarge);
    EXPECT_FALSE(tree.Expand(hKind2, TVE_EXPAND)) << "nothing to expand";
}

// The line is as wide as the widest label shown (what the view itself measures over every
// shown item), kept item by item: through insertions, expansion, longer and shorter texts,
// collapsing, deletion and a new font.
TEST_F(TreeTest, TheLineIsAsWideAsTheWidestShownItem)
{
    auto* pView = static_cast<QTreeView*>(tree.GetWidget());
    auto expectWidest = [&](const char* lpszStep) {
        // sizeHintForColumn is public where the item views declare it.
        const int nWidest = std::max(static_cast<QAbstractItemView*>(pView)->sizeHintForColumn(0),
                                     pView->header()->minimumSectionSize());
        EXPECT_EQ(nWidest, pView->header()->sectionSize(0)) << lpszStep;
    };
    Fill();
    expectWidest("filled, collapsed");
    tree.Expand(hRoot, TVE_EXPAND);
    tree.Expand(hKind1, TVE_EXPAND);
    expectWidest("expanded");
    const HTREEITEM hLong = tree.InsertItem("とても長い名前の科目   \\1,234,567,890"_sj, 4, 5, hKind1);
    expectWidest("a long label inserted");
    const int nLong = pView->header()->sectionSize(0);
    tree.SetItemText(hLong, "短い"_sj);
    expectWidest("the long label made short");
    EXPECT_LT(pView->header()->sectionSize(0), nLong);
    tree.SetItemText(hLarge, "仮設工事   \\999,999,999,999"_sj);
    expectWidest("a deeper label made long");
    tree.Expand(hKind1, TVE_COLLAPSE);
    expectWidest("its branch collapsed");
    tree.Expand(hKind1, TVE_EXPAND);
    tree.DeleteItem(hLarge);
    expectWidest("the long label deleted");
    const int nBefore = pView->header()->sectionSize(0);
    CFont big;
    ASSERT_TRUE(big.CreatePointFont(240, "Sans"));
    tree.SetFont(&big);
    expectWidest("a larger font");
    EXPECT_GT(pView->header()->sectionSize(0), nBefore);
    tree.DeleteAllItems();
    expectWidest("emptied");
}

TEST_F(TreeTest, HitTestFindsLabelsRowsAndEmptySpace)
{
    Fill();
    tree.Expand(hRoot, TVE_EXPAND);
    tree.Expand(hKind1, TVE_EXPAND);
    CRect rcLabel, rcLine;
    ASSERT_TRUE(tree.GetItemRect(hKind2, &rcLabel, TRUE));
    ASSERT_TRUE(tree.GetItemRect(hKind2, &rcLine, FALSE));
    EXPECT_EQ(rcLine.left, 0);
    EXPECT_EQ(rcLine.top, rcLabel.top);
    EXPECT_GT(rcLabel.left, 0) << "the label is indented";
    CRect rcRoot;
    ASSERT_TRUE(tree.GetItemRect(hRoot, &rcRoot, FALSE));
    EXPECT_EQ(rcRoot.top, 0);
    EXPECT_EQ(rcLabel.top, 3 * rcRoot.Height()) << "fourth line";

    UINT flags = 0;
    EXPECT_EQ(tree.HitTest(rcLabel.CenterPoint(), &flags), hKind2);
    EXPECT_EQ(flags, TVHT_ONITEMLABEL);
    EXPECT_EQ(tree.HitTest(CPoint(rcLabel.right + 30, rcLabel.CenterPoint().y), &flags), hKind2);
    EXPECT_EQ(flags, TVHT_ONITEMRIGHT);
    EXPECT_EQ(tree.HitTest(CPoint(5, rcLabel.bottom + 40), &flags), nullptr);
    EXPECT_EQ(flags, TVHT_NOWHERE);
    EXPECT_EQ(tree.HitTest(CPoint(5, -3), &flags), nullptr);
    EXPECT_TRUE(flags & TVHT_ABOVE);
}

TEST_F(TreeTest, ClickSelectsThenReportsTheClick)
{
    Fill();
    tree.Expand(hRoot, TVE_EXPAND);
    const QPoint pt = Centre(hKind2);
    Click(viewport, pt);
    EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_SELCHANGING, TVN_SELCHANGED, NM_CLICK}));
    auto changed =
        std::find_if(notes.begin(), notes.end(), [](const TreeNote& n) { return n.code == TVN_SELCHANGED; });
    ASSERT_NE(changed, notes.end());
    EXPECT_EQ(changed->action, TVC_BYMOUSE);
    EXPECT_EQ(changed->hNew, hKind2);
    EXPECT_EQ(changed->hOld, nullptr);
    EXPECT_EQ(tree.GetSelectedItem(), hKind2);
    EXPECT_TRUE(tree.GetItemState(hKind2, TVIS_SELECTED) & TVIS_SELECTED);

    // Selecting by code is announced too, with no cause.
    notes.clear();
    ASSERT_TRUE(tree.SelectItem(hRoot));
    ASSERT_EQ(Codes(), (std::vector<UINT>{TVN_SELCHANGING, TVN_SELCHANGED}));
    EXPECT_EQ(notes[1].action, TVC_UNKNOWN);
    EXPECT_EQ(notes[1].hOld, hKind2);
    EXPECT_EQ(notes[1].hNew, hRoot);

    // The parent may refuse a change.
    notes.clear();
    refuseSelection = true;
    EXPECT_FALSE(tree.SelectItem(hKind1));
    EXPECT_EQ(tree.GetSelectedItem(), hRoot);
    EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_SELCHANGING}));
}

TEST_F(TreeTest, ClickOnTheButtonExpandsAndIsAnnounced)
{
    Fill();
    tree.Expand(hRoot, TVE_EXPAND);
    CRect rc;
    ASSERT_TRUE(tree.GetItemRect(hKind1, &rc, FALSE));
    CRect rcLabel;
    ASSERT_TRUE(tree.GetItemRect(hKind1, &rcLabel, TRUE));
    // Find the button left of the label.
    CPoint ptButton(-1, rc.CenterPoint().y);
    for (int x = 0; x < rcLabel.left; ++x) {
        UINT flags = 0;
        if (tree.HitTest(CPoint(x, ptButton.y), &flags) == hKind1 && flags == TVHT_ONITEMBUTTON) {
            ptButton.x = x;
            break;
        }
    }
    ASSERT_GE(ptButton.x, 0) << "a button left of an item with children";
    Click(viewport, QPoint(ptButton.x, ptButton.y));
    EXPECT_TRUE(tree.GetItemState(hKind1, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_ITEMEXPANDING, TVN_ITEMEXPANDED, NM_CLICK}));
    EXPECT_EQ(tree.GetSelectedItem(), nullptr) << "the button does not select";
}

TEST_F(TreeTest, DraggingAnItemStartsADragInsteadOfAClick)
{
    Fill();
    tree.Expand(hRoot, TVE_EXPAND);
    const QPoint pt = Centre(hKind1);
    SendMouse(viewport, QEvent::MouseButtonPress, pt, Qt::LeftButton, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseMove, pt + QPoint(1, 1), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(parent.Count(TVN_BEGINDRAG), 0) << "a small move is still a click";
    SendMouse(viewport, QEvent::MouseMove, pt + QPoint(20, 25), Qt::NoButton, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseButtonRelease, pt + QPoint(20, 25), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_SELCHANGING, TVN_SELCHANGED, TVN_BEGINDRAG}));
    ASSERT_EQ(notes.back().code, TVN_BEGINDRAG);
    EXPECT_EQ(notes.back().hNew, hKind1);
    EXPECT_EQ(notes.back().ptDrag.x, pt.x());
    EXPECT_EQ(notes.back().ptDrag.y, pt.y());
}

TEST_F(TreeTest, KeysAreAnnouncedAndMoveTheSelection)
{
    Fill();
    tree.Expand(hRoot, TVE_EXPAND);
    tree.SelectItem(hRoot);
    notes.clear();
    QWidget* w = tree.GetWidget();
    SendKey(w, Qt::Key_Down);
    ASSERT_EQ(Codes(), (std::vector<UINT>{TVN_KEYDOWN, TVN_SELCHANGING, TVN_SELCHANGED}));
    EXPECT_EQ(notes[0].wVKey, VK_DOWN);
    EXPECT_EQ(notes[2].action, TVC_BYKEYBOARD);
    EXPECT_EQ(tree.GetSelectedItem(), hKind1);

    notes.clear();
    SendKey(w, Qt::Key_Delete);
    EXPECT_EQ(Codes(), (std::vector<UINT>{TVN_KEYDOWN}));
    EXPECT_EQ(notes[0].wVKey, VK_DELETE);
    EXPECT_EQ(tree.GetSelectedItem(), hKind1);

    // Right opens a branch, Left closes it.
    SendKey(w, Qt::Key_Right);
    EXPECT_TRUE(tree.GetItemState(hKind1, TVIS_EXPANDED) & TVIS_EXPANDED);
    SendKey(w, Qt::Key_Left);
    EXPECT_FALSE(tree.GetItemState(hKind1, TVIS_EXPANDED) & TVIS_EXPANDED);
}

TEST_F(TreeTest, DropHighlightIsSeparateFromTheSelection)
{
    Fill();
    tree.Expand(hRoot, TVE_EXPAND);
    tree.SelectItem(hKind1);
    notes.clear();
    ASSERT_TRUE(tree.SelectDropTarget(hKind2));
    EXPECT_EQ(tree.GetDropHilightItem(), hKind2);
    EXPECT_EQ(tree.GetSelectedItem(), hKind1);
    EXPECT_TRUE(tree.GetItemState(hKind2, TVIS_DROPHILITED) & TVIS_DROPHILITED);
    EXPECT_TRUE(notes.empty()) << "highlighting is no selection change";
    ASSERT_TRUE(tree.SelectDropTarget(nullptr));
    EXPECT_EQ(tree.GetDropHilightItem(), nullptr);
}

TEST_F(TreeTest, ItemsShowTheirPicturesAndTheSelectedOne)
{
    // Ten 16 x 16 pictures, each a plain colour with a white (transparent) corner.
    const QRgb colours[10] = {qRgb(200, 0, 0),   qRgb(0, 150, 0),   qRgb(0, 0, 200),  qRgb(200, 200, 0),
                              qRgb(0, 200, 200), qRgb(200, 0, 200), qRgb(90, 90, 90), qRgb(30, 60, 90),
                              qRgb(120, 30, 0),  qRgb(0, 120, 30)};
    std::vector<DWORD> bits(160 * 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 160; ++x)
            bits[static_cast<size_t>(y * 160 + x)] =
                (x % 16 < 3 && y < 3) ? 0xFFFFFF : (colours[x / 16] & 0xFFFFFF);
    CBitmap strip;
    ASSERT_TRUE(strip.CreateBitmap(160, 16, 1, 32, bits.data()));
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 10, 0));
    ASSERT_EQ(images.Add(&strip, RGB(255, 255, 255)), 0);
    ASSERT_EQ(images.GetImageCount(), 10);
    EXPECT_EQ(tree.SetImageList(&images, TVSIL_NORMAL), nullptr);
    EXPECT_EQ(tree.GetImageList(TVSIL_NORMAL), &images);

    Fill();
    tree.Expand(hRoot, TVE_EXPAND);
    auto hasColour = [&](HTREEITEM h, QRgb c) {
        CRect rc;
        tree.GetItemRect(h, &rc, FALSE);
        const QImage img = Grab(viewport);
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == c)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasColour(hKind1, colours[2]));
    EXPECT_FALSE(hasColour(hKind1, colours[3]));
    tree.SelectItem(hKind1);
    EXPECT_TRUE(hasColour(hKind1, colours[3])) << "the selected picture";
    EXPECT_FALSE(hasColour(hKind1, colours[2]));
    EXPECT_TRUE(hasColour(hRoot, colours[0]));

    // The tree keeps the pictures when the list object goes first.
    images.DeleteImageList();
    EXPECT_TRUE(hasColour(hRoot, colours[0]));
    tree.SetImageList(nullptr, TVSIL_NORMAL);
    EXPECT_FALSE(hasColour(hRoot, colours[0]));
}

TEST_F(TreeTest, ANewTextRepaintsItsOwnLineAlone)
{
    Fill();
    tree.Expand(hRoot, TVE_EXPAND);
    PumpEvents();
    CPaintedArea shown(viewport);
    // No wider than the widest item: the line keeps its width.
    tree.SetItemText(hKind2, "設備工"_sj);
    PumpEvents();
    EXPECT_TRUE(shown.Contains(Centre(hKind2).x(), Centre(hKind2).y()));
    EXPECT_FALSE(shown.Contains(Centre(hKind1).x(), Centre(hKind1).y()));
}
