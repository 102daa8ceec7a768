// The in-place editor of the setup pages' grids: an edit control laid over the current
// cell that claims every key (Tab and Enter included) and hands the moving keys (Esc,
// Enter, Up, Down, Tab, Shift+Tab, PgUp, PgDn) to its page; other keys edit the text.
// A page may filter typed characters through its own rule.
#pragma once

#include "platform/ui/controls/CEdit.h"

#include <functional>

class CSetupCellEdit : public CEdit {
    DECLARE_DYNAMIC(CSetupCellEdit)
public:
    // The moving keys, as the pages number them.
    enum MoveKey { keyShiftTab = 1, keyTab, keyUp, keyDown, keyPageUp, keyPageDown, keyEnter, keyEscape };

    // Called with the key; the page moves the cell.
    std::function<void(MoveKey)> onMove;
    // Called with a typed character (code page 932 byte); FALSE drops it.
    std::function<BOOL(UINT nChar)> acceptChar;
    // Called after any key the edit handled itself (a recount of picture characters).
    std::function<void()> afterKey;
    // The text as of the last change (kept on every change).
    CString m_strLastText;
    int m_nMoveCode = 0;

protected:
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChange();
    DECLARE_MESSAGE_MAP()
};

// Each page has its editor class of its own name; they all behave as above.
class CUnitsCellEdit : public CSetupCellEdit {
    DECLARE_DYNAMIC(CUnitsCellEdit)
};
class CSubjectCellEdit : public CSetupCellEdit {
    DECLARE_DYNAMIC(CSubjectCellEdit)
};
class CDivisionCellEdit : public CSetupCellEdit {
    DECLARE_DYNAMIC(CDivisionCellEdit)
};
class CEstimationCellEdit : public CSetupCellEdit {
    DECLARE_DYNAMIC(CEstimationCellEdit)
};
class CPartsCellEdit : public CSetupCellEdit {
    DECLARE_DYNAMIC(CPartsCellEdit)
};
class CInformationFormCellEdit : public CSetupCellEdit {
    DECLARE_DYNAMIC(CInformationFormCellEdit)
};
