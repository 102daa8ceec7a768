#include "parts/CPartsShared.h"

#include "platform/ui/core/WinApi.h"

CString CPartsShared::s_strTypedText;
CString CPartsShared::s_strFindText;
WPARAM CPartsShared::s_nFindFlags = 0;
int CPartsShared::s_nFoundPos = -1;
int CPartsShared::s_nFindLength = 0;
bool CPartsShared::s_bPaintPass = false;
// Before any copy in this program a paste takes what another copy of the program put on
// the clipboard as a block of cells.
int CPartsShared::s_nCopyMode = CPartsShared::copyCells;

UINT CPartsShared::GetDataFormat()
{
    static const UINT s_nFormat = RegisterClipboardFormat("Morvel PM Data");
    return s_nFormat;
}
