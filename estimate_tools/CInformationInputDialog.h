// The information sheet (情報入力): one value per item of the estimate's information form
// (customer, site, dates, amounts, ...), edited in a three-column grid ("No.", "名称",
// "内容") with an editor laid over the value cell of the current row and a scroll bar of
// its own. The items' kinds and the rules of their values are those of
// engine/estimate/InformationValues.h; the computed and amount items cannot be typed into.
#pragma once

#include "app/CInformationFormFile.h"
#include "app/CInformationFormTexts.h"
#include "engine/estimate/InformationValues.h"
#include "platform/base/CString.h"
#include "platform/ui/controls/CEdit.h"
#include "platform/ui/controls/CGridCtrl.h"
#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/dialogs/CDialog.h"

#include <functional>

// The editor over the value cell: claims every key, hands the moving keys to the dialog,
// takes Esc as the undo of its last change and takes no typing on the computed and amount
// items.
class CInformationCellEdit : public CEdit {
    DECLARE_DYNAMIC(CInformationCellEdit)
public:
    enum { keyShiftTab = 1, keyTab, keyUp, keyDown, keyPageUp, keyPageDown, keyEnter, keyEsc };

    int m_nMode = -1;      // -1 a text item, 0 a "数値" item, 1 an item that takes no typing
    CString m_strLastText; // the text as of its last change
    int m_nLastKey = 0;    // the last moving key (or Esc)
    std::function<void(int nKey)> onMove;

protected:
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChange();
    DECLARE_MESSAGE_MAP()
};

class CInformationInputDialog : public CDialog {
public:
    static constexpr long ROW_HEIGHT = 270; // twips

    // The estimate's amount with tax, its consumption tax and its amount without tax.
    CInformationInputDialog(const CString& strTotal, const CString& strTax, const CString& strNet,
                            CWnd* pParent);

    // Set by the caller before DoModal; the values are read back after IDOK.
    CString m_strFormName;
    CInformationFormFile m_form;
    // The form as the value rules read it.
    const CInformationFormTexts m_formTexts{m_form};
    InformationValues::Values m_values;

    int GetItemCount() const;

    // ---- for the tests: the live controls ----------------------------------------------------
    CGridCtrl& Grid() { return m_grid; }
    CInformationCellEdit& Editor() { return m_edit; }
    CScrollBar& ScrollBar() { return m_scroll; }
    int GetCurrentRow() const { return m_nCurRow; }
    int GetVisibleRows() const { return m_nVisibleRows; }
    // Moves as the editor's moving key does.
    void Move(int nKey);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    // ｷｬﾝｾﾙ, the close box and Esc outside the editor: after a change the user is asked
    // first, and may go on typing.
    void OnCancel() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

private:
    // The value the editor's text gives the item (a "数値" item's number in its plain form,
    // without the prefix of its E code when bStripPrefix); false when a "数値" item's text
    // is no number and is refused.
    bool ValueOfEditText(int nItem, bool bStripPrefix, CString& value) const;
    // True when the current row's text may be left; otherwise says so, keeps the row
    // current and gives the editor back its text to put right.
    bool IsEditTextAccepted() const;
    bool CheckEditText();
    // Whether a value differs from the one the sheet opened with, or the editor holds a
    // text typed since the current row became current.
    bool HasChanges() const;
    void CommitRow(int nRow, bool bStripPrefix);
    void ShowValues(bool bNumericOnly, bool bPrefix);
    void CommitAndMove();
    void SetCurrent(int nRow);
    void ScrollTo(int nPos);
    int LastRow() const { return m_nRows - 1; }
    int MaxScroll() const;

    CString m_strTotal;
    CString m_strTax;
    CString m_strNet;
    CGridCtrl m_grid;
    CScrollBar m_scroll;
    CInformationCellEdit m_edit;
    InformationValues::Values m_valuesAtStart; // as the sheet opened
    CString m_strEntryText;                    // the editor's text as the current row gave it
    int m_nRows = 1;
    int m_nVisibleRows = 1;
    int m_nPrevRow = 1;
    int m_nCurRow = 1;
    int m_nScrollPos = 1;
    int m_nReady = 0;
    bool m_bCommitPrevious = false;
};
