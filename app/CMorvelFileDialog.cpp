#include "app/CMorvelFileDialog.h"

IMPLEMENT_DYNAMIC(CMorvelFileDialog, CFileDialog)

CMorvelFileDialog::CMorvelFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                                     DWORD dwFlags, LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName,
                  dwFlags | OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR, lpszFilter, pParentWnd)
{
}

CMorvelFileDialog::~CMorvelFileDialog() = default;
