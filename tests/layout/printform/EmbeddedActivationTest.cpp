// Embedded objects while their items run: sized by the item's first position request when
// inserted, followed by the item's in-place window as the object moves and the other way
// round, one item active in place per view, inside-out items hidden once their menus go,
// and the picture hatched while the item is worked on elsewhere. No object server runs
// here: the tests play the server's part through the item's in-place site calls, on a
// real layout with its editing views.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/printform/CDrawTool.h"
#include "layout/printform/CPrintDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CDocTemplate.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/LayoutCommandIds.h"
#include "resources/PrintFormEditorResources.h"
#include "resources/ResourceIds.h"
#include "tests/layout/printform/LayoutTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct CProbe : public CCmdUI {
    BOOL bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
};

// A ".BMP" file of w x h grey pixels at a resolution in pixels a metre.
std::vector<BYTE> GreyBmp(int w, int h, uint32_t ppm)
{
    std::vector<BYTE> bmp;
    auto put32 = [&bmp](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp.push_back(static_cast<BYTE>(v >> (8 * i)));
    };
    auto put16 = [&bmp](uint16_t v) {
        bmp.push_back(static_cast<BYTE>(v));
        bmp.push_back(static_cast<BYTE>(v >> 8));
    };
    const uint32_t nRow = static_cast<uint32_t>((w * 3 + 3) / 4 * 4);
    const uint32_t nBits = nRow * static_cast<uint32_t>(h);
    bmp.push_back('B');
    bmp.push_back('M');
    put32(14 + 40 + nBits);
    put32(0);
    put32(14 + 40);
    put32(40);
    put32(static_cast<uint32_t>(w));
    put32(static_cast<uint32_t>(h));
    put16(1);
    put16(24);
    put32(0);
    put32(nBits);
    put32(ppm);
    put32(ppm);
    put32(0);
    put32(0);
    bmp.insert(bmp.end(), nBits, 0x80);
    return bmp;
}

class EmbeddedActivationTest : public LayoutAppTest {
protected:
    void SetUp() override
    {
        LayoutAppTest::SetUp();
        CDrawTool::s_nCurrentShape = ShapeSelect;
        const fs::path target = fs::path(m_pFolder->Native("WORK")) / "run.MMP";
        fs::copy_file(fs::path(MORVEL_SOURCE_DIR) / "samples" / "FORM" / "見積書.MMP", target);
        m_pDoc = Open(m_pFolder->System("WORK/run.MMP"));
        ASSERT_NE(m_pDoc, nullptr);
        CDrawObjList* pList = m_pDoc->GetObjectList();
        while (!pList->IsEmpty())
            pList->RemoveHead()->Remove();
        m_pDoc->SetModifiedFlag(FALSE);
        m_pView = ViewOf(m_pDoc, 0);
        ASSERT_NE(m_pView, nullptr);
        Activate(m_pView);
        CClientDC dc(nullptr);
        m_nDpiX = dc.GetDeviceCaps(LOGPIXELSX);
        m_nDpiY = dc.GetDeviceCaps(LOGPIXELSY);
    }

    static CPrintFormView* ViewOf(CPrintDoc* pDoc, int nIndex)
    {
        int n = 0;
        for (POSITION pos = pDoc->GetFirstViewPosition(); pos != nullptr;) {
            auto* pView = dynamic_cast<CPrintFormView*>(pDoc->GetNextView(pos));
            if (pView && n++ == nIndex)
                return pView;
        }
        return nullptr;
    }

    void Activate(CPrintFormView* pView)
    {
        if (auto* pFrame = dynamic_cast<CMDIChildWnd*>(pView->GetParentFrame()))
            pFrame->MDIActivate();
        Pump();
        ASSERT_TRUE(pView->IsActive());
    }

    // A second window on the layout, as the window menu's new window makes it.
    CPrintFormView* OpenSecondView()
    {
        CFrameWnd* pFrame = m_pDoc->GetDocTemplate()->CreateNewFrame(m_pDoc, m_pView->GetParentFrame());
        if (pFrame == nullptr)
            return nullptr;
        m_pDoc->GetDocTemplate()->InitialUpdateFrame(pFrame, m_pDoc);
        Pump();
        return ViewOf(m_pDoc, 1);
    }

    bool Run(UINT nID)
    {
        CProbe probe;
        probe.m_nID = nID;
        probe.DoUpdate(m_pView, TRUE);
        if (!probe.bEnabled)
            return false;
        AfxGetMainWnd()->SendMessage(WM_COMMAND, nID, 0);
        Pump();
        return true;
    }

