// CPrintFormView: coordinates, painting, selection, the grid limits, mouse and keys, zoom.
// The undo record is in CPrintFormViewUndo.cpp, the commands in CPrintFormViewCommands.cpp.
#include "layout/printform/CPrintFormView.h"

#include "app/CChildFormFrame.h"
#include "app/CMainFrame.h"
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/CShadingDialog.h"
#include "layout/printform/CDrawTool.h"
#include "layout/printform/CPrintDoc.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/ChildFrameIds.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

IMPLEMENT_DYNCREATE(CPrintFormView, CScrollView)

namespace {

int MulDivInt(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const long long p = static_cast<long long>(a) * b;
    // Rounded half away from zero, as the platform's MulDiv does.
    const long long q =
        (std::llabs(p) + std::llabs(static_cast<long long>(c)) / 2) / std::llabs(static_cast<long long>(c));
    return static_cast<int>((p < 0) != (c < 0) ? -q : q);
}

const LONG kFontHeights[16] = {-11, -12, -13, -15, -16, -19, -21, -24,
                               -27, -29, -32, -35, -37, -48, -64, -96};

} // namespace

CPrintFormView::CPrintFormView() = default;

CPrintFormView::~CPrintFormView()
{
    // The lists point at the document's objects; only the clones are the view's.
    m_selection.RemoveAll();
    m_undoBefore.RemoveAll();
    m_undoAfter.RemoveAll();
    for (CDrawObj* pClone : m_clones) {
        if (auto* pOle = dynamic_cast<CDrawOleObj*>(pClone))
            pOle->m_bOwnsItem = FALSE; // the item stays with the document
        pClone->Remove();
    }
    m_clones.clear();
}

CPrintDoc* CPrintFormView::GetDocument() const
{
    return dynamic_cast<CPrintDoc*>(CScrollView::GetDocument());
}

// ---- Coordinates --------------------------------------------------------------------------

CRect CPrintFormView::ZoomRect(const CRect& rect) const
{
    if (m_nZoom == 100)
        return rect;
    return CRect(ZoomLength(rect.left), ZoomLength(rect.top), ZoomLength(rect.right),
                 ZoomLength(rect.bottom));
}

CRect CPrintFormView::UnzoomRect(const CRect& rect) const
{
    if (m_nZoom == 100)
        return rect;
    auto un = [this](int v) { return static_cast<int>(v * 100.0 / m_nZoom); };
    return CRect(un(rect.left), un(rect.top), un(rect.right), un(rect.bottom));
}

CPoint CPrintFormView::ZoomPoint(CPoint point) const
{
    if (m_nZoom == 100)
        return point;
    return CPoint(ZoomLength(point.x), ZoomLength(point.y));
}

CPoint CPrintFormView::UnzoomPoint(CPoint point) const
{
    if (m_nZoom == 100)
        return point;
    return CPoint(static_cast<int>(point.x * 100.0 / m_nZoom), static_cast<int>(point.y * 100.0 / m_nZoom));
}

int CPrintFormView::ZoomLength(int nLength) const
{
    if (m_nZoom == 100)
        return nLength;
    return static_cast<int>(nLength * m_nZoom / 100.0);
}

void CPrintFormView::ClientToDoc(CPoint& point)
{
    CClientDC dc(nullptr);
    OnPrepareDC(&dc, nullptr);
    dc.DPtoLP(&point);
}

void CPrintFormView::ClientToDocRect(CRect& rect)
{
    CClientDC dc(nullptr);
    OnPrepareDC(&dc, nullptr);
    CPoint pts[2] = {rect.TopLeft(), rect.BottomRight()};
    dc.DPtoLP(pts, 2);
    rect = CRect(pts[0], pts[1]);
}

void CPrintFormView::DocToClient(CPoint& point)
{
    CClientDC dc(nullptr);
    OnPrepareDC(&dc, nullptr);
    dc.LPtoDP(&point);
}

void CPrintFormView::DocToClientRect(CRect& rect)
{
    CClientDC dc(nullptr);
    OnPrepareDC(&dc, nullptr);
    CPoint pts[2] = {rect.TopLeft(), rect.BottomRight()};
    dc.LPtoDP(pts, 2);
    rect = CRect(pts[0], pts[1]);
    rect.NormalizeRect();
}

