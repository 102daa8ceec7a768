#include "layout/printform/CTableRuledLineDialog.h"

#include "layout/printform/CEditorDialogs.h"
#include "platform/ui/dialogs/CColorDialog.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/dialogs/DialogTemplate.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

IMPLEMENT_DYNAMIC(CTableRuledLineDialog, CDialog)
IMPLEMENT_DYNAMIC(CGridWidthDialog, CDialog)
IMPLEMENT_DYNAMIC(CLineSpacingDialog, CDialog)

namespace {

// Control ids of "罫線" for tables.
enum : UINT {
    IDC_OUTER_STYLE = 1150,
    IDC_OUTER_COLOUR = 1182,
    IDC_TOP_STYLE = 1143,
    IDC_TOP_COLOUR = 1145,
    IDC_BOTTOM_STYLE = 1144,
    IDC_BOTTOM_COLOUR = 1146,
    IDC_LEFT_STYLE = 1141,
    IDC_LEFT_COLOUR = 1148,
    IDC_RIGHT_STYLE = 1142,
    IDC_RIGHT_COLOUR = 1149,
    IDC_INNER_V_STYLE = 1152,
    IDC_INNER_V_COLOUR = 1154,
    IDC_INNER_H_STYLE = 1151,
    IDC_INNER_H_COLOUR = 1147,
    IDC_PATTERN_PICTURE_FIRST = 1200, // the seven pattern pictures, then the table picture
    IDC_TABLE_PICTURE = 1207,
    IDC_VALUE_EDIT = 1031,
    IDC_VALUE_SPIN = 108
};

constexpr DWORD kStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// Which lines a pattern sets: the outer frame, the inner verticals, the inner horizontals.
struct CPatternLines {
    bool bOuter, bInnerV, bInnerH;
};
constexpr CPatternLines kPatternLines[8] = {
    {true, true, true}, // 0: the table picture
    {true, true, true},  {true, false, true},  {true, true, false},  {true, false, false},
    {false, true, true}, {false, false, true}, {false, true, false},
};

DialogControl Combo(UINT nID, int x, int y, int cx)
{
    return DialogControl(DlgComboBox, nID, CString(), x, y, cx, 140,
                         CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | WS_VSCROLL | WS_TABSTOP);
}

DialogControl Colour(UINT nID, int x, int y)
{
    return DialogControl(DlgPushButton, nID, CString(), x, y, 16, 12, BS_OWNERDRAW | WS_TABSTOP);
}

DialogControl Picture(UINT nID, int x, int y, int cx, int cy)
{
    return DialogControl(DlgStatic, nID, CString(), x, y, cx, cy, SS_OWNERDRAW);
}

DialogControl Button(UINT nID, const CString& text, int x, int y, DWORD style = 0)
{
    return DialogControl(DlgPushButton, nID, text, x, y, 50, 14, style | WS_TABSTOP);
}

DialogTemplate SpinTemplate(UINT nID, const CString& caption, const CString& label)
{
    return DialogTemplate(nID, caption, 150, 46, kStyle,
                          {
                              DialogControl(DlgStatic, 0xFFFF, label, 8, 12, 36, 8),
                              DialogControl(DlgEdit, IDC_VALUE_EDIT, CString(), 46, 10, 34, 12,
                                            ES_AUTOHSCROLL | ES_NUMBER | WS_BORDER | WS_TABSTOP),
                              DialogControl(DlgUpDown, IDC_VALUE_SPIN, CString(), 80, 10, 10, 12,
                                            UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS),
                              Button(IDOK, "OK", 96, 8, BS_DEFPUSHBUTTON),
                              Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 96, 26),
                          },
                          "ＭＳ Ｐゴシック"_sj, 9);
}

} // namespace

// ---- The pattern pictures -----------------------------------------------------------------

