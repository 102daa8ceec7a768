// What the estimate view's totals were worked out from, kept between recalculations so that
// an edit rewrites only the totals it can change (CMorvelEMView::RecalcKeptTotals) instead
// of walking every row of the estimate.
//
// The sums are kept as whole numbers: while every number a total adds is whole and the
// magnitudes of all of them add up to at most 2^52, each sum the recalculation makes is
// exact whatever the order of the additions, so a total's sum after an edit is its kept
// sum plus the edit's difference, byte for byte what adding its rows again gives. Anything
// else (a number with decimals, step or classification rows, which read other rows' results)
// leaves the work to the walk over the rows.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

struct CKeptTotals {
    enum EState {
        stateOff,      // nothing kept: the next recalculation walks the rows
        stateTracking, // the totals from nFirstFresh down show their sums; the rows the view
                       // changed since are noted (the sums are made at the next edit)
        stateRecorded, // a walk over every row recorded their kinds and numbers (below);
                       // the sums are made from them at the next edit, and the rows the
                       // view changed since are noted
        stateBuilt,    // the sums below are kept and follow the rows
        stateBlocked,  // the estimate holds rows the kept sums cannot follow; it stays so
                       // until a row's kind or the rows' order changes (or, when it was a
                       // number, until a recalculation from the first row)
    };
    // The heading levels, in the order of the running sums.
    enum { slotKind, slotLarge, slotMiddle, slotSmall, SLOTS };

    EState eState = stateOff;
    bool bBlockedByNumber = false;
    // The edit page's change count (CGridRowArray::GetChangeCount) when the rows were last
    // known: a row written in any other way than through the view's noted changes moves the
    // count away, and what is kept is dropped.
    unsigned long long nChanges = 0;
    int nUsedRows = 0;
    // The totals from this row down showed their sums when the tracking started.
    int nFirstFresh = 0;
    // The column rules of the form the sums were made under.
    std::string strRules;
    // Rows whose cells or (ordinary) kind the view changed since the rows were last known.
    std::vector<int> changedRows;

    // ---- kept sums (stateBuilt) ----
    std::vector<int> columns;        // the summed columns (CMorvelEMView::GetTotalColumns)
    std::vector<char> bySubtotals;   // per summed column: it adds subtotal rows ("計 B")
    std::vector<int> kinds;          // per row
    std::vector<int64_t> values;     // per row and summed column: the number its text reads as
                                     // (0 where the row's kind is never added)
    std::vector<int64_t> estimate;   // per summed column: the leaf rows other than free rows
    std::vector<int64_t> leaves;     // per summed column: every leaf row
    std::vector<int64_t> magnitudes; // per summed column: the magnitudes of every number added
    struct CTotal {
        int nRow;
        int nStart; // the first row of the rows it adds (it adds nStart to nRow - 1)
        int nKind;
    };
    // The totals the recalculation writes (not those it leaves alone), in row order, with
    // their sums (total x summed columns).
    std::vector<CTotal> totals;
    std::vector<int64_t> sums;
    std::vector<int> headings[SLOTS];    // the heading rows of each level
    std::vector<int> levelTotals[SLOTS]; // the totals of each heading level (indices)
    std::vector<int> grandTotals;        // indices
    std::vector<int> discountTotals;     // indices
    std::vector<int> freeRows;
    // The last discount total row of every kind (also one left alone) and its level: the
    // recalculation leaves the view's discount level at that of the last one it meets.
    int nLastDiscountRow = -1;
    int nLastDiscountLevel = 0;
    // Totals that may not show their sums (indices): those above the rows a recalculation
    // started from, which it does not rewrite.
    std::set<int> stale;

    // ---- while the sums are made row by row (CMorvelEMView::KeepRow) ----
    // What the rows so far add per summed column (by its mode), the discount rows' sums,
    // the former where each level's heading started, and the latter at each heading (per
    // level, in the order of headings).
    std::vector<int64_t> running;
    std::vector<int64_t> discounts;
    std::vector<int64_t> started;
    std::vector<int64_t> discountsAtHeading[SLOTS];
    int nNameCol = 0;

    void Clear()
    {
        *this = CKeptTotals();
    }
};
