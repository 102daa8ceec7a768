// The input method of a window, as the system asks about it: whether it is open, the text
// being composed (the pre-edit the user has not committed yet) and ending a composition.
//
// Every window has an input context (the handle stands for the window). The desktop's
// input method decides for itself when it composes; here "open" means that a composition
// may run in the window. Closing the input method of a window cancels the composition it
// holds; the next composition the user starts opens it again. A committed text arrives at
// the window as typed characters (WM_CHAR with code page 932 bytes) or, in an edit
// control, as inserted text.
//
// A self-drawn window shows the pre-edit in a composition window of the layer's own,
// underlined, where the window's composition form puts it; the input method's candidate
// list opens at the pre-edit's cursor. WM_IME_STARTCOMPOSITION is sent to the window when
// a composition begins (the time to place the composition form, for instance over the cell
// being typed into) and WM_IME_ENDCOMPOSITION when it ends.
//
// A composition stays with the window it was typed into. When the keyboard leaves a
// self-drawn window, what the desktop's input method did not commit to it by then is
// committed to it; a commit that reaches a window because the keyboard moves on, or after
// it has, types there without taking the keyboard back (SetFocus leaves it where it is
// meanwhile).
#pragma once

#include "platform/base/Types.h"
#include "platform/ui/core/WinDefs.h"

MORVEL_DECLARE_HANDLE(HIMC);

// ImmGetCompositionString parts.
constexpr DWORD GCS_COMPREADSTR = 0x0001;
constexpr DWORD GCS_COMPSTR = 0x0008;
constexpr DWORD GCS_CURSORPOS = 0x0080;
constexpr DWORD GCS_RESULTSTR = 0x0800;

// ImmNotifyIME actions and their values.
constexpr DWORD NI_COMPOSITIONSTR = 0x0015;
constexpr DWORD CPS_COMPLETE = 0x0001;
constexpr DWORD CPS_CONVERT = 0x0002;
constexpr DWORD CPS_REVERT = 0x0003;
constexpr DWORD CPS_CANCEL = 0x0004;

// Composition form styles.
constexpr DWORD CFS_DEFAULT = 0x0000;
constexpr DWORD CFS_RECT = 0x0001;
constexpr DWORD CFS_POINT = 0x0002;
constexpr DWORD CFS_FORCE_POSITION = 0x0020;

// Where the composition window goes, in the window's client coordinates: CFS_POINT puts
// its top-left corner at ptCurrentPos; CFS_RECT puts the text at ptCurrentPos.x on the band
// of the area rcArea (its top and height), the window as wide as its text and kept inside
// the area (moved left where it would run past the area's right edge); CFS_DEFAULT leaves
// it at the top-left. Any composition window stays inside the client area.
struct COMPOSITIONFORM {
    DWORD dwStyle;
    POINT ptCurrentPos;
    RECT rcArea;
};

constexpr LONG IMM_ERROR_NODATA = -1;
constexpr LONG IMM_ERROR_GENERAL = -2;

// The window's input context; null for a window that does not exist or takes no input
// method. Release it with ImmReleaseContext.
HIMC ImmGetContext(HWND hWnd);
BOOL ImmReleaseContext(HWND hWnd, HIMC hIMC);
BOOL ImmGetOpenStatus(HIMC hIMC);
BOOL ImmSetOpenStatus(HIMC hIMC, BOOL fOpen);
// GCS_COMPSTR: the pre-edit text; GCS_RESULTSTR: the text last committed; GCS_CURSORPOS:
// the cursor inside the pre-edit (characters). Texts are code page 932 without a
// terminating zero; with dwBufLen 0 (or no buffer) the size in bytes is returned.
LONG ImmGetCompositionString(HIMC hIMC, DWORD dwIndex, LPVOID lpBuf, DWORD dwBufLen);
BOOL ImmSetCompositionWindow(HIMC hIMC, const COMPOSITIONFORM* lpCompForm);
BOOL ImmGetCompositionWindow(HIMC hIMC, COMPOSITIONFORM* lpCompForm);
// The font the composition window shows the pre-edit in (by default the window's font).
BOOL ImmSetCompositionFont(HIMC hIMC, const LOGFONT* lplf);
// What a pre-edit replaces on the screen, in the window's client coordinates: while the
// composition window shows, what it leaves of this rectangle on its right (inside the
// composition form's area) is blank, as a cell being typed into shows nothing but what is
// typed. An empty rectangle (the default) blanks nothing beyond the composition window.
BOOL ImmSetCompositionCover(HIMC hIMC, const RECT* lprcCover);
// NI_COMPOSITIONSTR with CPS_CANCEL drops the pre-edit; with CPS_COMPLETE commits it (the
// desktop's input method is asked first; the text arrives once).
BOOL ImmNotifyIME(HIMC hIMC, DWORD dwAction, DWORD dwIndex, DWORD dwValue);
