// The state the parts-list windows of the program share: the characters typed to open a
// cell edit (kept until the editor has them) and the clipboard's copy mode. One place, so
// that every parts view sees the same values.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/core/WinDefs.h"

struct CPartsShared {
    // The characters that opened the current in-place edit (the first byte, and the trail
    // byte of a double-byte character that reaches the grid before the editor has the
    // focus).
    static CString s_strTypedText;
    // What the last copy of any parts window took: copyRows (a row selection) or
    // copyCells (a block of cells); copyNone while a cut found nothing to copy.
    enum { copyNone = 0, copyRows = 1, copyCells = 3 };
    static int s_nCopyMode;
    // The last find: its text, its request flags, the position of its match in the current
    // cell (-1 none) and its length in bytes. A replace acts on that match.
    static CString s_strFindText;
    static WPARAM s_nFindFlags;
    static int s_nFoundPos;
    static int s_nFindLength;
    // The pass of the grids' two-pass paint: set by a first paint that only invalidated
    // its area, cleared by the paint that draws. One flag for every parts window.
    static bool s_bPaintPass;
    // The clipboard format "Morvel PM Data" (registered on first use).
    static UINT GetDataFormat();
};
