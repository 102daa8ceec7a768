#include "drawing/CShadingDialog.h"

#include "platform/ui/dialogs/CColorDialog.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/SetupIds.h"

IMPLEMENT_DYNAMIC(CShadingDialog, CDialog)

BEGIN_MESSAGE_MAP(CShadingDialog, CDialog)
ON_BN_CLICKED(IDC_FILL, OnFill)
ON_BN_CLICKED(IDC_FORE_COLOUR, OnForeColour)
ON_BN_CLICKED(IDC_BACK_COLOUR, OnBackColour)
END_MESSAGE_MAP()

namespace {

const BYTE kPatterns[FILL_PATTERN_COUNT][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    {0x00, 0x40, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00}, {0x00, 0x40, 0x00, 0x04, 0x00, 0x40, 0x00, 0x04},
    {0x00, 0x04, 0x00, 0x40, 0x00, 0x04, 0x00, 0x40}, {0x11, 0x00, 0x44, 0x00, 0x11, 0x00, 0x44, 0x00},
    {0x44, 0x11, 0x44, 0x11, 0x44, 0x11, 0x44, 0x11}, {0xAA, 0x11, 0xAA, 0x44, 0xAA, 0x11, 0xAA, 0x44},
    {0xAA, 0x55, 0x88, 0x55, 0xAA, 0x55, 0x88, 0x55}, {0xAA, 0x45, 0xAA, 0x55, 0xAA, 0x54, 0xAA, 0x55},
    {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}, {0xEE, 0x55, 0xBB, 0x55, 0xEE, 0x55, 0xBB, 0x55},
    {0x55, 0xBB, 0x55, 0xEE, 0x55, 0xBB, 0x55, 0xEE}, {0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD},
    {0xFF, 0x77, 0xFF, 0xDD, 0xFF, 0x77, 0xFF, 0xDD}, {0xFE, 0xFF, 0xEF, 0xFF, 0xFE, 0xFF, 0xEF, 0xFF},
    {0xFF, 0x7F, 0xFF, 0xDF, 0xFF, 0xF7, 0xFF, 0xFD}, {0xFF, 0xFF, 0xF7, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF},
    {0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00}, {0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99},
    {0x99, 0xCC, 0x66, 0x33, 0x99, 0xCC, 0x66, 0x33}, {0x66, 0xCC, 0x99, 0x33, 0x66, 0xCC, 0x99, 0x33},
    {0x66, 0x99, 0x99, 0x66, 0x66, 0x99, 0x99, 0x66}, {0xFF, 0x33, 0xFF, 0xCC, 0xFF, 0x33, 0xFF, 0xCC},
    {0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00}, {0x44, 0x44, 0x44, 0x44, 0x44, 0x44, 0x44, 0x44},
    {0x22, 0x11, 0x88, 0x44, 0x22, 0x11, 0x88, 0x44}, {0x44, 0x88, 0x11, 0x22, 0x44, 0x88, 0x11, 0x22},
    {0x44, 0xFF, 0x44, 0x44, 0x44, 0xFF, 0x44, 0x44}, {0x55, 0x88, 0x55, 0x22, 0x55, 0x88, 0x55, 0x22},
};

const char* const kLabels[FILL_PATTERN_COUNT] = {
    "(なし)",  "(100%)", "(5%)",       "(10%)",      "(12.5%)",    "(20%)",      "(25%)",  "(30%)",
    "(37.5%)", "(40%)",  "(50%)",      "(60%)",      "(62.5%)",    "(70%)",      "(75%)",  "(80%)",
    "(87.5%)", "(90%)",  "濃横縞",     "濃縦縞",     "濃右下斜線", "濃右上斜線", "濃格子", "濃斜格子",
    "薄横縞",  "薄縦縞", "薄右下斜線", "薄右上斜線", "薄格子",     "薄斜格子",
};

} // namespace

const BYTE* GetFillPatternRows(int nPattern)
{
    return nPattern >= 0 && nPattern < FILL_PATTERN_COUNT ? kPatterns[nPattern] : nullptr;
}

CString GetFillPatternLabel(int nPattern)
{
    return nPattern >= 0 && nPattern < FILL_PATTERN_COUNT ? CString::FromUtf8(kLabels[nPattern]) : CString();
}

void CShadingPatternCombo::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    lpMeasureItemStruct->itemHeight = 15;
}

