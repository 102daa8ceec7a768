#include "layout/drawing/CDrawOleObj.h"

#include "layout/drawing/CDrawingDoc.h"
#include "layout/drawing/IDrawingView.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/ole/COlePropertiesDialog.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CView.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CDrawOleObj, CDrawObj, 0)
IMPLEMENT_SERIAL(CDrawItem, COleClientItem, 0)

int HimetricToObjectUnits(int nValue)
{
    // MulDiv rounds half away from zero.
    const long long n = static_cast<long long>(nValue) * 10;
    const long long q = (std::llabs(n) * 2 + 254) / (2 * 254);
    return static_cast<int>(n < 0 ? -q : q);
}

static int MulDivRound(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long n = static_cast<long long>(a) * b;
    const long long q = (std::llabs(n) * 2 + std::llabs(static_cast<long long>(c))) /
                        (2 * std::llabs(static_cast<long long>(c)));
    return static_cast<int>((n < 0) != (c < 0) ? -q : q);
}

CDrawOleObj::CDrawOleObj() = default;

CDrawOleObj::CDrawOleObj(const CRect& position) : CDrawObj(position) {}

CDrawOleObj::~CDrawOleObj()
{
    if (m_bOwnsItem && m_pClientItem) {
        CDrawItem* pItem = m_pClientItem;
        m_pClientItem = nullptr;
        pItem->m_pDrawObj = nullptr;
        pItem->Release();
        delete pItem;
    }
    // An item another holder keeps is not touched: that holder may have freed it already.
}

void CDrawOleObj::Serialize(CArchive& ar)
{
    CDrawObj::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_extent.cx << m_extent.cy;
        ar << static_cast<const CObject*>(m_pClientItem);
        return;
    }
    ar >> m_extent.cx >> m_extent.cy;
    CObject* pObject = ar.ReadObject(RUNTIME_CLASS(CDrawItem));
    auto* pItem = static_cast<CDrawItem*>(pObject);
    if (pItem == nullptr)
        return;
    // An item already read for another object (a reference back to it in a damaged file)
    // would be owned twice.
    if (pItem->m_bClaimed)
        throw CArchiveException(CArchiveException::badIndex);
    pItem->m_bClaimed = TRUE;
    // An item whose storage is missing is not kept: the object stays without it, and the
    // document, which has it in its item list, frees it once the whole file is read.
    if (pItem->GetStorage() == nullptr && pItem->GetDocument() != nullptr)
        return;
    m_pClientItem = pItem;
    pItem->m_pDrawObj = this;
}

CDrawObj* CDrawOleObj::Clone(CDrawingDoc* pDoc)
{
    auto* pClone = new CDrawOleObj(m_position);
    pClone->m_nLineStyle = m_nLineStyle;
    pClone->m_lineColor = m_lineColor;
    pClone->m_extent = m_extent;
    if (m_pClientItem) {
        auto* pItem = new CDrawItem(m_pDocument, pClone);
        pClone->m_pClientItem = pItem;
        if (!pItem->CreateCloneFrom(m_pClientItem)) {
            delete pClone; // deletes its item too
            throw CMemoryException();
        }
    }
    if (pDoc)
        pDoc->Add(pClone);
    return pClone;
}

CDrawObj* CDrawOleObj::CloneForUndo(CDrawingDoc* pDoc)
{
    (void)pDoc;
    auto* pClone = new CDrawOleObj(m_position);
    pClone->m_nLineStyle = m_nLineStyle;
    pClone->m_lineColor = m_lineColor;
    pClone->m_extent = m_extent;
    if (m_bCloneItem && m_pClientItem) {
        auto* pItem = new CDrawItem(m_pDocument, pClone);
        pClone->m_pClientItem = pItem;
        if (!pItem->CreateCloneFrom(m_pClientItem)) {
            delete pClone;
            throw CMemoryException();
        }
    } else {
        // The copy shares the item; the undo list's holder decides who owns it.
        pClone->m_pClientItem = m_pClientItem;
        pClone->m_bOwnsItem = FALSE;
        pClone->m_pDocument = m_pDocument;
    }
    return pClone;
}

void CDrawOleObj::Remove()
{
    if (m_bOwnsItem && m_pClientItem) {
        CDrawItem* pItem = m_pClientItem;
        m_pClientItem = nullptr;
        pItem->m_pDrawObj = nullptr;
        pItem->Delete();
    }
    delete this;
}

void CDrawOleObj::MoveTo(const CRect& position, IDrawingView* pView)
{
    if (position == m_position)
        return;
    CDrawObj::MoveTo(position, pView);
    // An item running in place keeps its window over the object.
    if (m_pClientItem && m_pClientItem->IsInPlaceActive())
        m_pClientItem->SetItemRects();
}

void CDrawOleObj::OnOpen(IDrawingView* pView)
{
    if (m_pClientItem == nullptr)
        return;
    // With Ctrl held the item opens in its server's own window instead of in place.
    const LONG nVerb = ::GetKeyState(VK_CONTROL) < 0 ? OLEIVERB_OPEN : OLEIVERB_PRIMARY;
    CView* pWnd = pView ? &pView->GetEditorView() : nullptr;
    if (pWnd)
        pWnd->BeginWaitCursor();
    m_pClientItem->DoVerb(nVerb, pWnd);
    if (pWnd)
        pWnd->EndWaitCursor();
}

