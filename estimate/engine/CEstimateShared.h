// The state that all estimate windows share on the one user-interface thread, kept in one
// place. It is process-wide because it belongs to what the user does, not to one window:
// while one estimate prints, every row container serves its print copy; the copy mode of
// the row and cell clipboard is that of the application's one buffer; the two-pass paint
// flag runs across the views painted in one round; only one window at a time has the
// keyboard and the mouse, so the characters typed into an opening editor and the point
// the left button last went down in a subject tree are kept once, for whichever window
// has them now.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

class CEstimateShared {
public:
    // Set by printing after the print copies exist and cleared before they are dropped;
    // while set, every CGridRowArray works on its print copy.
    static bool s_bPrintCopy;
    // What the last copy or cut put into the application's buffers (0 nothing yet).
    static int s_nCopyMode;
    // Alternates between the two passes of the cell painting.
    static bool s_bPaintPass;
    // The characters typed since an estimate grid's editor opened by typing (code page 932
    // bytes); emptied when the next editor opens by typing.
    static CString s_strTypedChars;
    // Where the left button was last pressed in a subject tree (client coordinates of that
    // tree): a drag that begins there takes the item under it.
    static CPoint s_ptLastTreePress;
    // Find and replace: the length in bytes of the last find text and where the last match
    // began in its cell's text (-1 when the last search failed or the match was replaced).
    // A replace works on the match the last find showed, in whichever grid it is asked.
    static int s_nFindLength;
    static int s_nFindPosition;
    // The column the sort command orders rows by, read by the row comparisons.
    static int s_nSortColumn;
    // The fixed-rate calculation text ("*1.2") last confirmed, shown whenever the
    // calculation dialog opens, from either grid; empty when the program starts.
    static CString s_strRateFormula;
};

inline bool IsPrintCopyActive()
{
    return CEstimateShared::s_bPrintCopy;
}
inline void SetPrintCopyActive(bool bActive)
{
    CEstimateShared::s_bPrintCopy = bActive;
}
