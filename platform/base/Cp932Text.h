// Helpers on code page 932 (Shift-JIS) texts that people type: recognising and trimming
// blanks, dropping line breaks from a text that goes into a line of a file, turning numbers
// typed with full-width characters into ASCII, and telling whether a text starts with a
// full-width symbol or a full-width letter, digit or kana. The cell editors, the estimate
// and parts grids and their CSV files, the setup sheets, the dialogs and the DOS conversion
// all use these one definitions.
//
// Only the lead bytes 0x81 (full-width symbols, the full-width blank 0x81 0x40 among
// them) and 0x82 (full-width digits, letters and kana) are looked at; every other
// double-byte character counts as "something else". (Cp932.h has the general lead-byte
// rule.)
#pragma once

#include "platform/base/CString.h"

// The longest text the number converters produce. A converted text would be longer
// only for input the cell editors never pass; such a text is refused (-1) and left as
// it was rather than cut, so that no digit is silently lost.
constexpr int MAX_HALF_WIDTH_NUMBER = 255;

// For the character at p: -1 a half-width blank, -2 the full-width blank, 0 otherwise.
int IsBlankChar(const char* p);

// The text without its leading and trailing half-width blanks (' '). Full-width blanks
// stay; an all-blank text gives an empty text. Every byte between stays, zero bytes too.
CString TrimBlanks(const CString& text);
// The text without a CR or LF byte. The text files written from cells break their lines at
// these bytes wherever they stand, also after a lead byte (which they cannot follow in a
// valid character), so none may stay; every other byte stays, zero bytes too.
CString RemoveLineBreaks(const CString& text);

// Rewrites a text made only of full-width digits, the full-width signs , . / + - * = and
// their look-alikes (、。×÷) and blanks into ASCII, dropping the blanks; returns 0.
// At any other character (ASCII digits included) returns -1 and leaves the text as it
// was. The char* form works on a zero-terminated text in place.
int ToHalfWidthNumber(char* text);
int ToHalfWidthNumber(CString& text);

// As ToHalfWidthNumber, and ASCII digits are kept as they are. Other ASCII characters
// (".", "-", "," among them) still give -1.
int ToHalfWidthNumberMixed(char* text);
int ToHalfWidthNumberMixed(CString& text);

// Skips leading blanks (half- and full-width) and classifies the first other character:
// 0 a full-width symbol (lead byte 0x81), 1 a full-width digit, letter or kana (lead
// byte 0x82), -1 anything else. A text that is empty or only blanks is emptied and
// gives 0; otherwise the text is not changed.
int ClassifyFullWidthText(char* text);
int ClassifyFullWidthText(CString& text);
