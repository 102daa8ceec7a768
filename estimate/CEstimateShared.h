// The state that all estimate windows share on the one user-interface thread, kept in one
// place: while one estimate prints, every row container serves its print copy; the copy
// mode of the row and cell clipboard and the two-pass paint flag are common to all views.
#pragma once

#include "platform/base/Types.h"

class CEstimateShared {
public:
    // Set by printing after the print copies exist and cleared before they are dropped;
    // while set, every CGridRowArray works on its print copy.
    static BOOL s_bPrintCopy;
    // What the last copy or cut put into the application's buffers (0 nothing yet).
    static int s_nCopyMode;
    // Alternates between the two passes of the cell painting.
    static BOOL s_bPaintPass;
};

inline BOOL IsPrintCopyActive()
{
    return CEstimateShared::s_bPrintCopy;
}
inline void SetPrintCopyActive(BOOL bActive)
{
    CEstimateShared::s_bPrintCopy = bActive ? TRUE : FALSE;
}
