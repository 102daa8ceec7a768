// CRichEditCtrl: the rich edit control (window class "RichEdit20A") as this program uses
// it — one line of text in one character format: a font (face, height in twips, effects),
// a text colour, a background colour and a paragraph alignment (left, right, centred).
//
// Positions (GetSel, SetSel, EM_EXSETSEL) count characters, as the rich edit control does
// for every window: a double-byte character of code page 932 is one position, not two.
// The texts handed in and out (GetWindowText, ReplaceSel, GetSelText) are code page 932.
//
// Notifications to the parent: EN_SETFOCUS and EN_KILLFOCUS always; EN_UPDATE and EN_CHANGE
// only when the event mask asks for them (ENM_UPDATE, ENM_CHANGE), after every change of the
// text — typed, pasted, cut, replaced, undone, or set with SetWindowText (except in a
// control with ES_MULTILINE, which does not report text set as a whole). Key and character
// messages reach the window's message map before the control acts on them, so a subclass
// can take Enter, Esc or the arrows for itself. Text the input method commits is inserted
// as typed text.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/core/WinDefs.h"

#define RICHEDIT_CLASS "RichEdit20A"

// Character formats.
constexpr DWORD CFM_BOLD = 0x00000001;
constexpr DWORD CFM_ITALIC = 0x00000002;
constexpr DWORD CFM_UNDERLINE = 0x00000004;
constexpr DWORD CFM_STRIKEOUT = 0x00000008;
constexpr DWORD CFM_PROTECTED = 0x00000010;
constexpr DWORD CFM_LINK = 0x00000020;
constexpr DWORD CFM_CHARSET = 0x08000000;
constexpr DWORD CFM_OFFSET = 0x10000000;
constexpr DWORD CFM_FACE = 0x20000000;
constexpr DWORD CFM_COLOR = 0x40000000;
constexpr DWORD CFM_SIZE = 0x80000000;
constexpr DWORD CFM_EFFECTS =
    CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_COLOR | CFM_STRIKEOUT | CFM_PROTECTED | CFM_LINK;
constexpr DWORD CFM_ALL = CFM_EFFECTS | CFM_SIZE | CFM_FACE | CFM_OFFSET | CFM_CHARSET;

constexpr DWORD CFE_BOLD = 0x00000001;
constexpr DWORD CFE_ITALIC = 0x00000002;
constexpr DWORD CFE_UNDERLINE = 0x00000004;
constexpr DWORD CFE_STRIKEOUT = 0x00000008;
constexpr DWORD CFE_PROTECTED = 0x00000010;
constexpr DWORD CFE_LINK = 0x00000020;
constexpr DWORD CFE_AUTOCOLOR = 0x40000000;

constexpr WPARAM SCF_DEFAULT = 0x0000;
constexpr WPARAM SCF_SELECTION = 0x0001;
constexpr WPARAM SCF_WORD = 0x0002;
constexpr WPARAM SCF_ALL = 0x0004;

// Paragraph formats.
constexpr DWORD PFM_STARTINDENT = 0x00000001;
constexpr DWORD PFM_RIGHTINDENT = 0x00000002;
constexpr DWORD PFM_OFFSET = 0x00000004;
constexpr DWORD PFM_ALIGNMENT = 0x00000008;
constexpr WORD PFA_LEFT = 1;
constexpr WORD PFA_RIGHT = 2;
constexpr WORD PFA_CENTER = 3;
constexpr int MAX_TAB_STOPS = 32;

// Event mask.
constexpr DWORD ENM_NONE = 0x00000000;
constexpr DWORD ENM_CHANGE = 0x00000001;
constexpr DWORD ENM_UPDATE = 0x00000002;
constexpr DWORD ENM_SCROLL = 0x00000004;
constexpr DWORD ENM_KEYEVENTS = 0x00010000;
constexpr DWORD ENM_MOUSEEVENTS = 0x00020000;
constexpr DWORD ENM_REQUESTRESIZE = 0x00040000;
constexpr DWORD ENM_SELCHANGE = 0x00080000;
constexpr DWORD ENM_DROPFILES = 0x00100000;
constexpr DWORD ENM_PROTECTED = 0x00200000;

// Notifications of the rich edit control beside the edit control's.
constexpr UINT EN_MSGFILTER = 0x0700;
constexpr UINT EN_REQUESTRESIZE = 0x0701;
constexpr UINT EN_SELCHANGE = 0x0702;

