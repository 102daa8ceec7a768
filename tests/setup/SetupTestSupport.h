// Helpers of the setup tests: typing into a grid page's cell editor as a user does, the
// mouse on a page's grid with the pop-up menu it opens, and answering the pick list.
#pragma once

#include "platform/ui/core/Menu_p.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "setup/CFormPage.h"
#include "setup/CListPickDialog.h"
#include "setup/CMasterPage.h"

#include <QApplication>

#include <string>

// Types a text into the editor character by character (WM_CHAR, code page 932 bytes), as
// the keyboard does.
inline void TypeKeys(CWnd& edit, const CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i)
        edit.SendMessage(WM_CHAR, static_cast<BYTE>(text[i]), 1);
}

// Presses a key in the editor (WM_KEYDOWN, as the keyboard sends it).
inline void PressKey(CWnd& edit, UINT nVirtKey)
{
    edit.SendMessage(WM_KEYDOWN, nVirtKey, 1);
}

// The next pick list picks the entry (double click, as a user picks).
inline void AnswerPick(CDialogAnswerer& answerer, int nIndex)
{
    answerer.AnswerDialog(185, [nIndex](CDialog& dlg) { DoubleClickDlgItem(dlg, 1061, nIndex); });
}

// Replaces the editor's text as a user selecting all and typing does.
inline void TypeCell(CWnd& edit, const CString& text)
{
    edit.SetWindowText("");
    TypeKeys(edit, text);
}

// A point inside a cell of a grid, in the grid's client coordinates (a pixel of frame, then
// the cell's left and top edge as shown now).
inline CPoint GridCellPoint(CGridCtrl& grid, int nRow, int nCol)
{
    return CPoint(1 + CGridCtrl::TwipsToPixels(grid.GetColPos(static_cast<short>(nCol))) + 4,
                  1 + CGridCtrl::TwipsToPixels(grid.GetRowPos(static_cast<short>(nRow))) + 4);
}

inline void ClickGridCell(CGridCtrl& grid, int nRow, int nCol)
{
    const CPoint pt = GridCellPoint(grid, nRow, nCol);
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
}

// A right click on a cell of a page's grid whose pop-up menu is answered with the command
// nID; the command, which the menu posts, has run when this returns.
inline void RightClickGridCell(CGridCtrl& grid, int nRow, int nCol, UINT nID)
{
    PopupMenuChooser previous = AfxSetPopupMenuChooser([nID](CMenu*) { return nID; });
    const CPoint pt = GridCellPoint(grid, nRow, nCol);
    grid.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
    grid.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    AfxSetPopupMenuChooser(previous);
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}