void CShadingPatternCombo::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!pDC)
        return;
    const CRect rc(lpDrawItemStruct->rcItem);
    const int nPattern = static_cast<int>(lpDrawItemStruct->itemData);
    const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    pDC->FillSolidRect(&rc, bSelected ? RGB(0, 0, 0x80) : RGB(255, 255, 255));
    if (static_cast<int>(lpDrawItemStruct->itemID) < 0)
        return;
    if (nPattern == -1) {
        pDC->FillSolidRect(&rc, RGB(0x7D, 0x7D, 0x7D));
        return;
    }
    // The sample: the pattern's pixels, framed in black.
    const BYTE* rows = GetFillPatternRows(nPattern);
    const CRect box(rc.left + 5, rc.top + 1, rc.left + 20, rc.bottom - 1);
    if (rows) {
        for (int y = box.top + 1; y < box.bottom - 1; ++y) {
            const BYTE bits = rows[(y - box.top) % 8];
            for (int x = box.left + 1; x < box.right - 1; ++x) {
                const bool bSet = (bits & (0x80 >> ((x - box.left) % 8))) != 0;
                pDC->FillSolidRect(x, y, 1, 1, bSet ? m_clrFore : m_clrBack);
            }
        }
    }
    pDC->FillSolidRect(box.left, box.top, box.Width(), 1, RGB(0, 0, 0));
    pDC->FillSolidRect(box.left, box.bottom - 1, box.Width(), 1, RGB(0, 0, 0));
    pDC->FillSolidRect(box.left, box.top, 1, box.Height(), RGB(0, 0, 0));
    pDC->FillSolidRect(box.right - 1, box.top, 1, box.Height(), RGB(0, 0, 0));
    CRect rcText(rc.left + 30, rc.top, rc.right - 10, rc.bottom);
    CFont* pOldFont = pDC->SelectObject(GetFont());
    pDC->SetTextColor(bSelected ? RGB(255, 255, 255) : RGB(0, 0, 0));
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(GetFillPatternLabel(nPattern), &rcText, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (pOldFont)
        pDC->SelectObject(pOldFont);
}

CShadingDialog::CShadingDialog(CWnd* pParent) : CDialog(IDD_SHADING, pParent) {}

void CShadingDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PATTERN, m_combo);
    DDX_Control(pDX, IDC_FORE_COLOUR, m_foreButton);
    DDX_Control(pDX, IDC_BACK_COLOUR, m_backButton);
}

BOOL CShadingDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_combo.SetItemHeight(-1, 15);
    m_backButton.SetColour(m_backColor);
    m_combo.m_clrBack = m_backColor;
    m_foreButton.SetColour(m_foreColor);
    m_combo.m_clrFore = m_foreColor;
    for (int i = 0; i < FILL_PATTERN_COUNT; ++i) {
        const int n = m_combo.AddString(GetFillPatternLabel(i));
        m_combo.SetItemData(n, static_cast<UINT_PTR>(i));
    }
    m_combo.SetCurSel(m_nPattern);
    CheckDlgButton(IDC_FILL, m_bFill ? BST_CHECKED : BST_UNCHECKED);
    EnableShadingControls();
    return TRUE;
}

void CShadingDialog::EnableShadingControls()
{
    for (int nID : {IDC_PATTERN, IDC_FORE_COLOUR, IDC_BACK_COLOUR, IDC_FORE_LABEL, IDC_BACK_LABEL,
                    IDC_PATTERN_GROUP, IDC_COLOUR_GROUP}) {
        if (CWnd* p = GetDlgItem(nID))
            p->EnableWindow(m_bFill);
    }
}

void CShadingDialog::OnFill()
{
    m_bFill = !m_bFill;
    CheckDlgButton(IDC_FILL, m_bFill ? BST_CHECKED : BST_UNCHECKED);
    EnableShadingControls();
}

void CShadingDialog::OnForeColour()
{
    CColorDialog dlg(m_foreColor, CC_FULLOPEN, this);
    if (dlg.DoModal() != IDOK)
        return;
    m_foreColor = dlg.GetColor();
    m_foreButton.SetColour(m_foreColor);
    m_foreButton.Invalidate();
    m_combo.m_clrFore = m_foreColor;
    m_combo.Invalidate();
}

void CShadingDialog::OnBackColour()
{
    CColorDialog dlg(m_backColor, CC_FULLOPEN, this);
    if (dlg.DoModal() != IDOK)
        return;
    m_backColor = dlg.GetColor();
    m_backButton.SetColour(m_backColor);
    m_backButton.Invalidate();
    m_combo.m_clrBack = m_backColor;
    m_combo.Invalidate();
}

void CShadingDialog::OnOK()
{
    const int n = m_combo.GetCurSel();
    if (n >= 0)
        m_nPattern = n;
    EndDialog(IDOK);
}
