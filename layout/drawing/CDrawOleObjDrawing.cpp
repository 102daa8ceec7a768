// Embedded objects on screen and on paper, and a new embedded picture from a file.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawingDoc.h"
#include "layout/drawing/DibPicture.h"
#include "layout/drawing/DrawingShared.h"
#include "platform/base/CFile.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <memory>

namespace {

// The largest ".BMP" file taken in: pictures beyond DIB_MAX_PIXELS are refused anyway.
constexpr DWORD MAX_PICTURE_FILE = 96u << 20;

void DrawFramedBox(CDC* pDC, const CRect& rect, const CString& strName)
{
    CPen pen(PS_SOLID, 0, RGB(0, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&pen);
    CGdiObject* pOldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    pDC->Rectangle(&rect);
    pDC->SelectObject(pOldPen);
    if (pOldBrush)
        pDC->SelectObject(pOldBrush);
    CRect rcText = NormalizedRect(rect);
    // In a y-up mapping the text box must run from the upper edge down.
    if (rect.top > rect.bottom)
        rcText = CRect(rcText.left, rcText.bottom, rcText.right, rcText.top);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strName.IsEmpty() ? "オブジェクト"_sj : strName, &rcText,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SetBkMode(nOldMode);
}

} // namespace

BOOL DrawItemPicture(CDC* pDC, const COleClientItem* pItem, const CRect& rect)
{
    if (pDC == nullptr || pItem == nullptr)
        return FALSE;
    std::vector<BYTE> dib;
    CDibPixels pixels;
    if (!pItem->GetCachedDib(dib) || !DecodeDib(dib.data(), dib.size(), pixels)) {
        DrawFramedBox(pDC, rect, pItem->GetUserTypeName());
        return FALSE;
    }
    CBitmap bitmap;
    CDC memDC;
    if (!bitmap.CreateBitmap(pixels.nWidth, pixels.nHeight, 1, 32, pixels.bgrx.data()) ||
        !memDC.CreateCompatibleDC(pDC)) {
        DrawFramedBox(pDC, rect, pItem->GetUserTypeName());
        return FALSE;
    }
    CBitmap* pOld = memDC.SelectObject(&bitmap);
    const int nOldMode = pDC->SetStretchBltMode(COLORONCOLOR);
    // The rectangle's own corners: in a y-up mapping its height is negative, which keeps
    // the picture upright.
    pDC->StretchBlt(rect.left, rect.top, rect.Width(), rect.Height(), &memDC, 0, 0, pixels.nWidth,
                    pixels.nHeight, SRCCOPY);
    pDC->SetStretchBltMode(nOldMode);
    memDC.SelectObject(pOld);
    return TRUE;
}

void CDrawOleObj::DrawEM(CDC* pDC, const CEstimateFieldData* pData)
{
    if (m_pClientItem && pData)
        m_pClientItem->PrintDraw(pDC, m_position);
}

void CDrawOleObj::DrawPM(CDC* pDC, const CPartsFieldData* pData)
{
    if (m_pClientItem && pData)
        m_pClientItem->PrintDraw(pDC, m_position);
}

void CDrawOleObj::DrawItemIn(CDC* pDC, const CRect& rect)
{
    if (m_pClientItem == nullptr || pDC == nullptr)
        return;
    DrawItemPicture(pDC, m_pClientItem, rect);
    if (pDC->IsPrinting())
        return;
    // While the item is open in its server's window or shows its server's menus in place,
    // its picture here is hatched over: the user works on it elsewhere.
    const COleClientItem::ItemState nState = m_pClientItem->GetItemState();
    if (nState == COleClientItem::openState || nState == COleClientItem::activeUIState) {
        CBrush hatch(HS_DIAGCROSS, RGB(0, 0, 0));
        CGdiObject* pOldPen = pDC->SelectStockObject(NULL_PEN);
        CBrush* pOldBrush = pDC->SelectObject(&hatch);
        const int nOldMode = pDC->SetBkMode(TRANSPARENT);
        pDC->Rectangle(&rect);
        pDC->SetBkMode(nOldMode);
        if (pOldPen)
            pDC->SelectObject(pOldPen);
        pDC->SelectObject(pOldBrush);
    }
    if (!CDrawingShared::s_bShowObjectFrames)
        return;
    CPen pen(m_pClientItem->IsLinked() ? PS_DOT : PS_SOLID, 0, RGB(0, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&pen);
    CGdiObject* pOldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    pDC->Rectangle(&rect);
    pDC->SelectObject(pOldPen);
    if (pOldBrush)
        pDC->SelectObject(pOldBrush);
}

BOOL CDrawItem::PrintDraw(CDC* pDC, const CRect& rect)
{
    auto* pDoc = dynamic_cast<CDrawingDoc*>(GetDocument());
    if (pDC == nullptr || !pDC->IsPrinting() || GetStorage() == nullptr || pDoc == nullptr)
        return FALSE;
    pDoc->RefreshTargetDevice();
    return DrawItemPicture(pDC, this, rect);
}

CDrawOleObj* InsertPictureObject(CDrawingDoc* pDoc, const CPoint& topLeft, const CString& strPath)
{
    if (pDoc == nullptr)
        return nullptr;
    std::vector<BYTE> file;
    {
        CFile f;
        if (!f.Open(strPath, CFile::modeRead | CFile::shareDenyNone))
            return nullptr;
        const DWORD nLength = f.GetLength();
        if (nLength > MAX_PICTURE_FILE)
            return nullptr;
        file.resize(nLength);
        if (nLength > 0 && f.Read(file.data(), nLength) != nLength)
            return nullptr;
    }
    std::vector<BYTE> dib;
    if (!DibFromBmpFile(file, dib))
        return nullptr;
    const SIZE extent = DibExtentHimetric(dib.data(), dib.size());
    if (extent.cx <= 0 || extent.cy <= 0)
        return nullptr;
    auto* pObj = new CDrawOleObj(CRect(topLeft, topLeft));
    auto* pItem = new CDrawItem(pDoc, pObj);
    if (!pItem->CreateFromStorage(MakePictureItemStorage(dib, extent))) {
        delete pItem;
        delete pObj;
        return nullptr;
    }
    pObj->m_pClientItem = pItem;
    pDoc->Add(pObj);
    // The item's first position request, as its server makes it when the new item shows,
    // sizes the empty rectangle from the item's extent.
    CRect rectItem;
    pItem->OnGetItemPosition(rectItem);
    return pObj;
}