CRect CPrintFormView::GetPrintableRect()
{
    CPrintDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return CRect();
    const CSize size = *pDoc->GetSize();
    const CRect m = *pDoc->GetPrintableRect();
    const int x0 = (-size.cx) / 2;
    const int y0 = (-size.cy) / 2;
    return CRect(x0 + m.left, y0 + m.bottom, x0 + size.cx - m.right, y0 + size.cy - m.top);
}

CRect CPrintFormView::GetZoomedPrintableArea()
{
    CPrintDoc* pDoc = GetDocument();
    const CSize size = *pDoc->GetSize();
    const CRect m = *pDoc->GetPrintableRect();
    const int left = ((-size.cx) / 2) * m_nZoom / 100;
    const int bottom = ((-size.cy) / 2) * m_nZoom / 100;
    const int right = left + size.cx * m_nZoom / 100;
    const int top = bottom + size.cy * m_nZoom / 100;
    // left, right, bottom and top, as the grid counts them.
    return CRect(left + m.left * m_nZoom / 100, top - m.top * m_nZoom / 100, right - m.right * m_nZoom / 100,
                 bottom + m.bottom * m_nZoom / 100);
}

void CPrintFormView::InvalObj(CDrawObj* pObj)
{
    if (pObj == nullptr || m_hWnd == nullptr)
        return;
    CRect rect = ZoomRect(pObj->m_position);
    DocToClientRect(rect);
    if (m_bActive && IsSelected(pObj)) {
        // The handles reach out by their half width, which grows with the zoom.
        const int m = std::max(5, ZoomLength(5));
        rect.left -= m;
        rect.top -= m;
        rect.right += m;
        rect.bottom += m;
    }
    // Wide frames and lines draw half their width outside the rectangle.
    rect.InflateRect(1 + ZoomLength(5), 1 + ZoomLength(5));
    InvalidateRect(&rect, FALSE);
}

void CPrintFormView::InvalidateDragRect()
{
    if (m_hWnd == nullptr)
        return;
    CRect rect = m_rectDrag;
    DocToClientRect(rect);
    rect.InflateRect(1, 1);
    InvalidateRect(&rect, FALSE);
}

void CPrintFormView::SetPageSize(CSize size)
{
    const int d = static_cast<int>(10000.0 / m_nZoom);
    CClientDC dc(nullptr);
    const CSize total(MulDivInt(size.cx, dc.GetDeviceCaps(LOGPIXELSX), d),
                      MulDivInt(size.cy, dc.GetDeviceCaps(LOGPIXELSY), d));
    SetScrollSizes(MM_TEXT, total);
    if (CPrintDoc* pDoc = GetDocument())
        pDoc->UpdateAllViews(nullptr, CPrintDoc::hintAll);
}

namespace {

// One axis of the grid limits: the grid lines run from a (index 0) in steps of pitch, n
// lines after it; a negative pitch steps downward. v is the reference coordinate, d the
// mouse step. Where no grid line lies at or beyond v the last one counts.
int SnapForward(int a, int n, int pitch, int v, int d)
{
    int k = n;
    for (int i = 0; i <= n; ++i)
        if ((pitch > 0 && a + i * pitch >= v) || (pitch < 0 && a + i * pitch <= v)) {
            k = i;
            break;
        }
    const int g = a + k * pitch;
    if ((pitch > 0 && d >= g - v) || (pitch < 0 && d <= g - v)) {
        d += v - g;
        k += d / pitch;
        return a + std::clamp(k, 0, n) * pitch;
    }
    return v;
}

int SnapBackward(int a, int n, int pitch, int v, int d)
{
    int first = n + 1;
    for (int i = 0; i <= n; ++i)
        if ((pitch > 0 && a + i * pitch >= v) || (pitch < 0 && a + i * pitch <= v)) {
            first = i;
            break;
        }
    int k = first - 1;
    const int g = a + k * pitch;
    if ((pitch > 0 && d <= g - v) || (pitch < 0 && d >= g - v)) {
        d += v - g;
        k += d / pitch;
        return k >= 1 ? a + std::min(k, n) * pitch : a;
    }
    return v;
}

} // namespace

