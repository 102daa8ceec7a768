// The column choice "設定": a tick list of a form's items (the estimation form or the
// parts form) with "全選択(&A)" and "全解除(&D)". The estimate view shows and hides its
// columns with it ("表示固定"), fixes the columns the cursor keeps to ("入力固定", where
// only clearing is offered) and chooses the CSV output's columns. The caller ticks the
// list before running it and reads the ticks after OK; the close box or Esc cancels.
#pragma once

#include "app/CCheckMarkListBox.h"
#include "app/CEstimationFormFile.h"
#include "app/CPartFormFile.h"
#include "platform/ui/dialogs/CDialog.h"

#include <optional>
#include <string>
#include <vector>

class CColumnSelectDialog : public CDialog {
public:
    enum { purposeDisplayFix = 0, purposeInputFix = 1, purposeCsvOutput = 3 };

    CColumnSelectDialog(CWnd* pParent, const CEstimationFormFile& form, int nPurpose);
    CColumnSelectDialog(CWnd* pParent, const CPartFormFile& form, int nPurpose);

    // The ticks (and enabling) live in the list object, before and after the run.
    CCheckMarkListBox m_list;
    int GetItemCount() const;

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSelectAll();
    afx_msg void OnDeselectAll();
    DECLARE_MESSAGE_MAP()

private:
    CEstimationFormFile m_estimationForm;
    CPartFormFile m_partsForm;
    int m_nEstimation; // 1 the estimation form is listed, 0 the parts form
    int m_nPurpose;
};

// The CSV output's column choice: every column starts ticked; the ticks after OK, nothing
// after Cancel.
template <class TForm>
std::optional<std::vector<BOOL>> ChooseCsvColumns(CWnd* pParent, const TForm& form)
{
    CColumnSelectDialog dlg(pParent, form, CColumnSelectDialog::purposeCsvOutput);
    for (int c = 0; c < dlg.GetItemCount(); ++c)
        dlg.m_list.SetCheck(c, TRUE);
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    std::vector<BOOL> ticks(static_cast<size_t>(dlg.GetItemCount()));
    for (int c = 0; c < dlg.GetItemCount(); ++c)
        ticks[static_cast<size_t>(c)] = dlg.m_list.GetCheck(c);
    return ticks;
}

// Whether the CSV output can put its file at strPath; when it cannot, the user is told so
// with the path and the reason (before any column is chosen).
BOOL CheckCsvOutputTarget(const CString& strPath);
// Replaces the file at strPath by text in one step; a failure is told as above and leaves
// an existing file as it was.
BOOL WriteCsvOutputFile(const CString& strPath, const std::string& text);

// The CSV output of a grid, after its file was chosen: the file's folder is checked first,
// then the columns are chosen, and only after OK is the file replaced whole by what
// makeText(ticks) gives. A cancelled choice or a failure leaves an existing file as it was;
// TRUE when the file was written.
template <class TForm, class TMakeText>
BOOL WriteCsvOutput(CWnd* pParent, const CString& strPath, const TForm& form, TMakeText makeText)
{
    if (!CheckCsvOutputTarget(strPath))
        return FALSE;
    const auto ticks = ChooseCsvColumns(pParent, form);
    if (!ticks)
        return FALSE;
    return WriteCsvOutputFile(strPath, makeText(*ticks));
}
