#include "printform/CElementWidthDialog.h"

#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/LayoutDialogIds.h"

IMPLEMENT_DYNAMIC(CElementWidthDialog, CDialog)

CElementWidthDialog::CElementWidthDialog(CWnd* pParent) : CDialog(IDD_ELEMENT_WIDTH, pParent) {}

void CElementWidthDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_EW_NARROWEST, m_nChoice);
}
