// Where a grid's Cut, Copy and Paste go while a text box has the keyboard. Whatever brings
// the command (Ctrl+C, Ctrl+Ins, the 編集 menu, the grid's pop-up menu), it reaches the grid
// view, and the grid hands it here first: the in-place cell editor, the search box of a find
// dialog or the range-total box on the window's bar then gets its own clipboard message, and
// the grid's selection is left alone. Any other window with the keyboard (the grid itself,
// its sheet tabs, the subject tree) leaves the command to the grid.
//
//   void CMyGridView::OnEditCopy()
//   {
//       if (ForwardToFocusedEditor(this, WM_COPY))
//           return;
//       ... copy the selection ...
//   }
#pragma once

#include "platform/base/Types.h"

class CCmdUI;
class CWnd;

// The window with the keyboard when it is a text box (it answers WM_GETDLGCODE with
// DLGC_HASSETSEL) other than pGrid; null otherwise, and always while pGrid has no window.
CWnd* GetFocusedEditor(const CWnd* pGrid);

// Sends the focused text box nMessage (WM_CUT, WM_COPY or WM_PASTE) and answers true; false,
// sending nothing, when no text box has the keyboard.
bool ForwardToFocusedEditor(const CWnd* pGrid, UINT nMessage);

// The paste item while a text box has the keyboard: enabled when the desktop clipboard holds
// text. False, leaving the item to the grid, when no text box has the keyboard.
bool UpdatePasteForFocusedEditor(const CWnd* pGrid, CCmdUI* pCmdUI);
