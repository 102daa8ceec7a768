#include "layout/printform/CRuledLineDialog.h"

#include "platform/ui/dialogs/CColorDialog.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/gdi/CDC.h"
#include "resources/SetupIds.h"

IMPLEMENT_DYNAMIC(CRuledLineDialog, CDialog)

BEGIN_MESSAGE_MAP(CRuledLineDialog, CDialog)
ON_BN_CLICKED(IDC_LINE_COLOUR, OnColour)
END_MESSAGE_MAP()

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
