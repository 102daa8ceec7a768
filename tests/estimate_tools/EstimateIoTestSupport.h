// Helpers of the import and export tests: what a user does in the item mapping dialogs.
#pragma once

#include "app/CImportFormatDialog.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/core/WinDefs.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateIoIds.h"

#include <string>
#include <vector>

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

// Answers the mapping of a text input: the given columns of the grid, in their order, take
// the file's fields 1, 2, … (one item list dialog each), then OK.
inline void AnswerCsvFieldsInOrder(CDialogAnswerer& answerer, const std::vector<int>& columns)
{
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [columns](CDialog& dlg) {
        for (int nCol : columns)
            DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, nCol);
        ClickDlgButton(dlg, IDOK);
    });
    for (int nField = 1; nField <= static_cast<int>(columns.size()); ++nField)
        answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST, [nField](CDialog& dlg) {
            DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, nField);
        });
}

// The texts of the message boxes shown, in UTF-8.
inline std::vector<std::string> MessageTextsUtf8(const CDialogAnswerer& answerer)
{
    std::vector<std::string> texts;
    for (const CString& text : answerer.MessageBoxTexts())
        texts.push_back(text.ToUtf8());
    return texts;
}
