#include "estimate/EstimateIoSupport.h"

#include "estimate/CMorvelEMView.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/Cp932.h"
#include "platform/base/Path.h"

#include <algorithm>

namespace EstimateIo {

bool ReadWholeFile(const char* lpszPath, std::string& data)
{
    data.clear();
    if (lpszPath == nullptr || *lpszPath == '\0')
        return false;
    try {
        data = ::ReadWholeFile(lpszPath);
    } catch (CException&) {
        data.clear();
        return false;
    }
    return true;
}

CString GetFolder(const char* lpszPath)
{
    const CString path(lpszPath != nullptr ? lpszPath : "");
    // The last separator that is not the trail byte of a double-byte character.
    int nLast = -1;
    for (int i = 0; i < path.GetLength(); ++i) {
        const BYTE b = static_cast<BYTE>(path[i]);
        if (IsDBCSLeadByte(b) && i + 1 < path.GetLength()) {
            ++i;
            continue;
        }
        if (b == '\\' || b == '/')
            nLast = i;
    }
    return nLast < 0 ? CString() : path.Left(nLast + 1);
}

CString GetProgramFolder()
{
    CString folder = GetFolder(GetModuleFileName());
    if (folder.IsEmpty())
        folder = ".\\";
    return folder;
}

int GetUsedRows(const CMorvelEMView& view)
{
    return view.GetUsedRows();
}

int GetRowLimit(const CMorvelEMView& view)
{
    return view.GetRowLimit();
}

void EnsureRowLimit(CMorvelEMView& view, int nRows)
{
    view.GrowRowLimit(nRows);
}

bool CheckRowRoom(const CMorvelEMView& view, int nRow, int nCount, int nHeading)
{
    return view.HasFileRoomForRows(nRow, nCount, nHeading);
}

int GetCurrentRow(const CMorvelEMView& view)
{
    return view.GetCurrentRow();
}

int GetColumnCount(const CMorvelEMView& view)
{
    return std::clamp(view.GetColumnCount(), 0, static_cast<int>(CMorvelView::MAX_COLUMNS));
}

bool IsEditPageShown(const CMorvelEMView& view)
{
    return !view.IsSummaryPageShown();
}

int GetSelectMode(const CMorvelEMView& view)
{
    return view.GetSelectMode();
}

bool IsSingleCellBlock(const CMorvelEMView& view)
{
    const CRect& rc = view.GetSelection();
    return rc.left == rc.right && rc.top == rc.bottom;
}

int GetInformationCount(const CMorvelEMView& view)
{
    return view.GetModel().GetInformationCount();
}

CString GetInformationValue(const CMorvelEMView& view, int nIndex)
{
    return view.GetModel().GetInformation(nIndex);
}

void SetInformationValue(CMorvelEMView& view, int nIndex, const CString& value)
{
    view.GetModel().SetInformation(nIndex, value);
}

} // namespace EstimateIo
