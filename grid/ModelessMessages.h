// The private window messages of the modeless dialogs (find, replace, subject pick, unit
// pick, indent, unnecessary rows) and of the print-form file selection dialog. Each dialog
// hands every request to the view that opened it (its owner) with one of these messages,
// sent, never posted: when SendMessage returns, the view has done the work.
//
// What travels with each message:
//   WM_FINDREPLACE_REQUEST      wParam FRQ_ bits; lParam the text (see below); result
//                               nonzero when a match was found or replaced.
//   WM_PICK_*_SUBJECT           lParam a CString* "name/unit" (SplitPickedSubject).
//   WM_PICK_UNIT                lParam a CString* unit name, or 0 when nothing was picked.
//   WM_INDENT_COMMAND           wParam INDENT_*; lParam a CIndentRequest*.
//   WM_UNNECESSARY_ROW_COMMAND  wParam UNROW_*; lParam UNROW_COND_*; result for
//                               UNROW_FIND_NEXT nonzero when a row was found.
//   WM_MODELESS_CLOSED          wParam MODELESS_* (which dialog); lParam 0.
//
// The estimate view (CMorvelEMView), which owns the dialogs, answers every one of them:
// the find and replace requests and the current-cell match, the subject and unit picks,
// the indent and unnecessary-row commands and WM_MODELESS_CLOSED.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Cp932.h"
#include "platform/base/Types.h"
#include "platform/ui/core/WinDefs.h"

#include <cstdint>
#include <cstring>
#include <vector>

// ---------------------------------------------------------------------------------------
// Message numbers.
// ---------------------------------------------------------------------------------------
constexpr UINT WM_FINDREPLACE_REQUEST = WM_USER + 1;
constexpr UINT WM_PICK_LARGE_SUBJECT = WM_USER + 2;
constexpr UINT WM_PICK_MIDDLE_SUBJECT = WM_USER + 3;
constexpr UINT WM_PICK_SMALL_SUBJECT = WM_USER + 4;
constexpr UINT WM_PICK_UNIT = WM_USER + 5;
constexpr UINT WM_INDENT_COMMAND = WM_USER + 6;
constexpr UINT WM_UNNECESSARY_ROW_COMMAND = WM_USER + 7;
constexpr UINT WM_MODELESS_CLOSED = WM_USER + 8;
// Asks the estimate view whether its current cell matches a find text (wParam FRQ_ bits,
// lParam the text; result 1 or 0).
constexpr UINT WM_MATCH_CURRENT_CELL = WM_USER + 10;

// ---------------------------------------------------------------------------------------
// WM_FINDREPLACE_REQUEST. Exactly one of FRQ_UP, FRQ_DOWN, FRQ_REPLACE and FRQ_REPLACE_ALL
// says what is asked: a find carries FRQ_UP or FRQ_DOWN with the search text; a replace
// carries FRQ_REPLACE alone with the replacement text; a replace-all carries
// FRQ_REPLACE_ALL (with FRQ_WHOLE_WORD, FRQ_MATCH_CASE and FRQ_SELECTION_ONLY as chosen)
// and both texts, each followed by its zero byte (PackReplaceAllText).
// ---------------------------------------------------------------------------------------
constexpr WPARAM FRQ_WHOLE_WORD = 0x01;
constexpr WPARAM FRQ_MATCH_CASE = 0x02;
constexpr WPARAM FRQ_UP = 0x04;
constexpr WPARAM FRQ_DOWN = 0x08;
constexpr WPARAM FRQ_REPLACE = 0x10;
constexpr WPARAM FRQ_REPLACE_ALL = 0x20;
constexpr WPARAM FRQ_SELECTION_ONLY = 0x40;

// The longest search or replacement text of a replace-all, in bytes.
constexpr int MAX_FINDREPLACE_TEXT = 253;

inline bool IsFindRequest(WPARAM wParam)
{
    return (wParam & (FRQ_REPLACE | FRQ_REPLACE_ALL)) == 0;
}
inline bool IsReplaceRequest(WPARAM wParam)
{
    return (wParam & FRQ_REPLACE) != 0;
}
inline bool IsReplaceAllRequest(WPARAM wParam)
{
    return (wParam & FRQ_REPLACE_ALL) != 0;
}
// A find goes upward only when it carries FRQ_UP without FRQ_DOWN.
inline bool IsUpwardFind(WPARAM wParam)
{
    return IsFindRequest(wParam) && (wParam & FRQ_UP) != 0 && (wParam & FRQ_DOWN) == 0;
}

// A text cut to at most nMaxBytes bytes without splitting a double-byte character.
inline CString LimitFindReplaceText(const CString& text, int nMaxBytes = MAX_FINDREPLACE_TEXT)
{
    const int nLength = text.GetLength();
    if (nLength <= nMaxBytes)
        return text;
    int nKeep = 0;
    for (int i = 0; i < nLength;) {
        const bool lead = IsCp932LeadByte(static_cast<BYTE>(text.GetAt(i)));
        const int nChar = lead && i + 1 < nLength ? 2 : 1;
        if (i + nChar > nMaxBytes)
            break;
        i += nChar;
        nKeep = i;
    }
    return text.Left(nKeep);
}

