#include "app/CProcessSelectDialog.h"

#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/ResourceIds.h"

IMPLEMENT_DYNAMIC(CProcessSelectDialog, CDialog)

CProcessSelectDialog::CProcessSelectDialog(CWnd* pParent) : CDialog(IDD_PROCESS_SELECT, pParent) {}

CProcessSelectDialog::~CProcessSelectDialog() = default;

void CProcessSelectDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_RADIO_NEW, m_nSelect);
}
