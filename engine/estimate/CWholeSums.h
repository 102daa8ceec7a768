// CWholeSums: the sums of one summed column in whole numbers, exact up to 2^52.
//
// A double holds every whole number up to 2^53 exactly. While every number a column adds is
// whole and the magnitudes of all of them add up to at most 2^52, every sum of some of them,
// and every difference of two such sums, is a whole number of at most 2^52 in magnitude:
// exact, whatever the order of the additions. A compensated sum (CCompensatedSum) of the same
// numbers in row order then carries nothing at any step and comes to the same double. So the
// totals walk (CTotalsWalk) and the kept totals (CKeptTotals) add such numbers as 64-bit
// integers: a total's sum is the difference of two running sums, or a kept sum plus an
// edit's difference, byte for byte what adding its rows again gives. What a column has
// taken (the magnitudes of its numbers) is its budget; a number that is no whole number, or
// one that would take the budget past 2^52, leaves the column to the compensated sums.
#pragma once

#include "engine/estimate/CCompensatedSum.h"

#include <cstdint>
#include <cstdlib>

class CWholeSums {
public:
    static constexpr int64_t LIMIT = int64_t{1} << 52;

    // The whole number a double is: false for a fraction, a magnitude past LIMIT or NaN.
    [[nodiscard]] static bool ToWhole(double value, int64_t& nValue)
    {
        if (!((value >= 0 ? value : -value) <= static_cast<double>(LIMIT)))
            return false;
        nValue = static_cast<int64_t>(value);
        return static_cast<double>(nValue) == value;
    }
    // The compensated sum that a whole sum of exact additions stands for.
    [[nodiscard]] static CCompensatedSum Compensated(int64_t nSum)
    {
        return CCompensatedSum::OfExact(static_cast<double>(nSum));
    }

    // Takes a number of the column into the budget: false once the magnitudes taken pass
    // LIMIT (the sums are then no longer exact in every order).
    [[nodiscard]] bool Take(int64_t nValue)
    {
        m_nMagnitudes += std::llabs(nValue);
        return m_nMagnitudes <= LIMIT;
    }
    // A number taken before, replaced by another (an edit of its row).
    [[nodiscard]] bool Replace(int64_t nOld, int64_t nNew)
    {
        m_nMagnitudes += std::llabs(nNew) - std::llabs(nOld);
        return m_nMagnitudes <= LIMIT;
    }
    bool operator==(const CWholeSums& other) const = default;

private:
    int64_t m_nMagnitudes = 0;
};
