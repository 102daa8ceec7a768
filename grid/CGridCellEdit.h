// CGridCellEdit: the in-place cell editor of the grid views. Each grid view creates one,
// keeps it hidden, and lays it over the current cell while the user types. The editor
// edits text only; it knows nothing of rows and columns. Enter, Down, Up and Esc end the
// edit: the editor hides itself, gives its view the focus and hands the key to the view
// (IGridCellEditOwner), which takes the text with GetCellText and stores it. A right click,
// Shift+F10 or the menu key shows a small Cut/Copy/Paste menu.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/controls/CRichEditCtrl.h"

class CGridCellEdit : public CRichEditCtrl {
    DECLARE_DYNAMIC(CGridCellEdit)
public:
    // The control ids the two grid views give their editor.
    static constexpr UINT ESTIMATE_VIEW_EDIT_ID = 309;
    static constexpr UINT PARTS_VIEW_EDIT_ID = 4095;

    CGridCellEdit();
    ~CGridCellEdit() override;

    // Creates the editor as a hidden child of a grid view: border, automatic horizontal
    // scrolling, the rectangle (0, 0, 50, 25) and the given control id. The view then
    // places, styles and shows it itself; the editor never sizes itself.
    BOOL CreateInView(CWnd* pView, UINT nID);

    // The text to store in a cell: the window text without carriage returns and line
    // feeds; a text made only of full-width digits, the full-width signs , . / + - * =
    // and blanks comes back in ASCII with the blanks dropped ("１，２３４" gives "1,234").
    void GetCellText(CString& rText) const;
    // The window text exactly as it is.
    void GetText(CString& rText) const;

    // Hides the editor. While it has the keyboard, the view it lies on takes the keyboard
    // first: the window system would otherwise hand it to whichever window comes next (the
    // splitter, a bar, the subject tree), and the keys after a scroll or a zoom would miss
    // the grid.
    void HideAndFocusView();

    // Shows the Cut/Copy/Paste menu with its top-left corner at a screen point. Cut and
    // Copy are offered only with a selection, Paste only while the clipboard holds text.
    void ShowContextMenu(CPoint ptScreen);

    // Every window of this class clips its siblings and takes every key (multi-line).
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Shift+F10, the menu key and the context-menu message open the editor's own menu.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnKillFocusReflect();
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();

    DECLARE_MESSAGE_MAP()
};