void CRuledPatternPicture::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (pDC == nullptr)
        return;
    CRect rc(lpDrawItemStruct->rcItem);
    pDC->FillSolidRect(&rc, RGB(255, 255, 255));
    rc.DeflateRect(3, 3);
    const CPatternLines lines = kPatternLines[m_nPattern >= 0 && m_nPattern <= 7 ? m_nPattern : 0];
    const int cx = (rc.left + rc.right) / 2;
    const int cy = (rc.top + rc.bottom) / 2;
    auto line = [&](int x1, int y1, int x2, int y2, bool bSet) {
        // Lines the pattern sets are black and strong, the others faint.
        pDC->FillSolidRect(
            std::min(x1, x2), std::min(y1, y2), std::max(1, std::abs(x2 - x1) + (bSet ? 1 : 0)),
            std::max(1, std::abs(y2 - y1) + (bSet ? 1 : 0)), bSet ? RGB(0, 0, 0) : RGB(200, 200, 200));
    };
    line(rc.left, rc.top, rc.right, rc.top, lines.bOuter);
    line(rc.left, rc.bottom, rc.right, rc.bottom, lines.bOuter);
    line(rc.left, rc.top, rc.left, rc.bottom, lines.bOuter);
    line(rc.right, rc.top, rc.right, rc.bottom, lines.bOuter);
    line(cx, rc.top, cx, rc.bottom, lines.bInnerV);
    line(rc.left, cy, rc.right, cy, lines.bInnerH);
}

// ---- Ruled lines of tables ----------------------------------------------------------------

const UINT CTableRuledLineDialog::s_patternButtons[PATTERN_COUNT] = {1071, 1073, 1077, 1082,
                                                                     1087, 1064, 1047};

BEGIN_MESSAGE_MAP(CTableRuledLineDialog, CDialog)
ON_CONTROL_RANGE(BN_CLICKED, 1047, 1087, OnPattern)
ON_CBN_SELCHANGE(IDC_OUTER_STYLE, OnOuterStyle)
ON_BN_CLICKED(IDC_OUTER_COLOUR, OnOuterColour)
ON_BN_CLICKED(IDC_INNER_V_COLOUR, OnInnerVColour)
ON_BN_CLICKED(IDC_INNER_H_COLOUR, OnInnerHColour)
ON_BN_CLICKED(IDC_LEFT_COLOUR, OnLeftColour)
ON_BN_CLICKED(IDC_RIGHT_COLOUR, OnRightColour)
ON_BN_CLICKED(IDC_TOP_COLOUR, OnTopColour)
ON_BN_CLICKED(IDC_BOTTOM_COLOUR, OnBottomColour)
END_MESSAGE_MAP()

CTableRuledLineDialog::CTableRuledLineDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

void CTableRuledLineDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OUTER_STYLE, m_outer);
    DDX_Control(pDX, IDC_TOP_STYLE, m_top);
    DDX_Control(pDX, IDC_BOTTOM_STYLE, m_bottom);
    DDX_Control(pDX, IDC_LEFT_STYLE, m_left);
    DDX_Control(pDX, IDC_RIGHT_STYLE, m_right);
    DDX_Control(pDX, IDC_INNER_V_STYLE, m_innerV);
    DDX_Control(pDX, IDC_INNER_H_STYLE, m_innerH);
    DDX_Control(pDX, IDC_OUTER_COLOUR, m_outerColour);
    DDX_Control(pDX, IDC_TOP_COLOUR, m_topColour);
    DDX_Control(pDX, IDC_BOTTOM_COLOUR, m_bottomColour);
    DDX_Control(pDX, IDC_LEFT_COLOUR, m_leftColour);
    DDX_Control(pDX, IDC_RIGHT_COLOUR, m_rightColour);
    DDX_Control(pDX, IDC_INNER_V_COLOUR, m_innerVColour);
    DDX_Control(pDX, IDC_INNER_H_COLOUR, m_innerHColour);
    for (int i = 0; i < PATTERN_COUNT; ++i)
        DDX_Control(pDX, static_cast<int>(IDC_PATTERN_PICTURE_FIRST) + i, m_pictures[i]);
    DDX_Control(pDX, IDC_TABLE_PICTURE, m_tablePicture);
}

BOOL CTableRuledLineDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < PATTERN_COUNT; ++i)
        m_pictures[i].m_nPattern = i + 1;
    m_tablePicture.m_nPattern = 0;
    for (CLineStyleComboBox* pCombo :
         {&m_outer, &m_top, &m_bottom, &m_left, &m_right, &m_innerV, &m_innerH}) {
        pCombo->SetItemHeight(-1, 15);
        for (int nStyle = -1; nStyle <= 11; ++nStyle)
            pCombo->AddItem(nStyle);
        pCombo->SetCurSel(0);
    }
    m_innerVColour.SetColour(m_clrInnerV);
    m_innerHColour.SetColour(m_clrInnerH);
    m_leftColour.SetColour(m_clrLeft);
    m_rightColour.SetColour(m_clrRight);
    m_topColour.SetColour(m_clrTop);
    m_bottomColour.SetColour(m_clrBottom);
    m_outerColour.SetColour(RGB(0, 0, 0));
    SelectPattern(1);
    return TRUE;
}