CPoint CPrintFormView::LimitMoveToPage(CPoint prev, CPoint cur, CPoint corner)
{
    if (m_selection.IsEmpty() || m_nGridPitch <= 0)
        return corner;
    CRect area = GetZoomedPrintableArea(); // left, top = T, right, bottom = B
    const CPoint tl = GetSelectionTopLeft();
    const CPoint br = GetSelectionBottomRight();
    area.right -= ZoomLength(br.x - tl.x);
    area.bottom += ZoomLength(tl.y - br.y);
    const int nx = std::abs((area.right - area.left) / m_nGridPitch);
    const int ny = std::abs((area.top - area.bottom) / m_nGridPitch);
    const int dx = cur.x - prev.x;
    const int dy = cur.y - prev.y;
    const CPoint p = ZoomPoint(corner);
    const int x = dx < 0 ? SnapBackward(area.left, nx, m_nGridPitch, p.x, dx)
                         : SnapForward(area.left, nx, m_nGridPitch, p.x, dx);
    // Downward (dy < 0) the lines counted from the top come first at or below the corner.
    const int y = dy < 0 ? SnapForward(area.top, ny, -m_nGridPitch, p.y, dy)
                         : SnapBackward(area.top, ny, -m_nGridPitch, p.y, dy);
    return UnzoomPoint(CPoint(x, y));
}

CPoint CPrintFormView::LimitResizeToPage(const CRect& rect, CPoint prev, CPoint cur, int nHandle)
{
    if (m_nGridPitch <= 0)
        return CPoint(rect.left, rect.top);
    const CRect area = GetZoomedPrintableArea();
    int rx = rect.left;
    int ry = rect.top;
    if (nHandle == 3 || nHandle == 4 || nHandle == 5)
        rx = rect.right;
    if (nHandle == 5 || nHandle == 6 || nHandle == 7)
        ry = rect.bottom;
    const CPoint p = ZoomPoint(CPoint(rx, ry));
    const int nx = std::abs((area.right - area.left) / m_nGridPitch);
    const int ny = std::abs((area.top - area.bottom) / m_nGridPitch);
    const int dx = cur.x - prev.x;
    const int dy = cur.y - prev.y;
    const int x = dx < 0 ? SnapBackward(area.left, nx, m_nGridPitch, p.x, dx)
                         : SnapForward(area.left, nx, m_nGridPitch, p.x, dx);
    const int y = dy < 0 ? SnapForward(area.top, ny, -m_nGridPitch, p.y, dy)
                         : SnapBackward(area.top, ny, -m_nGridPitch, p.y, dy);
    return UnzoomPoint(CPoint(x, y));
}

// ---- Selection ----------------------------------------------------------------------------

void CPrintFormView::Select(CDrawObj* pObj, BOOL bAdd)
{
    if (!bAdd) {
        OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
        m_selection.RemoveAll();
    }
    if (pObj == nullptr || IsSelected(pObj))
        return;
    m_selection.AddTail(pObj);
    InvalObj(pObj);
}

void CPrintFormView::Deselect(CDrawObj* pObj)
{
    if (POSITION pos = m_selection.Find(pObj)) {
        InvalObj(pObj);
        m_selection.RemoveAt(pos);
    }
}

void CPrintFormView::RemoveFromSelection(CDrawObj* pObj)
{
    if (POSITION pos = m_selection.Find(pObj))
        m_selection.RemoveAt(pos);
}

void CPrintFormView::SelectWithinRect(CRect rect, BOOL bAdd)
{
    if (!bAdd)
        Select(nullptr);
    ClientToDocRect(rect);
    rect = UnzoomRect(rect);
    CDrawObjList* pList = GetDocument()->GetObjectList();
    // Only objects wholly inside the band are taken.
    for (POSITION pos = pList->GetHeadPosition(); pos != nullptr;) {
        CDrawObj* pObj = pList->GetNext(pos);
        if (pObj->IsWithin(rect))
            Select(pObj, TRUE);
    }
}

BOOL CPrintFormView::IsSelected(const CObject* pDocItem) const
{
    const CObject* pItem = pDocItem;
    if (auto* pClient = dynamic_cast<const CDrawItem*>(pDocItem))
        pItem = pClient->m_pDrawObj;
    for (POSITION pos = m_selection.GetHeadPosition(); pos != nullptr;)
        if (m_selection.GetNext(pos) == pItem)
            return TRUE;
    return FALSE;
}

