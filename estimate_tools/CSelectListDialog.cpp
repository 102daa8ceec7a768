#include "estimate_tools/CSelectListDialog.h"

#include "app/CMorvelSettings.h"
#include "engine/estimate/CNumberRules.h"
#include "estimate/EstimateIoSupport.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "resources/EstimateCommandIds.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kSection = "List Control Setting";
constexpr const char* kRectKey = "Part List Rect";
constexpr const char* kColumnKey = "Part List Column";

// The dialog whose sort runs now (one sort at a time, on the one thread).
const CSelectListDialog* s_pSorting = nullptr;

// The widths as kept: decimal numbers each followed by one blank. A missing, zero or
// negative width is 100; when no blank follows a number it is used for every later column.
std::vector<int> ParseColumnWidths(const CString& text, int nColumns)
{
    std::vector<int> widths;
    const std::string s = text.str();
    size_t pos = 0;
    for (int c = 0; c < nColumns; ++c) {
        const int w = pos < s.size() ? std::atoi(s.c_str() + pos) : 0;
        widths.push_back(w > 0 ? w : 100);
        const size_t blank = s.find(' ', pos);
        if (blank != std::string::npos)
            pos = blank + 1;
    }
    return widths;
}

} // namespace

BEGIN_MESSAGE_MAP(CSelectListDialog, CDialog)
ON_WM_SIZE()
ON_NOTIFY(LVN_COLUMNCLICK, IDC_SELECT_LIST, OnColumnClick)
ON_NOTIFY(NM_DBLCLK, IDC_SELECT_LIST, OnDoubleClick)
END_MESSAGE_MAP()

CSelectListDialog::CSelectListDialog(CWnd* pParent, int nMode, const CString& strFilter,
                                     const CString& strFolder, const CString& strFileName)
    : CDialog(IDD_SELECT_LIST, pParent), m_nMode(nMode), m_strFilter(strFilter), m_strFolder(strFolder),
      m_strFileName(strFileName), m_ascending(100, 1)
{
    RegisterEstimateCommandDialogs();
}

BOOL CSelectListDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_SELECT_LIST, this);

    const CString path = m_strFolder + m_strFileName;
    std::string data;
    if (!EstimateIo::ReadWholeFile(path, data)) {
        AfxMessageBox("部材ﾌｧｲﾙがないか壊れています。"_sj, MB_OK | MB_ICONEXCLAMATION);
        EndDialog(RESULT_NOTHING);
        return TRUE;
    }
    switch (ReadPartsSelection(data, m_strFilter, m_selection)) {
    case CPartsSelection::readNotParts:
        AfxMessageBox("部材ﾌｧｲﾙではありません"_sj, MB_OK | MB_ICONEXCLAMATION);
        EndDialog(RESULT_NOTHING);
        return TRUE;
    case CPartsSelection::readDamaged:
        AfxMessageBox("部材ﾌｧｲﾙがないか壊れています。"_sj, MB_OK | MB_ICONEXCLAMATION);
        EndDialog(RESULT_NOTHING);
        return TRUE;
    default:
        break;
    }

    CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    const CString widthText =
        pSettings != nullptr ? pSettings->GetProfileString(kSection, kColumnKey, "") : CString();
    const std::vector<int> widths = ParseColumnWidths(widthText, m_selection.nColumns);
    for (int c = 0; c < m_selection.nColumns; ++c) {
        const int nFormat = IsNumericPartsColumn(m_selection.form, c) ? LVCFMT_RIGHT : LVCFMT_LEFT;
        m_list.InsertColumn(c, m_selection.form.GetItem(c, CFormFile<10>::colName), nFormat,
                            widths[static_cast<size_t>(c)]);
    }
    if (m_selection.rows.empty()) {
        MessageBox("該当する部材がありません。"_sj);
        EndDialog(RESULT_NOTHING);
        return TRUE;
    }
    for (size_t i = 0; i < m_selection.rows.size(); ++i) {
        const std::vector<CString>& row = m_selection.rows[i];
        const int nItem = m_list.InsertItem(static_cast<int>(i), row[0]);
        m_list.SetItemData(nItem, static_cast<DWORD_PTR>(i));
        for (size_t c = 1; c < row.size(); ++c)
            m_list.SetItemText(nItem, static_cast<int>(c), row[c]);
    }
    m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetFocus();
    SetWindowText("部材選択"_sj);
    SetDlgItemText(IDC_SELECT_FILE, DisplayPath(path));

    // The rectangle kept last time; without one (or an unreadable one) the template's.
    if (pSettings != nullptr) {
        const CString rectText = pSettings->GetProfileString(kSection, kRectKey, "");
        int l = 0, t = 0, r = 0, b = 0;
        if (std::sscanf(rectText.c_str(), "%d,%d,%d,%d", &l, &t, &r, &b) == 4 && r > l && b > t)
            MoveWindow(l, t, r - l, b - t);
    }
    LayoutControls();
    return FALSE;
}

