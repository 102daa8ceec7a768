// Embedded objects that come from outside the layout: pasted from the clipboard or dropped
// onto the view. Another layout's object offers its item ("Embed Source"); another
// program's picture becomes a static picture item. Both are stored, drawn and printed as
// the layout's own embedded pictures are.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/printform/CPrintDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "platform/base/MessageBox.h"
#include "platform/ole/PictureItemStorage.h"
#include "platform/ui/core/WinDefs.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/ole/COleDataObject.h"

#include <algorithm>
#include <cstdint>
#include <vector>

BOOL CPrintFormView::CanPasteEmbedded(const COleDataObject* pDataObject)
{
    return COleClientItem::CanCreateFromData(pDataObject) ||
           COleClientItem::CanCreateStaticFromData(pDataObject);
}

BOOL CPrintFormView::GetObjectDescriptorInfo(COleDataObject* pDataObject, CSize& size, CSize& offset)
{
    size = CSize(0, 0);
    offset = CSize(0, 0);
    std::vector<BYTE> bytes;
    const auto cf = static_cast<CLIPFORMAT>(COleClientItem::GetObjectDescriptorFormat());
    SIZE sz{0, 0}, off{0, 0};
    if (pDataObject == nullptr || !pDataObject->IsDataAvailable(cf) || !pDataObject->GetBytes(cf, bytes) ||
        !COleClientItem::ReadObjectDescriptor(bytes, sz, off))
        return FALSE;
    CClientDC dc(nullptr);
    dc.HIMETRICtoDP(&sz);
    dc.HIMETRICtoDP(&off);
    size = CSize(sz.cx, sz.cy);
    offset = CSize(off.cx, off.cy);
    return TRUE;
}

BOOL CPrintFormView::PasteEmbeddedObject(COleDataObject* pDataObject, CPoint point, BOOL bDrop)
{
    CPrintDoc* pDoc = GetDocument();
    BeginWaitCursor();
    auto* pObj = new CDrawOleObj(GetPastePosition());
    auto* pItem = new CDrawItem(pDoc, pObj);
    pObj->m_pClientItem = pItem;
    const BOOL bMade = pItem->CreateFromData(pDataObject) || pItem->CreateStaticFromData(pDataObject);
    if (!bMade) {
        // Nothing of it stays: the item leaves the document's item list as it goes.
        delete pObj; // deletes its item
        EndWaitCursor();
        AfxMessageBox("ｵﾌﾞｼﾞｪｸﾄ貼り付けができません。"_sj);
        return FALSE;
    }
    pDoc->Add(pObj);
    m_selection.AddTail(pObj);
    CPoint corner = GetPastePosition().TopLeft();
    if (bDrop) {
        corner = point;
        ClientToDoc(corner);
        corner = UnzoomPoint(corner);
    }
    // The object's stored extent is (0, 0) until its item sizes it: the item's first
    // position request sizes the empty rectangle from the item's extent.
    pObj->MoveTo(CRect(corner, CPoint(corner.x + pObj->m_extent.cx, corner.y + pObj->m_extent.cy)), this);
    CRect rectItem;
    pItem->OnGetItemPosition(rectItem);
    EndWaitCursor();
    return TRUE;
}

DWORD CPrintFormView::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    m_bDragDataAcceptable = CanPasteEmbedded(pDataObject);
    if (!m_bDragDataAcceptable)
        return DROPEFFECT_NONE;
    if (!GetObjectDescriptorInfo(pDataObject, m_dragSize, m_dragOffset)) {
        // Another program's picture comes without a descriptor: the mark shows the
        // picture's own size, its corner at the mouse, where the drop puts it.
        std::vector<BYTE> dib;
        if (pDataObject->GetBytes(static_cast<CLIPFORMAT>(CF_DIB), dib)) {
            SIZE extent = DibHeaderExtentHimetric(dib);
            CClientDC dc(nullptr);
            dc.HIMETRICtoDP(&extent);
            m_dragSize = CSize(extent.cx, extent.cy);
        }
    }
    // A new drag starts with no focus rectangle on the view.
    m_prevDropEffect = DROPEFFECT_NONE;
    m_dragPoint = CPoint(INT_MIN, INT_MIN);
    return OnDragOver(pDataObject, dwKeyState, point);
}

DWORD CPrintFormView::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    (void)pDataObject;
    if (!m_bDragDataAcceptable)
        return DROPEFFECT_NONE;
    const CPoint pt(point.x - m_dragOffset.cx, point.y - m_dragOffset.cy);
    // Data of no known size: the mouse point itself must be over the page.
    const CSize test(std::max<LONG>(m_dragSize.cx, 1), std::max<LONG>(m_dragSize.cy, 1));
    CRect rectItem(pt, test);
    rectItem.OffsetRect(GetDeviceScrollPosition());
    const CSize total = GetTotalSize();
    CRect rectView(0, 0, total.cx, total.cy);
    CRect meet;
    DROPEFFECT effect = DROPEFFECT_NONE;
    if (meet.IntersectRect(&rectItem, &rectView)) {
        if ((dwKeyState & (MK_CONTROL | MK_SHIFT)) == (MK_CONTROL | MK_SHIFT))
            effect = DROPEFFECT_NONE;
        else if (dwKeyState & MK_CONTROL)
            effect = DROPEFFECT_COPY;
        else
            effect = DROPEFFECT_MOVE;
    }
    if (pt == m_dragPoint && effect == m_prevDropEffect)
        return effect;
    CClientDC dc(this);
    if (m_prevDropEffect != DROPEFFECT_NONE) {
        const CRect old(m_dragPoint, m_dragSize);
        dc.DrawFocusRect(&old);
    }
    m_prevDropEffect = effect;
    if (effect != DROPEFFECT_NONE) {
        m_dragPoint = pt;
        const CRect now(m_dragPoint, m_dragSize);
        dc.DrawFocusRect(&now);
    }
    return effect;
}

void CPrintFormView::OnDragLeave()
{
    if (m_prevDropEffect != DROPEFFECT_NONE) {
        CClientDC dc(this);
        const CRect old(m_dragPoint, m_dragSize);
        dc.DrawFocusRect(&old);
    }
    m_prevDropEffect = DROPEFFECT_NONE;
}

BOOL CPrintFormView::OnDrop(COleDataObject* pDataObject, DWORD dropEffect, CPoint point)
{
    (void)dropEffect; // the layout never takes anything away from the source
    OnDragLeave();
    GetObjectDescriptorInfo(pDataObject, m_dragSize, m_dragOffset);
    const CPoint pt(point.x - m_dragOffset.cx, point.y - m_dragOffset.cy);
    CPrintDoc* pDoc = GetDocument();
    OnUpdate(nullptr, CPrintDoc::hintSelection, nullptr);
    m_selection.RemoveAll();
    BOOL bPasted = FALSE;
    if (m_bDragDataAcceptable)
        bPasted = PasteEmbeddedObject(pDataObject, pt, TRUE);
    m_bDragDataAcceptable = FALSE;
    // Only a drop that placed something changes the layout.
    if (bPasted)
        pDoc->SetModifiedFlag(TRUE);
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintAll, nullptr);
    return bPasted;
}

CRect CPrintFormView::GetDragFocusRect() const
{
    if (m_prevDropEffect == DROPEFFECT_NONE)
        return CRect();
    return CRect(m_dragPoint, m_dragSize);
}