    // An embedded picture of an extent (HIMETRIC) whose object has no size yet, its upper
    // left corner at a point of the page, as the insert and paste commands make it.
    CDrawOleObj* AddNewPicture(CPoint at, int cx, int cy)
    {
        auto* pObj = new CDrawOleObj(CRect(at, at));
        auto* pItem = new CDrawItem(m_pDoc, pObj);
        EXPECT_TRUE(pItem->CreateFromStorage(MakePictureStorage(cx, cy, "Picture")));
        pObj->m_pClientItem = pItem;
        m_pDoc->Add(pObj);
        CRect rect;
        pItem->OnGetItemPosition(rect);
        return pObj;
    }

    // Layout units (0.01 inch) as client pixels.
    int PixelsX(int nUnits) const { return nUnits * m_nDpiX / 100; }
    int PixelsY(int nUnits) const { return nUnits * m_nDpiY / 100; }

    CPrintDoc* m_pDoc = nullptr;
    CPrintFormView* m_pView = nullptr;
    int m_nDpiX = 96;
    int m_nDpiY = 96;
};

} // namespace

TEST_F(EmbeddedActivationTest, AnInsertedItemIsSizedByItsFirstPositionRequestAndShownWhereTheViewDrawsIt)
{
    // 200 x 100 pixels at 100 dots an inch: 50.8 mm x 25.4 mm, 5080 x 2540 HIMETRIC.
    const std::vector<BYTE> bmp = GreyBmp(200, 100, 3937);
    {
        FILE* f = std::fopen(m_pFolder->Native("WORK/logo.BMP").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bmp.data(), 1, bmp.size(), f);
        std::fclose(f);
    }
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(m_pFolder->System("WORK/logo.BMP"));
    ASSERT_TRUE(Run(ID_INSERT_OBJECT));
    ASSERT_EQ(m_pDoc->GetObjectList()->GetCount(), 1);
    auto* pObj = dynamic_cast<CDrawOleObj*>(m_pDoc->GetObjectList()->GetHead());
    ASSERT_NE(pObj, nullptr);
    ASSERT_NE(pObj->m_pClientItem, nullptr);
    const CPoint corner = m_pView->GetPastePosition().TopLeft();
    // 200 x 100 units, the bottom 100 below the top.
    EXPECT_EQ(pObj->m_position, CRect(corner.x, corner.y, corner.x + 200, corner.y - 100));
    EXPECT_EQ(pObj->m_extent, CSize(5080, 2540));
    CDrawItem* pItem = pObj->m_pClientItem;
    EXPECT_EQ(pItem->GetItemState(), COleClientItem::loadedState);
    EXPECT_EQ(pItem->GetActiveView(), nullptr);

    // Asked again, the object keeps its size: the item's extent sizes only an object
    // without area.
    pObj->m_position = CRect(corner.x, corner.y, corner.x + 300, corner.y - 100);
    CRect rect;
    pItem->OnGetItemPosition(rect);
    EXPECT_EQ(rect, pObj->m_position) << "in layout units while the item runs in no view";

    // Active in place, the item's window lies over the object in the view's pixels: its
    // upper left corner is the object's, and it is 300 x 100 units.
    ASSERT_TRUE(pItem->InPlaceActivate(m_pView));
    EXPECT_EQ(pItem->GetActiveView(), m_pView);
    const CRect window = pItem->GetInPlaceRect();
    EXPECT_EQ(window.Width(), PixelsX(300));
    EXPECT_EQ(window.Height(), PixelsY(100));
    CPoint topLeft = window.TopLeft();
    m_pView->ClientToDoc(topLeft);
    EXPECT_NEAR(topLeft.x, corner.x, 1);
    EXPECT_NEAR(topLeft.y, corner.y, 1);

    // At 200 % the window is twice as large, and moving the object moves the window.
    m_pView->ApplyZoom(200);
    pObj->MoveTo(CRect(corner.x + 100, corner.y, corner.x + 400, corner.y - 100), m_pView);
    const CRect zoomed = pItem->GetInPlaceRect();
    EXPECT_EQ(zoomed.Width(), PixelsX(600));
    EXPECT_EQ(zoomed.Height(), PixelsY(200));
    topLeft = zoomed.TopLeft();
    m_pView->ClientToDoc(topLeft);
    topLeft = m_pView->UnzoomPoint(topLeft);
    EXPECT_NEAR(topLeft.x, corner.x + 100, 1);
    EXPECT_NEAR(topLeft.y, corner.y, 1);
}