void CSelectListDialog::LayoutControls()
{
    CWnd* pOK = GetDlgItem(IDOK);
    CWnd* pCancel = GetDlgItem(IDCANCEL);
    if (m_list.m_hWnd == nullptr || pOK == nullptr || pCancel == nullptr)
        return;
    CRect rcWindow, rcOK, rcCancel, rcList;
    GetWindowRect(&rcWindow);
    pOK->GetWindowRect(&rcOK);
    pCancel->GetWindowRect(&rcCancel);
    m_list.GetWindowRect(&rcList);
    // Never narrower than room for both buttons.
    const int nMinWidth = 105 + 2 * rcOK.Width();
    if (rcWindow.Width() < nMinWidth) {
        rcWindow.right = rcWindow.left + nMinWidth;
        MoveWindow(&rcWindow);
        return; // the size change lays the controls out again
    }
    rcList.right = rcWindow.right - 15;
    rcList.bottom = rcWindow.bottom - 55;
    const int nButtonTop = rcWindow.bottom - 15 - rcOK.Height();
    CRect rcNewCancel(rcWindow.right - 50 - rcCancel.Width(), nButtonTop, rcWindow.right - 50,
                      nButtonTop + rcCancel.Height());
    CRect rcNewOK(rcWindow.left + 50, nButtonTop, rcWindow.left + 50 + rcOK.Width(),
                  nButtonTop + rcOK.Height());
    ScreenToClient(&rcList);
    ScreenToClient(&rcNewCancel);
    ScreenToClient(&rcNewOK);
    m_list.MoveWindow(&rcList);
    pCancel->MoveWindow(&rcNewCancel);
    pOK->MoveWindow(&rcNewOK);
}

void CSelectListDialog::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    LayoutControls();
}

int CSelectListDialog::CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    const CSelectListDialog* pDlg = s_pSorting;
    if (pDlg == nullptr)
        return 0;
    const auto& rows = pDlg->m_selection.rows;
    const size_t i1 = static_cast<size_t>(lParam1);
    const size_t i2 = static_cast<size_t>(lParam2);
    const size_t c = static_cast<size_t>(pDlg->m_nSortColumn);
    if (i1 >= rows.size() || i2 >= rows.size() || c >= rows[i1].size() || c >= rows[i2].size())
        return 0;
    int nOrder = 0;
    if (IsNumericPartsColumn(pDlg->m_selection.form, pDlg->m_nSortColumn)) {
        const double a = CNumberRules::ReadNumberText(rows[i1][c]).ToDouble();
        const double b = CNumberRules::ReadNumberText(rows[i2][c]).ToDouble();
        nOrder = a < b ? -1 : a > b ? 1 : 0;
    } else {
        // Code page 932 texts in byte order (a lead byte and its trail stay together).
        const int n = rows[i1][c].str().compare(rows[i2][c].str());
        nOrder = n < 0 ? -1 : n > 0 ? 1 : 0;
    }
    return pDlg->m_bSortAscending ? nOrder : -nOrder;
}

void CSelectListDialog::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pColumn = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if (m_nMode != modeParts || pColumn == nullptr || pColumn->iSubItem < 0 ||
        pColumn->iSubItem >= static_cast<int>(m_ascending.size()))
        return;
    const size_t nCol = static_cast<size_t>(pColumn->iSubItem);
    m_nSortColumn = pColumn->iSubItem;
    m_bSortAscending = m_ascending[nCol] != 0;
    s_pSorting = this;
    m_list.SortItems(CompareRows, 0);
    s_pSorting = nullptr;
    m_ascending[nCol] = m_ascending[nCol] != 0 ? 0 : 1;
}

void CSelectListDialog::OnDoubleClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    OnOK();
}

void CSelectListDialog::SaveGeometry()
{
    CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    if (pSettings == nullptr || m_hWnd == nullptr)
        return;
    CRect rc;
    GetWindowRect(&rc);
    CString rectText;
    rectText.Format("%d,%d,%d,%d", rc.left, rc.top, rc.right, rc.bottom);
    pSettings->WriteProfileString(kSection, kRectKey, rectText);
    CString widths;
    for (int c = 0; c < m_selection.nColumns; ++c) {
        CString one;
        one.Format("%d ", m_list.GetColumnWidth(c));
        widths += one;
    }
    pSettings->WriteProfileString(kSection, kColumnKey, widths);
}

void CSelectListDialog::CollectSelection()
{
    m_selected.clear();
    m_chosenRows.clear();
    for (int nItem = m_list.GetNextItem(-1, LVNI_SELECTED); nItem >= 0;
         nItem = m_list.GetNextItem(nItem, LVNI_SELECTED)) {
        m_selected.push_back(static_cast<WORD>(nItem));
        auto pRow = std::make_unique<CGridRow>();
        for (int c = 0; c < m_selection.nColumns; ++c)
            pRow->SetCell(c, m_list.GetItemText(nItem, c));
        m_chosenRows.push_back(std::move(pRow));
    }
}

void CSelectListDialog::OnOK()
{
    SaveGeometry();
    CollectSelection();
    CDialog::OnOK();
}

void CSelectListDialog::OnCancel()
{
    SaveGeometry();
    CDialog::OnCancel();
}
