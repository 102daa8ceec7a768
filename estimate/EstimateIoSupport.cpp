#include "estimate/EstimateIoSupport.h"

#include "estimate/CMorvelEMView.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/Cp932.h"
#include "platform/base/Path.h"

#include <algorithm>

namespace EstimateIo {

BOOL ReadWholeFile(const char* lpszPath, std::string& data)
{
    data.clear();
    CFile file;
    if (lpszPath == nullptr || *lpszPath == '\0' ||
        !file.Open(lpszPath, CFile::modeRead | CFile::shareDenyNone))
        return FALSE;
    try {
        data.resize(file.GetLength());
        size_t nRead = 0;
        while (nRead < data.size()) {
            const UINT n = file.Read(data.data() + nRead, static_cast<UINT>(data.size() - nRead));
            if (n == 0)
                break;
            nRead += n;
        }
        data.resize(nRead);
        file.Close();
    } catch (CException&) {
        data.clear();
        return FALSE;
    }
    return TRUE;
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
    return view.m_nUsedRows;
}

int GetRowLimit(const CMorvelEMView& view)
{
    return view.m_nRowLimit;
}

void EnsureRowLimit(CMorvelEMView& view, int nRows)
{
    if (view.m_nRowLimit >= nRows)
        return;
    if (view.m_nRowLimit <= 0)
        view.m_nRowLimit = nRows;
    while (view.m_nRowLimit < nRows)
        view.m_nRowLimit *= 2;
    view.m_nTotalHeight = (view.m_nRowLimit + 1) * view.m_nRowHeight;
}

int GetCurrentRow(const CMorvelEMView& view)
{
    return view.m_nCurrentRow;
}

int GetColumnCount(const CMorvelEMView& view)
{
    return std::clamp(view.m_nColumnCount, 0, static_cast<int>(CMorvelView::MAX_COLUMNS));
}

BOOL IsEditPageShown(const CMorvelEMView& view)
{
    return view.m_nSummaryPage == 0;
}

int GetSelectMode(const CMorvelEMView& view)
{
    return view.m_nSelectMode;
}

BOOL IsSingleCellBlock(const CMorvelEMView& view)
{
    return view.m_rcSelection.left == view.m_rcSelection.right &&
           view.m_rcSelection.top == view.m_rcSelection.bottom;
}

int GetInformationCount(const CMorvelEMView& view)
{
    return view.m_nInformationCount;
}

CString GetInformationValue(const CMorvelEMView& view, int nIndex)
{
    if (nIndex < 0 || nIndex >= CMorvelEMView::MAX_INFORMATION)
        return CString();
    return view.m_strInformation[nIndex];
}

void SetInformationValue(CMorvelEMView& view, int nIndex, const CString& value)
{
    if (nIndex < 0 || nIndex >= CMorvelEMView::MAX_INFORMATION)
        return;
    view.m_strInformation[nIndex] = value;
    view.m_nInformationCount = std::max(view.m_nInformationCount, nIndex + 1);
}

CSubjectNumberer::CSubjectNumberer(const CMorvelEMView& view) : m_view(view) {}

CString CSubjectNumberer::Next(int nRow, int nCol)
{
    // The counts of the headings above nRow.
    for (; m_nNextRow < nRow; ++m_nNextRow) {
        switch (m_view.GetRowKind(m_nNextRow)) {
        case CMorvelEMView::kindKind:
            ++m_nKind;
            m_nLarge = m_nMiddle = m_nSmall = 0;
            break;
        case CMorvelEMView::kindLarge:
            ++m_nLarge;
            m_nMiddle = m_nSmall = 0;
            break;
        case CMorvelEMView::kindMiddle:
            ++m_nMiddle;
            m_nSmall = 0;
            break;
        case CMorvelEMView::kindSmall:
            ++m_nSmall;
            break;
        default:
            break;
        }
    }
    CString strText;
    if (m_view.m_nNumbering == 0 || nCol != m_view.m_nNumberingCol || nRow < 0 || nRow >= m_view.m_nRowLimit)
        return strText;
    const int nMode = m_view.m_nNumberingMode;
    switch (m_view.GetRowKind(nRow)) {
    case CMorvelEMView::kindKind:
        m_view.FormatSubjectNo(nMode, strText, m_nKind + 1, 0, 0, 0);
        break;
    case CMorvelEMView::kindLarge:
        m_view.FormatSubjectNo(nMode, strText, m_nKind, m_nLarge + 1, 0, 0);
        break;
    case CMorvelEMView::kindMiddle:
        m_view.FormatSubjectNo(nMode, strText, m_nKind, m_nLarge, m_nMiddle + 1, 0);
        break;
    case CMorvelEMView::kindSmall:
        m_view.FormatSubjectNo(nMode, strText, m_nKind, m_nLarge, m_nMiddle, m_nSmall + 1);
        break;
    default:
        break;
    }
    return strText;
}

CEditPageScope::CEditPageScope(CMorvelEMView& view) : m_view(view), m_nPage(view.m_nSummaryPage)
{
    m_view.m_nSummaryPage = 0;
}

CEditPageScope::~CEditPageScope()
{
    m_view.m_nSummaryPage = m_nPage;
}

} // namespace EstimateIo
