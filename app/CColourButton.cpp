#include "app/CColourButton.h"

#include "platform/ui/gdi/CDC.h"

IMPLEMENT_DYNAMIC(CColourButton, CButton)

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

COLORREF Inverse(COLORREF cr)
{
    return RGB(255 - GetRValue(cr), 255 - GetGValue(cr), 255 - GetBValue(cr));
}

} // namespace

CColourButton::CColourButton() = default;

CColourButton::~CColourButton() = default;

BOOL CColourButton::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style = (cs.style & ~BS_TYPEMASK) | BS_OWNERDRAW;
    return CButton::PreCreateWindow(cs);
}

void CColourButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!pDC)
        return;
    // The tile leaves a margin of 2 at the top-left and 3 at the bottom-right.
    CRect rect(lpDrawItemStruct->rcItem);
    rect.left += 2;
    rect.top += 2;
    rect.right -= 3;
    rect.bottom -= 3;
    const UINT nAction = lpDrawItemStruct->itemAction;
    const BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    if (bSelected && (nAction & (ODA_DRAWENTIRE | ODA_SELECT)))
        DrawTile(pDC, rect, TRUE, Inverse(m_crColour));
    else if (nAction & (ODA_DRAWENTIRE | ODA_SELECT))
        DrawTile(pDC, rect, FALSE, m_crColour);
}

void CColourButton::DrawTile(CDC* pDC, const CRect& rect, BOOL bPressed, COLORREF clrFrame) const
{
    const COLORREF clrTopLeft = bPressed ? kBlack : kWhite;
    const COLORREF clrBottomRight = bPressed ? kWhite : kBlack;
    // Two pixels of edge, then the frame, then the colour.
    CRect rc = rect;
    pDC->Draw3dRect(&rc, clrTopLeft, clrBottomRight);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, clrTopLeft, clrBottomRight);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, clrFrame, clrFrame);
    rc.DeflateRect(1, 1);
    pDC->FillSolidRect(&rc, m_crColour);
}