void CPrintFormView::CloneSelection()
{
    for (POSITION pos = m_selection.GetHeadPosition(); pos != nullptr;) {
        CDrawObj* pObj = m_selection.GetNext(pos);
        pObj->Clone(pObj->m_pDocument);
    }
    SetUndoFlags(FALSE, FALSE);
}

CPoint CPrintFormView::GetSelectionTopLeft()
{
    CPoint result;
    bool bFirst = true;
    for (POSITION pos = m_selection.GetHeadPosition(); pos != nullptr;) {
        const CRect n = NormalizedRect(m_selection.GetNext(pos)->m_position);
        result = bFirst ? CPoint(n.left, n.bottom)
                        : CPoint(std::min(result.x, n.left), std::max(result.y, n.bottom));
        bFirst = false;
    }
    return result;
}

CPoint CPrintFormView::GetSelectionBottomRight()
{
    CPoint result;
    bool bFirst = true;
    for (POSITION pos = m_selection.GetHeadPosition(); pos != nullptr;) {
        const CRect n = NormalizedRect(m_selection.GetNext(pos)->m_position);
        result =
            bFirst ? CPoint(n.right, n.top) : CPoint(std::max(result.x, n.right), std::min(result.y, n.top));
        bFirst = false;
    }
    return result;
}

void CPrintFormView::ClearStatusPanes()
{
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->ClearStatusPanes();
}

int CPrintFormView::FontSizeIndexOfHeight(LONG lfHeight)
{
    for (int i = 0; i < 16; ++i)
        if (kFontHeights[i] == lfHeight)
            return i;
    return -1;
}

LONG CPrintFormView::FontHeightOfSizeIndex(int nIndex)
{
    return nIndex >= 0 && nIndex < 16 ? kFontHeights[nIndex] : 0;
}

namespace {

// The common value of the selection: the first text (or table with selected cells) gives
// the reference; a different value anywhere makes the selection mixed (nullopt).
template <class TextValue, class CellValue>
std::optional<long> CommonValue(CDrawObjList& sel, TextValue textValue, CellValue cellValue, bool bRects)
{
    std::optional<long> ref;
    for (POSITION pos = sel.GetHeadPosition(); pos != nullptr;) {
        CDrawObj* pObj = sel.GetNext(pos);
        std::optional<long> v;
        if (auto* pTable = dynamic_cast<CDrawTable*>(pObj)) {
            std::optional<long> cells;
            for (INT_PTR i = 0; i < pTable->GetCellCount(); ++i) {
                const CDrawCell* c = pTable->GetCell(i);
                if (!c->m_bSelected)
                    continue;
                const long cv = cellValue(c);
                if (cells && *cells != cv)
                    return std::nullopt;
                cells = cv;
            }
            v = cells;
        } else if (auto* pText = dynamic_cast<CDrawText*>(pObj)) {
            v = textValue(static_cast<CDrawObj*>(pText));
        } else if (bRects && dynamic_cast<CDrawOleObj*>(pObj) == nullptr) {
            v = textValue(pObj);
        }
        if (!v)
            continue;
        if (ref && *ref != *v)
            return std::nullopt;
        ref = v;
    }
    return ref;
}

} // namespace

void CPrintFormView::UpdateFontNameCombo()
{
    CComboBox* pBox = GetBarBox(IDC_FONT_NAME);
    if (pBox == nullptr)
        return;
    CString ref;
    bool bHave = false, bMixed = false;
    auto take = [&](const CString& face) {
        if (!bHave) {
            ref = face;
            bHave = true;
        } else if (face != ref) {
            bMixed = true;
        }
    };
    for (POSITION pos = m_selection.GetHeadPosition(); pos != nullptr && !bMixed;) {
        CDrawObj* pObj = m_selection.GetNext(pos);
        if (auto* pTable = dynamic_cast<CDrawTable*>(pObj)) {
            for (INT_PTR i = 0; i < pTable->GetCellCount() && !bMixed; ++i)
                if (pTable->GetCell(i)->m_bSelected)
                    take(pTable->GetCell(i)->m_logFont.lfFaceName);
        } else if (auto* pText = dynamic_cast<CDrawText*>(pObj)) {
            take(pText->m_logFont.lfFaceName);
        }
    }
    if (!bHave || bMixed) {
        pBox->SetCurSel(-1);
        return;
    }
    const int nIndex = pBox->FindStringExact(-1, ref);
    if (nIndex >= 0) {
        CString found;
        pBox->GetLBText(nIndex, found);
        if (found == ref) { // the box's search ignores case; the face must match exactly
            pBox->SetCurSel(nIndex);
            return;
        }
    }
    // A face the printer does not list (a layout made elsewhere): the box shows its name.
    ShowBoxText(pBox, ref);
}