TEST_F(EmbeddedActivationTest, TheServerMovingTheItemMovesTheObjectOnlyWhenItLandsElsewhere)
{
    // Multiples of a quarter inch, which land on whole pixels at the usual resolutions.
    CDrawOleObj* pObj = AddNewPicture(CPoint(-300, 400), 5080, 2540);
    CDrawItem* pItem = pObj->m_pClientItem;
    ASSERT_EQ(pObj->m_position, CRect(-300, 400, -100, 300));
    m_pDoc->SetModifiedFlag(FALSE);

    // Not running in a view: the server has no place to give, nothing moves.
    EXPECT_FALSE(pItem->OnChangeItemPosition(CRect(0, 0, 50, 50)));
    EXPECT_EQ(pObj->m_position, CRect(-300, 400, -100, 300));
    EXPECT_FALSE(m_pDoc->IsModified());

    ASSERT_TRUE(pItem->InPlaceActivate(m_pView));
    ASSERT_TRUE(pItem->UIActivate());
    EXPECT_FALSE(m_pDoc->IsModified()) << "running the item changes nothing stored";

    // The server confirms the window it was given: the layout stays as it is.
    const CRect window = pItem->GetInPlaceRect();
    EXPECT_TRUE(pItem->OnChangeItemPosition(window));
    EXPECT_EQ(pObj->m_position, CRect(-300, 400, -100, 300));
    EXPECT_FALSE(m_pDoc->IsModified());

    // It moves its window half an inch right and down: the object follows, the window too.
    CRect moved = window;
    moved.OffsetRect(PixelsX(50), PixelsY(50));
    EXPECT_TRUE(pItem->OnChangeItemPosition(moved));
    EXPECT_EQ(pObj->m_position, CRect(-250, 350, -50, 250));
    EXPECT_EQ(pItem->GetInPlaceRect(), moved);
    EXPECT_TRUE(m_pDoc->IsModified());

    // It doubles the item while the user works on it: the object takes the new rectangle
    // and the item's extent as it is now, and the extent does not rescale it again.
    ASSERT_TRUE(pItem->CreateFromStorage(MakePictureStorage(10160, 5080, "Picture")));
    m_pDoc->SetModifiedFlag(FALSE);
    const CRect doubled(moved.left, moved.top, moved.left + PixelsX(400), moved.top + PixelsY(200));
    EXPECT_TRUE(pItem->OnChangeItemPosition(doubled));
    EXPECT_EQ(pObj->m_position, CRect(-250, 350, 150, 150));
    EXPECT_EQ(pObj->m_extent, CSize(10160, 5080));
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_FALSE(pItem->UpdateExtent());
    EXPECT_EQ(pObj->m_position, CRect(-250, 350, 150, 150));

    // While active in place a new extent is taken without scaling the object; loaded
    // again, the next one scales the object from its current size.
    ASSERT_TRUE(pItem->CreateFromStorage(MakePictureStorage(5080, 2540, "Picture")));
    EXPECT_TRUE(pItem->UpdateExtent());
    EXPECT_EQ(pObj->m_position, CRect(-250, 350, 150, 150));
    EXPECT_EQ(pObj->m_extent, CSize(5080, 2540));
    ASSERT_TRUE(pItem->InPlaceDeactivate());
    EXPECT_EQ(pItem->GetItemState(), COleClientItem::loadedState);
    EXPECT_TRUE(pItem->GetInPlaceRect().IsRectEmpty());
    ASSERT_TRUE(pItem->CreateFromStorage(MakePictureStorage(2540, 1270, "Picture")));
    EXPECT_TRUE(pItem->UpdateExtent());
    EXPECT_EQ(pObj->m_position, CRect(-250, 350, -50, 250));

    // At 200 %: half an inch on the page is twice the pixels.
    ASSERT_TRUE(pItem->InPlaceActivate(m_pView));
    m_pView->ApplyZoom(200);
    ASSERT_TRUE(pItem->SetItemRects());
    CRect zoomed = pItem->GetInPlaceRect();
    EXPECT_TRUE(pItem->OnChangeItemPosition(zoomed));
    EXPECT_EQ(pObj->m_position, CRect(-250, 350, -50, 250));
    zoomed.OffsetRect(PixelsX(100), 0);
    EXPECT_TRUE(pItem->OnChangeItemPosition(zoomed));
    EXPECT_EQ(pObj->m_position, CRect(-200, 350, 0, 250));
}

