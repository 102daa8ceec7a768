// Helpers of the import and export tests: what a user does in the item mapping dialogs.
#pragma once

#include "app/CImportFormatDialog.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/core/WinDefs.h"
#include "platform/ui/dialogs/CDialog.h"

// Double-clicks a row of a report list of a dialog: the row is selected and the dialog gets
// the list's NM_DBLCLK notification, as a double click with the mouse gives it.
inline void DoubleClickListRow(CDialog& dlg, int nID, int nRow)
{
    auto* pList = dynamic_cast<CListCtrl*>(dlg.GetDlgItem(nID));
    if (pList == nullptr)
        return;
    pList->SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    NMITEMACTIVATE nm{};
    nm.hdr.hwndFrom = pList->GetSafeHwnd();
    nm.hdr.idFrom = static_cast<UINT_PTR>(nID);
    nm.hdr.code = NM_DBLCLK;
    nm.iItem = nRow;
    dlg.SendMessage(WM_NOTIFY, static_cast<WPARAM>(nID), reinterpret_cast<LPARAM>(&nm));
}

// The text of a cell of a dialog's report list.
inline CString ListText(CDialog& dlg, int nID, int nRow, int nColumn)
{
    auto* pList = dynamic_cast<CListCtrl*>(dlg.GetDlgItem(nID));
    return pList != nullptr ? pList->GetItemText(nRow, nColumn) : CString("<no list>");
}
