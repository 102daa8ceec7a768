#include "layout/drawing/CLineStyleComboBox.h"

#include "layout/drawing/CShadingDialog.h"
#include "layout/drawing/LineStyles.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kMixedGrey = RGB(0x7D, 0x7D, 0x7D);

int FindItemData(const CComboBox& box, int nValue)
{
    for (int i = 0; i < box.GetCount(); ++i)
        if (static_cast<int>(static_cast<INT_PTR>(box.GetItemData(i))) == nValue)
            return i;
    return -1;
}

} // namespace

void InvertOwnerDrawnSelection(const DRAWITEMSTRUCT& item)
{
    const bool bWhole = (item.itemAction & ODA_DRAWENTIRE) != 0;
    const bool bSelectionChanged = (item.itemAction & ODA_SELECT) != 0;
    const bool bSelected = (item.itemState & ODS_SELECTED) != 0;
    // Drawn whole, the entry is in its plain look: only a selected one is inverted. When
    // only the selection changed, the entry is inverted either way: into its selected look
    // or back out of it.
    if ((bWhole && bSelected) || (!bWhole && bSelectionChanged)) {
        if (CDC* pDC = CDC::FromHandle(item.hDC)) {
            const CRect rc(item.rcItem);
            pDC->PatBlt(rc.left, rc.top, rc.Width(), rc.Height(), DSTINVERT);
        }
    }
}

// ---------------------------------------------------------------------------------------
// Line styles
// ---------------------------------------------------------------------------------------
void CLineStyleComboBox::AddItem(int nStyle)
{
    const int n = AddString("");
    SetItemData(n, static_cast<UINT_PTR>(static_cast<INT_PTR>(nStyle)));
}

int CLineStyleComboBox::FindItem(int nStyle) const
{
    return FindItemData(*this, nStyle);
}

void CLineStyleComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    lpMeasureItemStruct->itemHeight = ITEM_HEIGHT;
}

void CLineStyleComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (pDC == nullptr || static_cast<int>(lpDrawItemStruct->itemID) < 0)
        return;
    const CRect rc(lpDrawItemStruct->rcItem);
    const int nStyle = static_cast<int>(static_cast<INT_PTR>(lpDrawItemStruct->itemData));
    if (lpDrawItemStruct->itemAction & ODA_DRAWENTIRE) {
        pDC->FillSolidRect(&rc, RGB(255, 255, 255));
        const int y0 = (rc.top + rc.bottom) / 2;
        const int x0 = rc.left + 10;
        const int x1 = rc.right - 10;
        if (nStyle == MIXED) {
            pDC->FillSolidRect(&rc, kMixedGrey);
        } else if (nStyle == 0) {
            CRect rcText(x0, rc.top, x1, rc.bottom);
            CFont* pFont = GetSafeHwnd() != nullptr ? GetFont() : nullptr;
            CFont* pOldFont = pFont != nullptr ? pDC->SelectObject(pFont) : nullptr;
            pDC->SetBkMode(TRANSPARENT);
            pDC->SetTextColor(kBlack);
            pDC->DrawText("(なし)"_sj, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            if (pOldFont != nullptr)
                pDC->SelectObject(pOldFont);
        } else if (nStyle == 10) {
            for (int x = x0; x < x1; x += 2)
                pDC->SetPixel(x, y0, kBlack);
        } else if (nStyle == 11) {
            CPen pen(PS_DOT, 1, kBlack);
            CPen* pOldPen = pDC->SelectObject(&pen);
            const int nOldMode = pDC->SetBkMode(TRANSPARENT);
            pDC->MoveTo(x0, y0);
            pDC->LineTo(x1, y0);
            pDC->SetBkMode(nOldMode);
            pDC->SelectObject(pOldPen);
        } else {
            const CLineBars bars = LineStyleBars(nStyle);
            for (int i = 0; i < bars.nCount; ++i)
                pDC->FillSolidRect(x0, y0 + bars.nFrom[i], x1 - x0, bars.nTo[i] - bars.nFrom[i] + 1, kBlack);
        }
    }
    InvertOwnerDrawnSelection(*lpDrawItemStruct);
}

// ---------------------------------------------------------------------------------------
// Fill patterns
// ---------------------------------------------------------------------------------------
void CPatternComboBox::AddItem(int nPattern)
{
    const int n = AddString(GetFillPatternLabel(nPattern));
    SetItemData(n, static_cast<UINT_PTR>(static_cast<INT_PTR>(nPattern)));
}

int CPatternComboBox::FindItem(int nPattern) const
{
    return FindItemData(*this, nPattern);
}

void CPatternComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    lpMeasureItemStruct->itemHeight = ITEM_HEIGHT;
}

void CPatternComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (pDC == nullptr || static_cast<int>(lpDrawItemStruct->itemID) < 0)
        return;
    const CRect rc(lpDrawItemStruct->rcItem);
    const int nPattern = static_cast<int>(static_cast<INT_PTR>(lpDrawItemStruct->itemData));
    if (lpDrawItemStruct->itemAction & ODA_DRAWENTIRE) {
        pDC->FillSolidRect(&rc, RGB(255, 255, 255));
        if (nPattern == MIXED) {
            pDC->FillSolidRect(&rc, kMixedGrey);
        } else {
            // The sample is the pattern as it paints and prints, framed in black.
            const CRect box(rc.left + 5, rc.top, rc.left + 20, rc.bottom);
            FillShading(pDC, box, nPattern, m_clrFore, m_clrBack);
            CPen pen(PS_SOLID, 1, kBlack);
            CPen* pOldPen = pDC->SelectObject(&pen);
            CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
            pDC->Rectangle(&box);
            pDC->SelectObject(pOldBrush);
            pDC->SelectObject(pOldPen);
            CRect rcText(rc.left + 30, rc.top, rc.right - 10, rc.bottom);
            CFont* pFont = GetSafeHwnd() != nullptr ? GetFont() : nullptr;
            CFont* pOldFont = pFont != nullptr ? pDC->SelectObject(pFont) : nullptr;
            pDC->SetBkMode(TRANSPARENT);
            pDC->SetTextColor(kBlack);
            pDC->DrawText(GetFillPatternLabel(nPattern), &rcText,
                          DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            if (pOldFont != nullptr)
                pDC->SelectObject(pOldFont);
        }
    }
    InvertOwnerDrawnSelection(*lpDrawItemStruct);
}