void CPrintFormView::UpdateFontSizeCombo()
{
    CComboBox* pBox = GetBarBox(IDC_FONT_SIZE);
    if (pBox == nullptr)
        return;
    auto v = CommonValue(
        m_selection, [](CDrawObj* p) -> long { return static_cast<CDrawText*>(p)->m_logFont.lfHeight; },
        [](const CDrawCell* c) -> long { return c->m_logFont.lfHeight; }, false);
    const int nIndex = v ? FontSizeIndexOfHeight(static_cast<LONG>(*v)) : -1;
    if (nIndex >= 0 || !v || *v >= 0) {
        pBox->SetCurSel(nIndex);
        return;
    }
    // A height between the listed sizes: the box shows it in points all the same.
    ShowBoxText(pBox, FontPointText(static_cast<LONG>(*v)));
}

CString CPrintFormView::FontPointText(LONG lfHeight)
{
    // Tenths of a point, rounded: the height is in pixels of a 96-dpi screen.
    const long nTenths = std::lround(-static_cast<double>(lfHeight) * 720.0 / 96.0);
    CString text;
    if (nTenths % 10 == 0)
        text.Format("%ld", nTenths / 10);
    else
        text.Format("%ld.%ld", nTenths / 10, nTenths % 10);
    return text;
}

void CPrintFormView::ShowBoxText(CComboBox* pBox, const CString& text)
{
    if (pBox->GetCurSel() >= 0)
        pBox->SetCurSel(-1);
    CString shown;
    pBox->GetWindowText(shown);
    if (shown != text)
        pBox->SetWindowText(text);
}

void CPrintFormView::UpdatePatternCombo()
{
    CComboBox* pBox = GetBarBox(IDC_FILL_PATTERN);
    if (pBox == nullptr)
        return;
    auto v = CommonValue(
        m_selection, [](CDrawObj* p) -> long { return p->m_nFillPattern; },
        [](const CDrawCell* c) -> long { return c->m_nFillPattern; }, true);
    pBox->SetCurSel(v && *v >= 0 && *v < FILL_PATTERN_COUNT ? static_cast<int>(*v) : -1);
}

// ---- Framework overrides ------------------------------------------------------------------

BOOL CPrintFormView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_HSCROLL | WS_VSCROLL;
    return CScrollView::PreCreateWindow(cs);
}

BOOL CPrintFormView::PreTranslateMessage(MSG* pMsg)
{
    m_toolTip.RelayEvent(pMsg);
    // Shift+F10 opens the context menu at the window's top-left corner.
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && pMsg->wParam == VK_F10 &&
        ::GetKeyState(VK_SHIFT) < 0) {
        CPoint point(5, 5);
        ClientToScreen(&point);
        OnContextMenu(this, point);
        return TRUE;
    }
    return CScrollView::PreTranslateMessage(pMsg);
}

BOOL CPrintFormView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    const BOOL bScrolled = CScrollView::OnScrollBy(sizeScroll, bDoScroll);
    if (bScrolled && bDoScroll) {
        UpdateActiveItem();
        UpdateWindow();
    }
    return bScrolled;
}

COleClientItem* CPrintFormView::GetActiveItem() const
{
    CPrintDoc* pDoc = GetDocument();
    return pDoc != nullptr ? pDoc->GetInPlaceActiveItem(this) : nullptr;
}

void CPrintFormView::UpdateActiveItem()
{
    // The item's window follows its object when the view scrolls or changes size.
    if (COleClientItem* pItem = GetActiveItem();
        pItem && pItem->GetItemState() == COleClientItem::activeUIState)
        pItem->SetItemRects();
}

void CPrintFormView::CloseActiveItem()
{
    if (COleClientItem* pItem = GetActiveItem())
        pItem->Close(OLECLOSE_SAVEIFDIRTY);
}

void CPrintFormView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CScrollView::OnPrepareDC(pDC, pInfo);
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetViewportExt(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
    pDC->SetWindowExt(100, -100);
    CPrintDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    const CSize ext = *pDoc->GetDocExtent();
    pDC->OffsetWindowOrg(-(ext.cx / 2) * m_nZoom / 100, (ext.cy / 2) * m_nZoom / 100);
}

