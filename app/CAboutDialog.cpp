#include "app/CAboutDialog.h"

#include "resources/ResourceIds.h"

IMPLEMENT_DYNAMIC(CAboutDialog, CDialog)

CAboutDialog::CAboutDialog(CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent) {}

CAboutDialog::~CAboutDialog() = default;
