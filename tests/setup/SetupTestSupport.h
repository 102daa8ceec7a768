// Helpers of the setup tests: typing into a grid page's cell editor as a user does, and
// answering the pick list.
#pragma once

#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "setup/CFormPage.h"
#include "setup/CListPickDialog.h"
#include "setup/CMasterPage.h"

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