void CPrintFormView::OnInitialUpdate()
{
    CPrintDoc* pDoc = GetDocument();
    m_nZoom = std::clamp(pDoc ? pDoc->m_nZoom : 100, static_cast<int>(MIN_ZOOM), static_cast<int>(MAX_ZOOM));
    if (pDoc) {
        const CSize ext = *pDoc->GetDocExtent();
        const int d = static_cast<int>(10000.0 / m_nZoom);
        CClientDC dc(nullptr);
        SetScrollSizes(MM_TEXT, CSize(MulDivInt(ext.cx, dc.GetDeviceCaps(LOGPIXELSX), d),
                                      MulDivInt(ext.cy, dc.GetDeviceCaps(LOGPIXELSY), d)));
    }
    m_nAutoScroll = 0;
    m_bAutoScrollTimer = FALSE;
    if (m_hWnd && !m_toolTip.IsCreated() && m_toolTip.Create(this)) {
        m_toolTip.Activate(TRUE);
        m_toolTip.SetDelayTime(500);
        m_toolTip.AddTool(this, "");
    }
    m_bDragRect = FALSE;
    SetUndoFlags(FALSE, FALSE);
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->SelectZoomEntry(100);
    m_nRuleLineStyle = 1;
    m_nTableRows = 2;
    m_nTableCols = 2;
    m_pendingText = CPendingTextSettings();
    ClearStatusPanes();
    m_nPasteCount = -1;
    CScrollView::OnInitialUpdate();
}

void CPrintFormView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    CScrollView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (m_bActive == bActivate)
        return;
    if (bActivate)
        m_bActive = TRUE;
    if (!m_selection.IsEmpty())
        OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    m_bActive = bActivate;
}

void CPrintFormView::OnUpdate(CView*, LPARAM lHint, CObject* pHint)
{
    switch (lHint) {
    case CPrintDoc::hintAll:
        if (m_hWnd)
            Invalidate(FALSE);
        break;
    case CPrintDoc::hintObject:
        InvalObj(dynamic_cast<CDrawObj*>(pHint));
        break;
    case CPrintDoc::hintSelection: {
        auto* pList = pHint ? dynamic_cast<CDrawObjList*>(pHint) : &m_selection;
        if (pList)
            for (POSITION pos = pList->GetHeadPosition(); pos != nullptr;)
                InvalObj(pList->GetNext(pos));
        break;
    }
    case CPrintDoc::hintDeleted: {
        auto* pList = dynamic_cast<CDrawObjList*>(pHint);
        if (pList && pList != &m_selection)
            for (POSITION pos = pList->GetHeadPosition(); pos != nullptr;) {
                CDrawObj* pObj = pList->GetNext(pos);
                InvalObj(pObj);
                RemoveFromSelection(pObj);
            }
        break;
    }
    case CPrintDoc::hintOleObjects: {
        CDrawObjList* pObjects = GetDocument()->GetObjectList();
        for (POSITION pos = pObjects->GetHeadPosition(); pos != nullptr;) {
            CDrawObj* pObj = pObjects->GetNext(pos);
            if (dynamic_cast<CDrawOleObj*>(pObj))
                InvalObj(pObj);
        }
        break;
    }
    default:
        break;
    }
}

void CPrintFormView::OnDraw(CDC* pDC)
{
    CPrintDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    // The window layer keeps a back buffer of the window: painting into it is the one
    // off-screen bitmap, copied out once.
    CRect clip;
    pDC->GetClipBox(&clip);
    m_rectLastClip = clip;
    const CRect docClip = NormalizedRect(UnzoomRect(clip));
    CDrawObjList* pObjects = pDoc->GetObjectList();
    for (POSITION pos = pObjects->GetHeadPosition(); pos != nullptr;) {
        CDrawObj* pObj = pObjects->GetNext(pos);
        pObj->m_bVisible = pObj->Intersects(docClip);
    }
    const CPoint devOrigin = pDC->GetViewportOrg();
    (void)devOrigin;
    const CRect area = NormalizedRect(clip);
    CBrush grey(RGB(128, 128, 128));
    pDC->FillRect(&area, &grey);
    DrawPaper(clip, pDC);
    pDoc->Draw(pDC, this);
    if (m_bDragRect) {
        CPen pen(PS_DOT, 1, RGB(0, 0, 0));
        CPen* pOld = pDC->SelectObject(&pen);
        pDC->MoveTo(m_rectDrag.left, m_rectDrag.top);
        pDC->LineTo(m_rectDrag.right, m_rectDrag.top);
        pDC->LineTo(m_rectDrag.right, m_rectDrag.bottom);
        pDC->LineTo(m_rectDrag.left, m_rectDrag.bottom);
        pDC->LineTo(m_rectDrag.left, m_rectDrag.top);
        pDC->SelectObject(pOld);
    }
    UpdateFontNameCombo();
    UpdateFontSizeCombo();
    UpdatePatternCombo();
}

