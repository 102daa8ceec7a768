// CEdit: a single- or multi-line edit control as a window object. Positions and the text
// limit count code page 932 bytes.
#pragma once

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/DialogDefs.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() = default;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The most bytes the user may type (0: as many as the control can hold).
    void LimitText(int nChars = 0);
    void SetLimitText(UINT nMax) { LimitText(static_cast<int>(nMax)); }
    UINT GetLimitText() const;

    // The selection: start in the low word, end in the high word (both capped at 0xFFFF).
    DWORD GetSel() const;
    void GetSel(int& nStartChar, int& nEndChar) const;
    // nStartChar -1 removes the selection; nEndChar -1 selects to the end.
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    void Clear();
    void Copy();
    void Cut();
    void Paste();

    BOOL CanUndo() const;
    BOOL Undo();
    void EmptyUndoBuffer();

    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    void SetPasswordChar(char ch);
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
    int GetLineCount() const;
};