void CTableRuledLineDialog::SelectPattern(int nPattern)
{
    if (nPattern < 1 || nPattern > PATTERN_COUNT)
        return;
    m_nPattern = nPattern;
    for (int i = 0; i < PATTERN_COUNT; ++i)
        CheckDlgButton(static_cast<int>(s_patternButtons[i]),
                       i + 1 == nPattern ? BST_CHECKED : BST_UNCHECKED);
    const CPatternLines lines = kPatternLines[nPattern];
    auto enable = [this](UINT nID, bool b) {
        if (CWnd* pWnd = GetDlgItem(static_cast<int>(nID)))
            pWnd->EnableWindow(b);
    };
    for (UINT nID : {IDC_OUTER_STYLE, IDC_OUTER_COLOUR, IDC_TOP_STYLE, IDC_TOP_COLOUR, IDC_BOTTOM_STYLE,
                     IDC_BOTTOM_COLOUR, IDC_LEFT_STYLE, IDC_LEFT_COLOUR, IDC_RIGHT_STYLE, IDC_RIGHT_COLOUR})
        enable(nID, lines.bOuter);
    enable(IDC_INNER_V_STYLE, lines.bInnerV);
    enable(IDC_INNER_V_COLOUR, lines.bInnerV);
    enable(IDC_INNER_H_STYLE, lines.bInnerH);
    enable(IDC_INNER_H_COLOUR, lines.bInnerH);
}

void CTableRuledLineDialog::OnPattern(UINT nID)
{
    for (int i = 0; i < PATTERN_COUNT; ++i)
        if (s_patternButtons[i] == nID)
            SelectPattern(i + 1);
}

void CTableRuledLineDialog::OnOuterStyle()
{
    const int n = m_outer.GetCurSel();
    for (CLineStyleComboBox* pCombo : {&m_left, &m_right, &m_top, &m_bottom})
        pCombo->SetCurSel(n);
}

void CTableRuledLineDialog::OnOuterColour()
{
    CColorDialog dlg(m_outerColour.GetColour(), CC_FULLOPEN, this);
    if (dlg.DoModal() == IDOK) {
        const COLORREF clr = dlg.GetColor();
        m_outerColour.SetColour(clr);
        m_clrLeft = m_clrRight = m_clrTop = m_clrBottom = clr;
        for (CColourButton* pButton : {&m_leftColour, &m_rightColour, &m_topColour, &m_bottomColour}) {
            pButton->SetColour(clr);
            pButton->Invalidate();
        }
    }
    m_outerColour.Invalidate();
}

void CTableRuledLineDialog::PickColour(CColourButton& button, COLORREF& field)
{
    CColorDialog dlg(button.GetColour(), CC_FULLOPEN, this);
    if (dlg.DoModal() != IDOK)
        return;
    field = dlg.GetColor();
    button.SetColour(field);
    button.Invalidate();
}

void CTableRuledLineDialog::OnInnerVColour()
{
    PickColour(m_innerVColour, m_clrInnerV);
}
void CTableRuledLineDialog::OnInnerHColour()
{
    PickColour(m_innerHColour, m_clrInnerH);
}
void CTableRuledLineDialog::OnLeftColour()
{
    PickColour(m_leftColour, m_clrLeft);
}
void CTableRuledLineDialog::OnRightColour()
{
    PickColour(m_rightColour, m_clrRight);
}
void CTableRuledLineDialog::OnTopColour()
{
    PickColour(m_topColour, m_clrTop);
}
void CTableRuledLineDialog::OnBottomColour()
{
    PickColour(m_bottomColour, m_clrBottom);
}

void CTableRuledLineDialog::OnOK()
{
    // The list holds -1 to 11 in order: the index less one is the style.
    m_nInnerV = m_innerV.GetCurSel() - 1;
    m_nInnerH = m_innerH.GetCurSel() - 1;
    m_nLeft = m_left.GetCurSel() - 1;
    m_nRight = m_right.GetCurSel() - 1;
    m_nTop = m_top.GetCurSel() - 1;
    m_nBottom = m_bottom.GetCurSel() - 1;
    EndDialog(IDOK);
}