void CPrintFormView::DrawPaper(const CRect& clipIn, CDC* pDC)
{
    CPrintDoc* pDoc = GetDocument();
    CRect clip = NormalizedRect(clipIn);
    clip.right += 1;
    clip.bottom += 1;
    const CSize size = *pDoc->GetSize();
    const int left = ((-size.cx) / 2) * m_nZoom / 100;
    const int bottom = ((-size.cy) / 2) * m_nZoom / 100;
    const int right = left + size.cx * m_nZoom / 100;
    const int top = bottom + size.cy * m_nZoom / 100;
    {
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        CBrush brush(pDoc->m_paperColor);
        CPen* pOldPen = pDC->SelectObject(&pen);
        CBrush* pOldBrush = pDC->SelectObject(&brush);
        pDC->Rectangle(left, top, right, bottom);
        pDC->SelectObject(pOldBrush);
        pDC->SelectObject(pOldPen);
    }
    {
        CPen pen(PS_SOLID, 3, RGB(0, 0, 0));
        CPen* pOldPen = pDC->SelectObject(&pen);
        pDC->MoveTo(right + 1, top - 3);
        pDC->LineTo(right + 1, bottom - 1);
        pDC->LineTo(left + 3, bottom - 1);
        pDC->SelectObject(pOldPen);
    }
    if (!m_bPrintLimit && !m_bGrid)
        return;
    const CRect m = *pDoc->GetPrintableRect();
    const int l = left + m.left * m_nZoom / 100;
    const int r = right - m.right * m_nZoom / 100;
    const int b = bottom + m.bottom * m_nZoom / 100;
    const int t = top - m.top * m_nZoom / 100;
    if (m_bPrintLimit) {
        CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
        CPen* pOldPen = pDC->SelectObject(&pen);
        CGdiObject* pOldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
        pDC->Rectangle(l, t, r, b);
        if (pOldBrush)
            pDC->SelectObject(pOldBrush);
        pDC->SelectObject(pOldPen);
    }
    if (m_bGrid && m_nZoom >= 50 && m_nGridPitch > 0) {
        const int nx = std::abs((r - l) / m_nGridPitch);
        const int ny = std::abs((t - b) / m_nGridPitch);
        // Only the dots inside the clip are visited.
        const int i0 = std::max(0, (clip.left - l) / m_nGridPitch - 1);
        const int i1 = std::min(nx, (clip.right - l) / m_nGridPitch + 1);
        const int j0 = std::max(0, (t - clip.bottom) / m_nGridPitch - 1);
        const int j1 = std::min(ny, (t - clip.top) / m_nGridPitch + 1);
        for (int i = i0; i <= i1; ++i)
            for (int j = j0; j <= j1; ++j) {
                const int x = l + i * m_nGridPitch;
                const int y = t - j * m_nGridPitch;
                if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
                    pDC->SetPixel(x, y, RGB(0, 0, 0));
            }
    }
}

BOOL CPrintFormView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

void CPrintFormView::OnBeginPrinting(CDC*, CPrintInfo*)
{
    if (CPrintDoc* pDoc = GetDocument())
        pDoc->ComputePaperSize();
}

void CPrintFormView::OnEndPrinting(CDC*, CPrintInfo*) {}

// ---- Messages -----------------------------------------------------------------------------

int CPrintFormView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CScrollView::OnCreate(lpCreateStruct) == -1)
        return -1;
    // Pictures and objects of other programs can be dropped onto the layout.
    m_dropTarget.Register(this);
    return 0;
}

