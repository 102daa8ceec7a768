#include "printform/CRuledLineDialog.h"

#include "platform/ui/dialogs/CColorDialog.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/gdi/CDC.h"
#include "resources/SetupIds.h"

IMPLEMENT_DYNAMIC(CRuledLineDialog, CDialog)

BEGIN_MESSAGE_MAP(CRuledLineDialog, CDialog)
ON_BN_CLICKED(IDC_LINE_COLOUR, OnColour)
END_MESSAGE_MAP()

namespace {

// The bars of the solid and double styles, as rows relative to the item's middle line.
struct CBar {
    int from;
    int to;
};
const std::vector<CBar>& BarsOf(int nStyle)
{
    static const std::vector<CBar> kBars[10] = {
        {},        {{0, 0}},  {{-1, 0}},          {{-1, 1}},          {{-2, 1}},
        {{-3, 2}}, {{-4, 3}}, {{-1, -1}, {1, 1}}, {{-3, -2}, {1, 2}}, {{-4, -2}, {2, 4}},
    };
    static const std::vector<CBar> kNone;
    return nStyle >= 0 && nStyle <= 9 ? kBars[nStyle] : kNone;
}

} // namespace

void CRuledLineStyleCombo::AddItem(int nStyle)
{
    const int n = AddString("");
    SetItemData(n, static_cast<UINT_PTR>(static_cast<INT_PTR>(nStyle)));
}

void CRuledLineStyleCombo::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    lpMeasureItemStruct->itemHeight = 15;
}

void CRuledLineStyleCombo::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!pDC || static_cast<int>(lpDrawItemStruct->itemID) < 0)
        return;
    const CRect rc(lpDrawItemStruct->rcItem);
    const int nStyle = static_cast<int>(static_cast<INT_PTR>(lpDrawItemStruct->itemData));
    const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    const COLORREF clrBack = bSelected ? RGB(0, 0, 0x80) : RGB(255, 255, 255);
    const COLORREF clrInk = bSelected ? RGB(255, 255, 255) : RGB(0, 0, 0);
    pDC->FillSolidRect(&rc, clrBack);
    if (nStyle == -1) {
        pDC->FillSolidRect(&rc, RGB(0x7D, 0x7D, 0x7D));
        return;
    }
    const int y0 = (rc.top + rc.bottom) / 2;
    const int x0 = rc.left + 10;
    const int x1 = rc.right - 10;
    if (nStyle == 0) {
        CRect rcText(x0, rc.top, x1, rc.bottom);
        CFont* pOldFont = pDC->SelectObject(GetFont());
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(clrInk);
        pDC->DrawText("(なし)"_sj, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (pOldFont)
            pDC->SelectObject(pOldFont);
    } else if (nStyle == 10) {
        for (int x = x0; x < x1; x += 2)
            pDC->FillSolidRect(x, y0, 1, 1, clrInk);
    } else if (nStyle == 11) {
        for (int x = x0; x < x1; x += 4)
            pDC->FillSolidRect(x, y0, 2, 1, clrInk);
    } else {
        for (const CBar& bar : BarsOf(nStyle))
            pDC->FillSolidRect(x0, y0 + bar.from, x1 - x0, bar.to - bar.from + 1, clrInk);
    }
}

CRuledLineDialog::CRuledLineDialog(CWnd* pParent) : CDialog(IDD_RULED_LINE, pParent) {}

void CRuledLineDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_LINE_STYLE, m_combo);
    DDX_Control(pDX, IDC_LINE_COLOUR, m_colourButton);
}

BOOL CRuledLineDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_combo.SetItemHeight(-1, 15);
    for (int nStyle = 0; nStyle <= 11; ++nStyle)
        m_combo.AddItem(nStyle);
    m_combo.SetCurSel(m_nLineStyle);
    m_colourButton.SetColour(m_clrLine);
    return TRUE;
}

void CRuledLineDialog::OnColour()
{
    CColorDialog dlg(m_clrLine, CC_FULLOPEN, this);
    if (dlg.DoModal() != IDOK)
        return;
    m_clrLine = dlg.GetColor();
    m_colourButton.SetColour(m_clrLine);
    m_colourButton.Invalidate();
}

void CRuledLineDialog::OnOK()
{
    // The entry's index is the style (the list holds 0 to 11 in order).
    const int n = m_combo.GetCurSel();
    if (n >= 0)
        m_nLineStyle = n;
    EndDialog(IDOK);
}
