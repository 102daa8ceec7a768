// Code page 932 (Shift-JIS) text helpers of the DOS-edition conversion. The helpers that
// the rest of the program shares (blanks and their trimming, full-width numbers typed by
// people, the classification of full-width text) are in platform/base/Cp932Text.h and are
// reached through this header; what only the conversion uses would be here.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Cp932Text.h"