TEST_F(EmbeddedActivationTest, ActivatingAnItemClosesTheOneActiveInTheSameViewOnly)
{
    CDrawOleObj* pFirst = AddNewPicture(CPoint(-300, 400), 2540, 2540);
    CDrawOleObj* pSecond = AddNewPicture(CPoint(0, 400), 2540, 2540);
    CDrawItem* pA = pFirst->m_pClientItem;
    CDrawItem* pB = pSecond->m_pClientItem;
    CPrintFormView* pOther = OpenSecondView();
    ASSERT_NE(pOther, nullptr);
    ASSERT_NE(pOther, m_pView);
    m_pDoc->SetModifiedFlag(FALSE);

    ASSERT_TRUE(pA->InPlaceActivate(m_pView));
    ASSERT_TRUE(pA->UIActivate());
    EXPECT_EQ(pA->GetItemState(), COleClientItem::activeUIState);
    EXPECT_FALSE(pA->InPlaceActivate(m_pView)) << "already active";

    // The second item in the same view: the first one is closed first.
    ASSERT_TRUE(pB->InPlaceActivate(m_pView));
    EXPECT_EQ(pA->GetItemState(), COleClientItem::loadedState);
    EXPECT_EQ(pA->GetActiveView(), nullptr);
    EXPECT_TRUE(pA->GetInPlaceRect().IsRectEmpty());
    EXPECT_EQ(pB->GetItemState(), COleClientItem::activeState);
    EXPECT_EQ(pB->GetActiveView(), m_pView);

    // The first one in the other window: the second stays active in its own.
    ASSERT_TRUE(pA->InPlaceActivate(pOther));
    EXPECT_EQ(pA->GetActiveView(), pOther);
    EXPECT_EQ(pB->GetItemState(), COleClientItem::activeState);
    EXPECT_EQ(pB->GetActiveView(), m_pView);
    EXPECT_FALSE(m_pDoc->IsModified()) << "running and closing change nothing stored";

    // An item open in its server's window comes into a view the same way.
    pB->Close();
    ASSERT_TRUE(pB->OpenInWindow(m_pView));
    EXPECT_TRUE(pB->IsOpen());
    ASSERT_TRUE(pB->InPlaceActivate(pOther));
    EXPECT_EQ(pA->GetItemState(), COleClientItem::loadedState);
    EXPECT_EQ(pB->GetActiveView(), pOther);

    // The other window closes: the item no longer runs in any view of the layout.
    pOther->GetParentFrame()->DestroyWindow();
    Pump();
    EXPECT_EQ(ViewOf(m_pDoc, 1), nullptr);
    EXPECT_EQ(pB->GetActiveView(), nullptr);
    EXPECT_EQ(pB->GetItemState(), COleClientItem::loadedState) << "it left with the window";
    // Only the layout's own views take an item.
    EXPECT_FALSE(pA->InPlaceActivate(nullptr));
}

TEST_F(EmbeddedActivationTest, TheViewKeepsAnActiveItemOverItsObjectAndAClickOrEscEndsItsRun)
{
    m_pView->ApplyZoom(200);
    Pump();
    CDrawOleObj* pObj = AddNewPicture(CPoint(-300, 400), 2540, 2540);
    CDrawItem* pItem = pObj->m_pClientItem;
    auto whereTheObjectIs = [&] {
        CRect rect = m_pView->ZoomRect(pObj->m_position);
        m_pView->DocToClientRect(rect);
        return rect;
    };
    ASSERT_TRUE(pItem->InPlaceActivate(m_pView));
    ASSERT_TRUE(pItem->UIActivate());
    EXPECT_EQ(m_pView->GetActiveItem(), pItem);
    EXPECT_EQ(pItem->GetInPlaceRect(), whereTheObjectIs());

    // Scrolled, the item's window goes along with its object.
    m_pView->SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    m_pView->SendMessage(WM_HSCROLL, SB_LINEDOWN, 0);
    Pump();
    ASSERT_NE(m_pView->GetDeviceScrollPosition(), CPoint(0, 0));
    EXPECT_EQ(pItem->GetInPlaceRect(), whereTheObjectIs());

    // Esc ends the run; so does a click anywhere in the layout.
    ASSERT_TRUE(Run(ID_EDITOR_CANCEL));
    EXPECT_EQ(pItem->GetItemState(), COleClientItem::loadedState);
    EXPECT_EQ(m_pView->GetActiveItem(), nullptr);
    ASSERT_TRUE(pItem->InPlaceActivate(m_pView));
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    Pump();
    EXPECT_EQ(pItem->GetItemState(), COleClientItem::loadedState);
}