// Messages.
constexpr UINT EM_CANPASTE = WM_USER + 50;
constexpr UINT EM_EXGETSEL = WM_USER + 52;
constexpr UINT EM_EXLIMITTEXT = WM_USER + 53;
constexpr UINT EM_EXSETSEL = WM_USER + 55;
constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;
constexpr UINT EM_GETEVENTMASK = WM_USER + 59;
constexpr UINT EM_GETPARAFORMAT = WM_USER + 61;
constexpr UINT EM_GETSELTEXT = WM_USER + 62;
constexpr UINT EM_HIDESELECTION = WM_USER + 63;
constexpr UINT EM_SELECTIONTYPE = WM_USER + 66;
constexpr UINT EM_SETBKGNDCOLOR = WM_USER + 67;
constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;
constexpr UINT EM_SETEVENTMASK = WM_USER + 69;
constexpr UINT EM_SETPARAFORMAT = WM_USER + 71;
constexpr UINT EM_REDO = WM_USER + 84;
constexpr UINT EM_CANREDO = WM_USER + 85;
constexpr UINT EM_GETTEXTLENGTHEX = WM_USER + 95;

// EM_SELECTIONTYPE results.
constexpr WORD SEL_EMPTY = 0x0000;
constexpr WORD SEL_TEXT = 0x0001;

// EM_GETTEXTLENGTHEX flags.
constexpr DWORD GTL_DEFAULT = 0;
constexpr DWORD GTL_USECRLF = 1;
constexpr DWORD GTL_PRECISE = 2;
constexpr DWORD GTL_CLOSE = 4;
constexpr DWORD GTL_NUMCHARS = 8;
constexpr DWORD GTL_NUMBYTES = 16;

struct CHARRANGE {
    LONG cpMin;
    LONG cpMax;
};

struct CHARFORMAT {
    UINT cbSize;
    DWORD dwMask;
    DWORD dwEffects;
    LONG yHeight; // twips
    LONG yOffset;
    COLORREF crTextColor;
    BYTE bCharSet;
    BYTE bPitchAndFamily;
    char szFaceName[LF_FACESIZE];
};

struct PARAFORMAT {
    UINT cbSize;
    DWORD dwMask;
    WORD wNumbering;
    WORD wEffects;
    LONG dxStartIndent;
    LONG dxRightIndent;
    LONG dxOffset;
    WORD wAlignment;
    short cTabCount;
    LONG rgxTabs[MAX_TAB_STOPS];
};

struct GETTEXTLENGTHEX {
    DWORD flags;
    UINT codepage;
};

class CRichEditCtrl : public CWnd {
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    CRichEditCtrl() = default;

    // dwStyle: WS_ and ES_ styles (ES_AUTOHSCROLL, ES_READONLY, ES_MULTILINE, WS_BORDER).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- text and selection -------------------------------------------------------------
    // Character positions; nStartChar 0 and nEndChar -1 select everything, nStartChar -1
    // removes the selection.
    void SetSel(long nStartChar, long nEndChar);
    void SetSel(CHARRANGE& cr);
    void GetSel(long& nStartChar, long& nEndChar) const;
    void GetSel(CHARRANGE& cr) const;
    CString GetSelText() const;
    WORD GetSelectionType() const;
    // Replaces the selection (inserts at the caret when nothing is selected).
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    // The length in bytes of the text as GetWindowText gives it.
    long GetTextLength() const;
    long GetTextLengthEx(DWORD dwFlags, UINT uCodePage = 932) const;
    // The longest text, in characters (0: the control's default of 32767).
    void LimitText(long nChars = 0);
    long GetLimitText() const;
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);

    // ---- editing ------------------------------------------------------------------------
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    BOOL Undo();
    BOOL CanUndo() const;
    BOOL Redo();
    BOOL CanRedo() const;
    void EmptyUndoBuffer();
    BOOL CanPaste(UINT nFormat = 0) const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);

    // ---- format -------------------------------------------------------------------------
    // bSysColor: the window colour of the system; returns the previous colour.
    COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr);
    DWORD GetDefaultCharFormat(CHARFORMAT& cf) const;
    BOOL SetDefaultCharFormat(CHARFORMAT& cf);
    DWORD GetSelectionCharFormat(CHARFORMAT& cf) const;
    BOOL SetSelectionCharFormat(CHARFORMAT& cf);
    DWORD GetParaFormat(PARAFORMAT& pf) const;
    BOOL SetParaFormat(PARAFORMAT& pf);
    DWORD GetEventMask() const;
    DWORD SetEventMask(DWORD dwEventMask);
    void HideSelection(BOOL bHide, BOOL bPerm);

private:
    LRESULT Send(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const;
};
