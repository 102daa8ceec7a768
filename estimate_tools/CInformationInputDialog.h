// The information sheet (情報入力): one value per item of the estimate's information form
// (customer, site, dates, amounts, ...), edited in a three-column grid ("No.", "名称",
// "内容") with an editor laid over the value cell of the current row and a scroll bar of
// its own.
//
// Items are of six kinds, by their attribute: "文字" (text, kept as typed), "数値" (a
// number, shown rounded by the item's rounding rule and formatted by its number
// picture), "計算" (computed from other items by the item's formula, letters naming items
// by position: A is item 0), and "税込見積", "消費税", "税抜見積" (the estimate's amounts,
// given to the constructor). The computed and amount items cannot be typed into. The E
// code of a numeric item puts "\" ("2") or "***" ("3") in front of the number shown;
// what is stored is the number without it.
#pragma once

#include "app/CInformationFormFile.h"
#include "platform/base/CString.h"
#include "platform/ui/controls/CEdit.h"
#include "platform/ui/controls/CGridCtrl.h"
#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/dialogs/CDialog.h"

#include <array>
#include <functional>

// ---- the sheet's value rules, shared with the tests ---------------------------------------
namespace InformationValues {

constexpr int MAX_ITEMS = 100;
using Values = std::array<CString, MAX_ITEMS>;

// TRUE for every item whose value is a number: all attributes but "文字".
bool IsNumericItem(const CInformationFormFile& form, int nItem);
// The value as the grid shows it: text items and "数値" items whose value is not a number
// text unchanged; others rounded, formatted by the picture with separators and, with
// bPrefix, given the "\" or "***" of their E code.
CString DisplayText(const CInformationFormFile& form, int nItem, const CString& value, bool bPrefix);
// The value as the editor offers it: numbers rounded, formatted without separators and
// given their prefix.
CString EditText(const CInformationFormFile& form, int nItem, const CString& value);
// The typed text without the prefix of the item's E code: what follows the last "\" (E
// "2") or the last "*" (E "3"); a text without that character stays whole.
CString StripPrefix(const CInformationFormFile& form, int nItem, const CString& text);
// Puts the amounts into the items of the three amount kinds.
void FillAmounts(const CInformationFormFile& form, Values& values, const CString& strTotal,
                 const CString& strTax, const CString& strNet);
// Computes the "計算" items in item order: each letter reference (A = item 0, AA = item
// 26) becomes the named item's value read as a number and rounded by its rounding rule;
// a reference beyond the form's items reads 0.
void Recalculate(const CInformationFormFile& form, Values& values);

} // namespace InformationValues

// The editor over the value cell: claims every key, hands the moving keys to the dialog
// and takes no typing on the computed and amount items.
class CInformationCellEdit : public CEdit {
    DECLARE_DYNAMIC(CInformationCellEdit)
public:
    enum { keyShiftTab = 1, keyTab, keyUp, keyDown, keyPageUp, keyPageDown, keyEnter, keyEscape };

    int m_nMode = -1;      // -1 a text item, 0 a "数値" item, 1 an item that takes no typing
    CString m_strLastText; // the text as of its last change
    int m_nLastKey = 0;    // the last moving key
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
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

private:
    CString NormalizedEditText(int nItem) const;
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
    int m_nRows = 1;
    int m_nVisibleRows = 1;
    int m_nPrevRow = 1;
    int m_nCurRow = 1;
    int m_nScrollPos = 1;
    int m_nReady = 0;
    bool m_bCommitPrevious = false;
};