TEST_F(EmbeddedActivationTest, AnInsideOutItemIsHiddenWhenItsMenusGo)
{
    CDrawOleObj* pPlain = AddNewPicture(CPoint(-300, 400), 2540, 2540);
    CDrawOleObj* pInsideOut = AddNewPicture(CPoint(0, 400), 2540, 2540);
    pInsideOut->m_pClientItem->SetMiscStatus(OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE);

    // An item of an ordinary server stays active in place without its menus.
    CDrawItem* pItem = pPlain->m_pClientItem;
    ASSERT_TRUE(pItem->InPlaceActivate(m_pView));
    ASSERT_TRUE(pItem->UIActivate());
    ASSERT_TRUE(pItem->UIDeactivate(TRUE));
    EXPECT_EQ(pItem->GetItemState(), COleClientItem::activeState);
    EXPECT_EQ(pItem->GetActiveView(), m_pView);
    EXPECT_FALSE(pItem->GetInPlaceRect().IsRectEmpty());
    EXPECT_FALSE(pItem->UIDeactivate(TRUE)) << "no menus left to take away";
    ASSERT_TRUE(pItem->InPlaceDeactivate());
    EXPECT_EQ(pItem->GetItemState(), COleClientItem::loadedState);

    // An inside-out one is hidden: it leaves the view.
    pItem = pInsideOut->m_pClientItem;
    ASSERT_TRUE(pItem->InPlaceActivate(m_pView));
    ASSERT_TRUE(pItem->UIActivate());
    ASSERT_TRUE(pItem->UIDeactivate(FALSE));
    EXPECT_EQ(pItem->GetItemState(), COleClientItem::loadedState);
    EXPECT_EQ(pItem->GetActiveView(), nullptr);
    EXPECT_TRUE(pItem->GetInPlaceRect().IsRectEmpty());

    // Hiding an item that does not run is no error and asks nothing of the user.
    CDialogAnswerer answerer;
    EXPECT_TRUE(pItem->DoVerb(OLEIVERB_HIDE, m_pView));
    EXPECT_EQ(pItem->GetItemState(), COleClientItem::loadedState);
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
}

TEST_F(EmbeddedActivationTest, AnItemWorkedOnElsewhereIsHatchedOnScreenButNotOnPaper)
{
    CDrawOleObj* pObj = AddNewPicture(CPoint(-300, 400), 2540, 2540);
    CDrawItem* pItem = pObj->m_pClientItem;
    // Black pixels inside the picture (its own colours are green and cyan), away from
    // the frame.
    auto blackInside = [&](BOOL bPrinting, BOOL bFrames) {
        CDC dc;
        CBitmap bitmap;
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, 80, 80);
        CBitmap* pOld = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 80, 80, RGB(255, 255, 255));
        dc.m_bPrinting = bPrinting;
        CDrawingShared::s_bShowObjectFrames = bFrames;
        pObj->DrawItemIn(&dc, CRect(10, 10, 70, 70));
        CDrawingShared::s_bShowObjectFrames = TRUE;
        dc.m_bPrinting = FALSE;
        int n = 0;
        for (int y = 14; y < 66; ++y)
            for (int x = 14; x < 66; ++x)
                n += dc.GetPixel(x, y) == RGB(0, 0, 0) ? 1 : 0;
        dc.SelectObject(pOld);
        return n;
    };
    EXPECT_EQ(blackInside(FALSE, TRUE), 0);
    ASSERT_TRUE(pItem->InPlaceActivate(m_pView));
    EXPECT_EQ(blackInside(FALSE, TRUE), 0) << "active in place without menus: the server draws it";
    ASSERT_TRUE(pItem->UIActivate());
    EXPECT_GT(blackInside(FALSE, TRUE), 100);
    EXPECT_GT(blackInside(FALSE, FALSE), 100) << "with object frames off too";
    EXPECT_EQ(blackInside(TRUE, TRUE), 0);
    pItem->Close();
    ASSERT_TRUE(pItem->OpenInWindow(m_pView));
    EXPECT_GT(blackInside(FALSE, TRUE), 100);
    pItem->Close();
    EXPECT_EQ(pItem->GetItemState(), COleClientItem::loadedState);
    EXPECT_EQ(blackInside(FALSE, TRUE), 0);
}