void CPrintFormView::OnDestroy()
{
    StopAutoScroll();
    // An item active in place in this window leaves it with the window.
    if (COleClientItem* pItem = GetActiveItem())
        pItem->InPlaceDeactivate();
    CScrollView::OnDestroy();
}

BOOL CPrintFormView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CPrintFormView::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bActive)
        return;
    if (CDrawTool* pTool = CDrawTool::FindTool(CDrawTool::s_nCurrentShape))
        pTool->OnLButtonDown(this, nFlags, point);
}

void CPrintFormView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (!m_bActive)
        return;
    if (CDrawTool* pTool = CDrawTool::FindTool(CDrawTool::s_nCurrentShape))
        pTool->OnLButtonDblClk(this, nFlags, point);
}

void CPrintFormView::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bActive)
        return;
    StopAutoScroll();
    if (CDrawTool* pTool = CDrawTool::FindTool(CDrawTool::s_nCurrentShape))
        pTool->OnLButtonUp(this, nFlags, point);
}

void CPrintFormView::StopAutoScroll()
{
    if (m_bAutoScrollTimer) {
        if (m_hWnd)
            KillTimer(AUTOSCROLL_TIMER);
        m_bAutoScrollTimer = FALSE;
    }
}

void CPrintFormView::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bActive)
        return;
    StopAutoScroll();
    if (nFlags & MK_LBUTTON) {
        CRect client;
        GetClientRect(&client);
        m_nAutoScroll = 0;
        if (point.y > client.bottom)
            m_nAutoScroll = 1;
        if (point.y < client.top)
            m_nAutoScroll = 2;
        if (point.x > client.right)
            m_nAutoScroll = 3;
        if (point.x < client.left)
            m_nAutoScroll = 4;
        if (m_nAutoScroll != 0 && !m_bAutoScrollTimer) {
            SetTimer(AUTOSCROLL_TIMER, AUTOSCROLL_PERIOD);
            m_bAutoScrollTimer = TRUE;
        }
        if (m_bAutoScrollTimer) {
            m_nLastMouseFlags = nFlags;
            m_ptLastMouse = point;
        }
    }
    if (CDrawTool* pTool = CDrawTool::FindTool(CDrawTool::s_nCurrentShape))
        pTool->OnMouseMove(this, nFlags, point);
}

void CPrintFormView::OnTimer(UINT_PTR nIDEvent)
{
    const UINT nMessage = m_nAutoScroll >= 3 ? WM_HSCROLL : WM_VSCROLL;
    const WPARAM nCode = m_nAutoScroll == 1 || m_nAutoScroll == 3 ? SB_LINEDOWN : SB_LINEUP;
    if (m_nAutoScroll != 0) {
        for (int i = 0; i < 2; ++i) {
            SendMessage(nMessage, nCode, 0);
            UpdateWindow();
        }
        if (CDrawTool* pTool = CDrawTool::FindTool(CDrawTool::s_nCurrentShape))
            pTool->OnMouseMove(this, m_nLastMouseFlags, m_ptLastMouse);
    }
    CScrollView::OnTimer(nIDEvent);
}

void CPrintFormView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nChar) {
    case VK_PRIOR:
        SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
        break;
    case VK_NEXT:
        SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
        break;
    case VK_LEFT:
        SendMessage(WM_HSCROLL, SB_LINEUP, 0);
        break;
    case VK_RIGHT:
        SendMessage(WM_HSCROLL, SB_LINEDOWN, 0);
        break;
    case VK_UP:
        SendMessage(WM_VSCROLL, SB_LINEUP, 0);
        break;
    case VK_DOWN:
        SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
        break;
    default:
        break;
    }
    UpdateWindow();
    CScrollView::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CPrintFormView::OnSetFocus(CWnd* pOldWnd)
{
    CScrollView::OnSetFocus(pOldWnd);
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->ShowZoom(m_nZoom);
    ClearStatusPanes();
}

void CPrintFormView::OnSize(UINT nType, int cx, int cy)
{
    CScrollView::OnSize(nType, cx, cy);
    UpdateActiveItem();
}

CComboBox* CPrintFormView::GetBarBox(UINT nID) const
{
    auto* pFrame = dynamic_cast<CChildFormFrame*>(GetParentFrame());
    return pFrame != nullptr ? pFrame->GetBarBox(nID) : nullptr;
}
