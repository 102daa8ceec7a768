#include "layout/drawing/CRowHeightDialog.h"

#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/LayoutDialogIds.h"

IMPLEMENT_DYNAMIC(CRowHeightDialog, CDialog)

CRowHeightDialog::CRowHeightDialog(CWnd* pParent) : CDialog(IDD_ROW_HEIGHT, pParent) {}

void CRowHeightDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_RH_LOWEST, m_nChoice);
}