// ---- The spin dialogs -------------------------------------------------

CGridWidthDialog::CGridWidthDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CGridWidthDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetUpSpin(*this, IDC_VALUE_SPIN, 5, 50, static_cast<int>(m_nWidth));
    return TRUE;
}

void CGridWidthDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, static_cast<int>(IDC_VALUE_EDIT), m_nWidth);
    DDV_MinMaxUInt(pDX, m_nWidth, 5, 50);
}

CLineSpacingDialog::CLineSpacingDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CLineSpacingDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetUpSpin(*this, IDC_VALUE_SPIN, 0, 100, static_cast<int>(m_nSpacing));
    return TRUE;
}

void CLineSpacingDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, static_cast<int>(IDC_VALUE_EDIT), m_nSpacing);
    DDV_MinMaxUInt(pDX, m_nSpacing, 0, 100);
}

void RegisterTableDialogTemplates()
{
    RegisterDialogTemplate(CGridWidthDialog::IDD,
                           [] { return SpinTemplate(CGridWidthDialog::IDD, "ｸﾞﾘｯﾄﾞ"_sj, "幅(&W)"_sj); });
    RegisterDialogTemplate(CLineSpacingDialog::IDD, [] {
        return SpinTemplate(CLineSpacingDialog::IDD, "要素行間指定"_sj, "行間(&I)"_sj);
    });
    RegisterDialogTemplate(CTableRuledLineDialog::IDD, [] {
        std::vector<DialogControl> c = {
            DialogControl(DlgGroupBox, 0xFFFF, "ﾊﾟﾀｰﾝ選択"_sj, 7, 4, 110, 166),
        };
        for (int i = 0; i < CTableRuledLineDialog::PATTERN_COUNT; ++i) {
            CString label;
            label.Format("(&%d)", i + 1);
            c.push_back(DialogControl(DlgRadioButton, CTableRuledLineDialog::s_patternButtons[i], label, 14,
                                      18 + 21 * i, 30, 10, i == 0 ? WS_GROUP | WS_TABSTOP : 0));
            c.push_back(Picture(IDC_PATTERN_PICTURE_FIRST + static_cast<UINT>(i), 50, 14 + 21 * i, 40, 18));
        }
        const std::vector<DialogControl> rest = {
            DialogControl(DlgGroupBox, 0xFFFF, "各線設定"_sj, 124, 4, 180, 30),
            DialogControl(DlgStatic, 0xFFFF, "外    枠"_sj, 130, 17, 30, 8),
            Combo(IDC_OUTER_STYLE, 162, 15, 70),
            Colour(IDC_OUTER_COLOUR, 238, 15),
            DialogControl(DlgGroupBox, 0xFFFF, CString(), 124, 38, 180, 132),
            Combo(IDC_TOP_STYLE, 180, 46, 50),
            Colour(IDC_TOP_COLOUR, 234, 46),
            Combo(IDC_INNER_V_STYLE, 180, 62, 50),
            Colour(IDC_INNER_V_COLOUR, 234, 62),
            Picture(IDC_TABLE_PICTURE, 186, 80, 56, 38),
            Combo(IDC_LEFT_STYLE, 130, 86, 50),
            Colour(IDC_LEFT_COLOUR, 130, 100),
            Combo(IDC_RIGHT_STYLE, 248, 86, 50),
            Colour(IDC_RIGHT_COLOUR, 248, 100),
            Combo(IDC_INNER_H_STYLE, 180, 124, 50),
            Colour(IDC_INNER_H_COLOUR, 234, 124),
            Combo(IDC_BOTTOM_STYLE, 180, 150, 50),
            Colour(IDC_BOTTOM_COLOUR, 234, 150),
            Button(IDOK, "OK", 198, 176, BS_DEFPUSHBUTTON),
            Button(IDCANCEL, "ｷｬﾝｾﾙ"_sj, 254, 176),
        };
        c.insert(c.end(), rest.begin(), rest.end());
        return DialogTemplate(CTableRuledLineDialog::IDD, "罫線"_sj, 310, 196, kStyle, c,
                              "ＭＳ Ｐゴシック"_sj, 9);
    });
}