// The lParam block of a replace-all: the search text, a zero byte, the replacement text
// and a zero byte, each text cut to MAX_FINDREPLACE_TEXT bytes. Pass block.data().
inline std::vector<char> PackReplaceAllText(const CString& findText, const CString& replaceText)
{
    const CString find = LimitFindReplaceText(findText);
    const CString replace = LimitFindReplaceText(replaceText);
    std::vector<char> block;
    block.reserve(static_cast<size_t>(find.GetLength() + replace.GetLength() + 2));
    block.insert(block.end(), find.c_str(), find.c_str() + find.GetLength());
    block.push_back('\0');
    block.insert(block.end(), replace.c_str(), replace.c_str() + replace.GetLength());
    block.push_back('\0');
    return block;
}

// The two texts of a replace-all request's lParam.
inline void UnpackReplaceAllText(LPARAM lParam, CString& findText, CString& replaceText)
{
    const char* p = reinterpret_cast<const char*>(lParam);
    if (!p) {
        findText.Empty();
        replaceText.Empty();
        return;
    }
    findText = CString(p);
    replaceText = CString(p + std::strlen(p) + 1);
}

// ---------------------------------------------------------------------------------------
// WM_PICK_LARGE_SUBJECT, WM_PICK_MIDDLE_SUBJECT, WM_PICK_SMALL_SUBJECT: "name/unit", split
// at the first "/" (a name may hold a "/" of its own only after that; the unit may be
// empty). A text without "/" is all name.
// ---------------------------------------------------------------------------------------
inline CString JoinPickedSubject(const CString& name, const CString& unit)
{
    return name + "/" + unit;
}

inline void SplitPickedSubject(const CString& picked, CString& name, CString& unit)
{
    const int nSlash = picked.Find('/');
    if (nSlash < 0) {
        name = picked;
        unit.Empty();
        return;
    }
    name = picked.Left(nSlash);
    unit = picked.Mid(nSlash + 1);
}

// ---------------------------------------------------------------------------------------
// WM_INDENT_COMMAND.
// ---------------------------------------------------------------------------------------
constexpr WPARAM INDENT_REDUCE = 0;   // "<---"
constexpr WPARAM INDENT_INCREASE = 1; // "--->"
constexpr WPARAM INDENT_REMOVE = 2;   // "解除"

// The target level, in the order of the choices of the indent dialog.
constexpr int32_t INDENT_LEVEL_KIND = 0;
constexpr int32_t INDENT_LEVEL_LARGE = 1;
constexpr int32_t INDENT_LEVEL_MIDDLE = 2;
constexpr int32_t INDENT_LEVEL_SMALL = 3;
constexpr int32_t INDENT_LEVEL_DETAIL = 4;
constexpr int32_t INDENT_LEVEL_ALL = 5;

// Three 32-bit integers kept by the indent dialog; lParam points at them.
struct CIndentRequest {
    int32_t nItem;   // the chosen item's position in the estimation form's item list
    int32_t nLevel;  // INDENT_LEVEL_*
    int32_t nAmount; // the indent in characters (0 when not a number)
};

// ---------------------------------------------------------------------------------------
// WM_UNNECESSARY_ROW_COMMAND.
// ---------------------------------------------------------------------------------------
constexpr WPARAM UNROW_FIND_NEXT = 1;
constexpr WPARAM UNROW_DELETE_FOUND = 2;
constexpr WPARAM UNROW_DELETE_ALL = 4;

constexpr LPARAM UNROW_COND_QUANTITY_ZERO = 1;
constexpr LPARAM UNROW_COND_AMOUNT_ZERO = 2;
constexpr LPARAM UNROW_COND_BOTH_ZERO = 3;

// ---------------------------------------------------------------------------------------
// WM_MODELESS_CLOSED: which dialog. Codes 1 to 6 report the dialog's window is gone (the
// owner forgets its pointer); 7 reports that the print-form file selection dialog has filled
// its lists (the owner closes its wait dialog).
// ---------------------------------------------------------------------------------------
constexpr WPARAM MODELESS_LARGE_SUBJECT_PICK = 1;
constexpr WPARAM MODELESS_MIDDLE_SUBJECT_PICK = 2;
constexpr WPARAM MODELESS_SMALL_SUBJECT_PICK = 3;
constexpr WPARAM MODELESS_FIND = 4;
constexpr WPARAM MODELESS_REPLACE = 5;
constexpr WPARAM MODELESS_UNIT_PICK = 6;
constexpr WPARAM MODELESS_PRINT_FORM_LOADED = 7;
// An unnecessary-row dialog's window is gone (lParam the dialog): the grid forgets it, so
// that it never destroys a dialog twice nor leaves one open behind it.
constexpr WPARAM MODELESS_UNNECESSARY_ROWS = 8;

// The pick message of a subject level (1 large, 2 middle, 3 small), 0 for another level.
inline UINT PickSubjectMessage(int nLevel)
{
    switch (nLevel) {
    case 1:
        return WM_PICK_LARGE_SUBJECT;
    case 2:
        return WM_PICK_MIDDLE_SUBJECT;
    case 3:
        return WM_PICK_SMALL_SUBJECT;
    default:
        return 0;
    }
}
