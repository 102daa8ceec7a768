// The tree view: a view whose window is the tree control. Its own notifications come back
// to it reflected, its styles come from its creation hook, and a drop target registered on
// it hands the drag to the view's own drop functions.
#include "platform/base/CString.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CTreeView.h"
#include "platform/ui/ole/COleDataSource.h"
#include "platform/ui/ole/COleDropTarget.h"
#include "platform/ui/ole/DragDropTestHook.h"

#include "CommonCtlTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace commonctl;

namespace {

class CTestTreeView : public CTreeView {
public:
    std::vector<HTREEITEM> selections;
    std::vector<std::string> dragEvents;
    CPoint dropPoint;
    COleDropTarget dropTarget;
    bool* pDestroyed = nullptr;

    ~CTestTreeView() override
    {
        if (pDestroyed)
            *pDestroyed = true;
    }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        cs.style |= TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | WS_VSCROLL | WS_HSCROLL;
        return CTreeView::PreCreateWindow(cs);
    }

    DROPEFFECT OnDragOver(COleDataObject* pData, DWORD dwKeyState, CPoint point) override
    {
        dragEvents.push_back("over");
        if (!pData->IsDataAvailable(static_cast<CLIPFORMAT>(RegisterClipboardFormat("MORVEL EMTREEVIEW"))))
            return DROPEFFECT_NONE;
        HTREEITEM h = GetTreeCtrl().HitTest(point);
        GetTreeCtrl().SelectDropTarget(h);
        if (!h)
            return DROPEFFECT_NONE;
        return (dwKeyState & MK_SHIFT) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
    DROPEFFECT OnDragEnter(COleDataObject* pData, DWORD dwKeyState, CPoint point) override
    {
        dragEvents.push_back("enter");
        return OnDragOver(pData, dwKeyState, point);
    }
    void OnDragLeave() override
    {
        dragEvents.push_back("leave");
        GetTreeCtrl().SelectDropTarget(nullptr);
    }
    BOOL OnDrop(COleDataObject*, DROPEFFECT, CPoint point) override
    {
        dragEvents.push_back("drop");
        dropPoint = point;
        return TRUE;
    }

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (CTreeView::OnCreate(lpCreateStruct) == -1)
            return -1;
        dropTarget.Register(this);
        return 0;
    }
    afx_msg void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
    {
        selections.push_back(reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemNew.hItem);
        *pResult = 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestTreeView, CTreeView)
ON_WM_CREATE()
ON_NOTIFY_REFLECT(TVN_SELCHANGED, OnSelChanged)
END_MESSAGE_MAP()

class TreeViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(300, 300));
        view = new CTestTreeView;
        view->pDestroyed = &destroyed;
        ASSERT_TRUE(view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 250, 250), &parent,
                                 AFX_IDW_PANE_FIRST, nullptr));
        PumpEvents();
    }
    void TearDown() override
    {
        AfxClearDragScript();
        if (!destroyed)
            view->DestroyWindow();
        parent.DestroyWindow();
        PumpEvents();
    }
    CNotifyParent parent;
    CTestTreeView* view = nullptr;
    bool destroyed = false;
};

} // namespace

TEST_F(TreeViewTest, TheViewIsATreeWithTheStylesItAskedFor)
{
    const DWORD style = view->GetStyle();
    EXPECT_TRUE(style & TVS_HASLINES);
    EXPECT_TRUE(style & TVS_LINESATROOT);
    EXPECT_TRUE(style & WS_VSCROLL);
    CTreeCtrl& tree = view->GetTreeCtrl();
    EXPECT_EQ(tree.m_hWnd, view->m_hWnd);
    HTREEITEM h = tree.InsertItem("見積"_sj);
    EXPECT_EQ(tree.GetRootItem(), h);
    EXPECT_EQ(CWnd::FromHandle(view->m_hWnd), view) << "the control object only borrows the window";
}

TEST_F(TreeViewTest, SelectionChangesComeBackToTheViewReflected)
{
    CTreeCtrl& tree = view->GetTreeCtrl();
    HTREEITEM hRoot = tree.InsertItem("見積"_sj);
    HTREEITEM hKind = tree.InsertItem("建築"_sj, hRoot);
    tree.Expand(hRoot, TVE_EXPAND);
    tree.SelectItem(hKind);
    EXPECT_EQ(view->selections, (std::vector<HTREEITEM>{hKind}));
    EXPECT_EQ(parent.Count(TVN_SELCHANGED), 1) << "the parent saw it and handed it back";

    // By mouse as well.
    CRect rc;
    ASSERT_TRUE(tree.GetItemRect(hRoot, &rc, TRUE));
    Click(view->GetClientWidget(), QPoint(rc.CenterPoint().x, rc.CenterPoint().y));
    EXPECT_EQ(view->selections, (std::vector<HTREEITEM>{hKind, hRoot}));
}

TEST_F(TreeViewTest, ADropTargetOnTheViewHandsTheDragToTheView)
{
    CTreeCtrl& tree = view->GetTreeCtrl();
    HTREEITEM hRoot = tree.InsertItem("見積"_sj);
    HTREEITEM hKind = tree.InsertItem("建築"_sj, hRoot);
    tree.Expand(hRoot, TVE_EXPAND);
    CRect rc;
    ASSERT_TRUE(tree.GetItemRect(hKind, &rc, TRUE));

    COleDataSource source;
    source.CacheData(static_cast<CLIPFORMAT>(RegisterClipboardFormat("MORVEL EMTREEVIEW")), {1, 2, 3});
    AfxSetDragScript({{view, rc.CenterPoint(), MK_LBUTTON | MK_SHIFT}});
    EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_COPY);
    // Entering asks OnDragOver as the subject tree does; then the move and the drop point.
    EXPECT_EQ(view->dragEvents, (std::vector<std::string>{"enter", "over", "over", "over", "drop"}));
    EXPECT_EQ(view->dropPoint, rc.CenterPoint());
    EXPECT_EQ(tree.GetDropHilightItem(), hKind);
}

TEST_F(TreeViewTest, ScrollMessagesMoveTheFirstVisibleItem)
{
    CTreeCtrl& tree = view->GetTreeCtrl();
    HTREEITEM hRoot = tree.InsertItem("見積"_sj);
    std::vector<HTREEITEM> items;
    for (int i = 0; i < 60; ++i)
        items.push_back(tree.InsertItem("科目"_sj, hRoot));
    tree.Expand(hRoot, TVE_EXPAND);
    EXPECT_EQ(tree.GetFirstVisibleItem(), hRoot);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(tree.GetFirstVisibleItem(), items[1]);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
    EXPECT_EQ(tree.GetFirstVisibleItem(), items[0]);
    ASSERT_TRUE(tree.EnsureVisible(items[59]));
    CRect rc;
    ASSERT_TRUE(tree.GetItemRect(items[59], &rc, FALSE));
    CRect client;
    view->GetClientRect(&client);
    EXPECT_LE(rc.bottom, client.bottom);
    EXPECT_GE(rc.top, 0);
}
