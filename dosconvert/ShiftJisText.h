// Code page 932 (Shift-JIS) text helpers of the DOS-edition conversion. The helpers that
// the rest of the program shares (blanks, full-width numbers typed by people, the
// classification of full-width text) are in platform/base/Cp932Text.h and are reached
// through this header too; what only the conversion uses is here.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Cp932Text.h"

// The text without its leading and trailing half-width blanks (' '). Full-width blanks
// stay; an all-blank text gives an empty text.
CString TrimBlanks(const char* text);