void CDrawOleObj::OnEditProperties()
{
    // The item's properties at a fixed scale of 100 %: the layout places the item at its
    // own size (or the size the user dragged it to).
    if (m_pClientItem == nullptr)
        return;
    COlePropertiesDialog dialog(m_pClientItem, 100, 100);
    dialog.DoModal();
}

// ---------------------------------------------------------------------------------------
// The client item
// ---------------------------------------------------------------------------------------
CDrawItem::CDrawItem(COleDocument* pContainer, CDrawOleObj* pDrawObj)
    : COleClientItem(pContainer), m_pDrawObj(pDrawObj)
{
}

CDrawItem::~CDrawItem()
{
    if (m_pDrawObj && m_pDrawObj->m_pClientItem == this)
        m_pDrawObj->m_pClientItem = nullptr;
}

BOOL CDrawItem::UpdateExtent()
{
    CSize size;
    if (!GetExtent(&size) || m_pDrawObj == nullptr || size == m_pDrawObj->m_extent)
        return FALSE;
    CDrawOleObj& obj = *m_pDrawObj;
    CRect& r = obj.m_position;
    if (obj.m_extent.cx == 0 && obj.m_extent.cy == 0) {
        // An extent below one unit still makes an object that can be seen and taken.
        r.right = r.left + std::max(1, HimetricToObjectUnits(size.cx));
        r.bottom = r.top - std::max(1, HimetricToObjectUnits(size.cy));
    } else if (GetItemState() != activeState && GetItemState() != activeUIState) {
        // A side whose old extent is 0 (a damaged or half-made record) has nothing to
        // scale by: it is sized from the new extent as the first time.
        const int nWidth = r.Width(), nHeight = r.Height();
        r.right = obj.m_extent.cx != 0 ? r.left + MulDivRound(nWidth, size.cx, obj.m_extent.cx)
                                       : r.left + HimetricToObjectUnits(size.cx);
        r.bottom = obj.m_extent.cy != 0 ? r.top + MulDivRound(nHeight, size.cy, obj.m_extent.cy)
                                        : r.top - HimetricToObjectUnits(size.cy);
    }
    obj.m_extent = size;
    obj.Invalidate();
    return TRUE;
}

void CDrawItem::OnChange(OLE_NOTIFICATION nCode, DWORD dwParam)
{
    COleClientItem::OnChange(nCode, dwParam);
    if ((nCode == OLE_CHANGED_STATE || nCode == OLE_CHANGED_ASPECT) && m_pDrawObj)
        m_pDrawObj->Invalidate();
}

void CDrawItem::Serialize(CArchive& ar)
{
    COleClientItem::Serialize(ar);
}

BOOL CDrawItem::OnChangeItemPosition(const CRect& rectPos)
{
    // The server's rectangle is in the view's client pixels; only a view of the layout can
    // say where that is on the page.
    auto* pView = dynamic_cast<IDrawingView*>(GetActiveView());
    if (m_pDrawObj && pView) {
        CRect rect = rectPos;
        rect.NormalizeRect();
        pView->ClientToDocRect(rect);
        rect = pView->UnzoomRect(rect);
        CDrawOleObj& obj = *m_pDrawObj;
        if (rect != obj.m_position) {
            obj.Invalidate();
            obj.m_position = rect;
            GetExtent(&obj.m_extent);
            obj.Invalidate();
            if (COleDocument* pDoc = GetDocument())
                pDoc->SetModifiedFlag(TRUE);
        }
    }
    return COleClientItem::OnChangeItemPosition(rectPos);
}

void CDrawItem::OnGetItemPosition(CRect& rPosition)
{
    if (m_pDrawObj == nullptr) {
        rPosition.SetRectEmpty();
        return;
    }
    // A rectangle without area (a new object) takes the item's first extent.
    if (NormalizedRect(m_pDrawObj->m_position).IsRectEmpty())
        UpdateExtent();
    rPosition = m_pDrawObj->m_position;
    if (auto* pView = dynamic_cast<IDrawingView*>(GetActiveView())) {
        // As the view draws it: zoomed, then in client pixels.
        rPosition = pView->ZoomRect(rPosition);
        pView->DocToClientRect(rPosition);
    }
}

void CDrawItem::OnActivate()
{
    CView* pView = GetActiveView();
    if (COleDocument* pDoc = GetDocument(); pDoc && pView) {
        for (POSITION pos = pDoc->GetStartPosition(); pos != nullptr;) {
            COleClientItem* pItem = pDoc->GetNextClientItem(pos);
            if (pItem != this && pItem->IsInPlaceActive() && pItem->GetActiveView() == pView)
                pItem->Close(OLECLOSE_SAVEIFDIRTY);
        }
    }
    COleClientItem::OnActivate();
}

void CDrawItem::OnDeactivateUI(BOOL bUndoable)
{
    COleClientItem::OnDeactivateUI(bUndoable);
    // An inside-out object would stay active in place without its menus; it is hidden
    // instead, and the layout draws its picture again.
    if (GetMiscStatus() & OLEMISC_INSIDEOUT)
        DoVerb(OLEIVERB_HIDE, nullptr);
}
