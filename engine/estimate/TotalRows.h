// What the engine writes into a total row and a tax row: the sums of a total's summed
// columns, and a tax row's texts. The totals walk and the kept totals work them out; the
// engine's WriteTotalRow and WriteTaxRow write them.
#pragma once

#include "engine/estimate/CCompensatedSum.h"
#include "engine/estimate/CEstimateColumns.h"
#include "platform/base/CString.h"

// A column the totals add up (not "計 C"; a "V" code; leaf rows or subtotals) with its sum.
struct CTotalColumn {
    int nCol;
    CEstimateColumns::ETotalMode eTotalMode;
    CCompensatedSum sum;
};

// What a tax row is given: the amount column (the first whose "V" code is "2", else column
// 0) and its tax, and the second column (the first whose "V" code is "3", or -1) with its
// text: the same tax, or with the vertical total the second column's own.
struct CTaxTexts {
    int nAmountCol = 0;
    int nSecondCol = -1;
    CString strTax;
    CString strSecondTax;
    // What the two cells of a tax row store for them, made once for every tax row.
    CString strStoredTax;
    CString strStoredSecondTax;

    // Whether every tax row given these texts shows what one given the other texts shows.
    bool SameAs(const CTaxTexts& other) const
    {
        return nAmountCol == other.nAmountCol && nSecondCol == other.nSecondCol &&
               strStoredTax == other.strStoredTax && strStoredSecondTax == other.strStoredSecondTax;
    }
};
