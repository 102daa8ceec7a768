#include "setup/COutputDialog.h"

#include "app/CMorvelApp.h"
#include "layout/drawing/CShadingDialog.h"
#include "layout/printform/CRuledLineDialog.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/CColorDialog.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/dialogs/CFontDialog.h"
#include "resources/SetupIds.h"

IMPLEMENT_DYNCREATE(COutputDialog, CPropertyPage)

BEGIN_MESSAGE_MAP(COutputDialog, CPropertyPage)
ON_BN_CLICKED(IDC_DATA_ALIGN, OnChanged)
ON_BN_CLICKED(IDC_DATA_FONT, OnChanged)
ON_BN_CLICKED(IDC_DATA_COLOR, OnChanged)
ON_BN_CLICKED(IDC_NO_ZERO_ROWS, OnChanged)
ON_BN_CLICKED(IDC_MINUS_BLACK, OnChanged)
ON_BN_CLICKED(IDC_MINUS_WHITE, OnChanged)
ON_BN_CLICKED(IDC_MINUS_DASH, OnChanged)
ON_BN_CLICKED(IDC_PRINT_COLOUR, OnChanged)
ON_BN_CLICKED(IDC_PRINT_MONO, OnChanged)
ON_BN_CLICKED(IDC_ZERO_DECIMALS_OFF, OnChanged)
ON_BN_CLICKED(IDC_ZERO_DECIMALS_ON, OnChanged)
ON_BN_CLICKED(IDC_PAPER_COLOUR, OnPaperColour)
ON_BN_CLICKED(IDC_PRINT_FONT, OnPrintFont)
ON_BN_CLICKED(IDC_PRINT_FONT_COLOUR, OnPrintFontColour)
ON_BN_CLICKED(IDC_BORDER, OnBorder)
ON_BN_CLICKED(IDC_SHADING, OnShading)
END_MESSAGE_MAP()

namespace {

CMorvelApp& App()
{
    return *static_cast<CMorvelApp*>(AfxGetApp());
}

} // namespace

COutputDialog::COutputDialog() : CPropertyPage(IDD_OUTPUT_PAGE)
{
    const CMorvelApp& app = App();
    m_nDataAlign = app.m_nDataAlign;
    m_nDataFont = app.m_nDataFont;
    m_nDataColor = app.m_nDataColor;
    m_nNoZeroRows = app.m_nNonPrintZeroSuryo;
    m_nMinus = app.m_nMinus;
    m_nPrintColor = app.m_nPrintColor;
    m_nZeroDecimals = app.m_nSpaceSetting;
}

void COutputDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_DATA_ALIGN, m_nDataAlign);
    DDX_Check(pDX, IDC_DATA_FONT, m_nDataFont);
    DDX_Check(pDX, IDC_DATA_COLOR, m_nDataColor);
    DDX_Check(pDX, IDC_NO_ZERO_ROWS, m_nNoZeroRows);
    DDX_Radio(pDX, IDC_MINUS_BLACK, m_nMinus);
    DDX_Radio(pDX, IDC_PRINT_COLOUR, m_nPrintColor);
    DDX_Radio(pDX, IDC_ZERO_DECIMALS_OFF, m_nZeroDecimals);
}

void COutputDialog::OnChanged()
{
    SetModified(TRUE);
}

void COutputDialog::CopyToApp(bool bZeroDecimals)
{
    CMorvelApp& app = App();
    app.m_nDataAlign = m_nDataAlign;
    app.m_nDataFont = m_nDataFont;
    app.m_nDataColor = m_nDataColor;
    app.m_nMinus = m_nMinus;
    app.m_nPrintColor = m_nPrintColor;
    app.m_nNonPrintZeroSuryo = m_nNoZeroRows;
    if (bZeroDecimals)
        app.m_nSpaceSetting = m_nZeroDecimals;
}

BOOL COutputDialog::OnApply()
{
    CopyToApp(false);
    App().WriteColorSettings();
    return CPropertyPage::OnApply();
}

void COutputDialog::OnOK()
{
    CopyToApp(true);
    App().WriteColorSettings();
}

void COutputDialog::OnPaperColour()
{
    CColorDialog dlg(App().m_clrPaper, CC_FULLOPEN, this);
    if (dlg.DoModal() != IDOK)
        return;
    App().m_clrPaper = dlg.GetColor();
    SetModified(TRUE);
}

void COutputDialog::OnPrintFont()
{
    CMorvelApp& app = App();
    LOGFONT lf = app.m_lfPrintFont;
    CFontDialog dlg(&lf, CF_TTONLY | CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT, nullptr, this);
    dlg.m_cf.rgbColors = app.m_clrPrintFont;
    if (dlg.DoModal() != IDOK)
        return;
    dlg.GetCurrentFont(&app.m_lfPrintFont);
    app.m_clrPrintFont = dlg.GetColor();
    SetModified(TRUE);
}

void COutputDialog::OnPrintFontColour()
{
    CColorDialog dlg(App().m_clrPrintFont, CC_FULLOPEN, this);
    if (dlg.DoModal() != IDOK)
        return;
    App().m_clrPrintFont = dlg.GetColor();
    SetModified(TRUE);
}

void COutputDialog::OnBorder()
{
    CMorvelApp& app = App();
    CRuledLineDialog dlg(this);
    dlg.m_clrLine = app.m_clrBorder;
    dlg.m_nLineStyle = app.m_nBorderStyle;
    if (dlg.DoModal() != IDOK)
        return;
    app.m_clrBorder = dlg.m_clrLine;
    app.m_nBorderStyle = dlg.m_nLineStyle;
    SetModified(TRUE);
}

void COutputDialog::OnShading()
{
    CMorvelApp& app = App();
    CShadingDialog dlg(this);
    dlg.m_foreColor = app.m_clrFill;
    dlg.m_backColor = app.m_clrFillBackground;
    dlg.m_bFill = app.m_nIsFill;
    dlg.m_nPattern = app.m_nFillMode;
    if (dlg.DoModal() != IDOK)
        return;
    app.m_clrFill = dlg.m_foreColor;
    app.m_clrFillBackground = dlg.m_backColor;
    app.m_nIsFill = dlg.m_bFill;
    app.m_nFillMode = dlg.m_nPattern;
    SetModified(TRUE);
}
