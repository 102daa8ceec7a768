// CKeptTotals: what an estimate's totals were worked out from, kept between recalculations
// so that an edit rewrites only the totals it can change (Recalc) instead of walking every
// row of the estimate.
//
// The sums are kept as whole numbers (CWholeSums): while every number a total adds is whole
// and the magnitudes of all of them add up to at most 2^52, each sum is exact whatever the
// order of the additions, so a total's sum after an edit is its kept sum plus the edit's
// difference, byte for byte what adding its rows again gives. Anything else (a number with
// decimals, step or classification rows, which read other rows' results) leaves the work to
// the walk over the rows.
//
// What is kept stands while the edit page's change count (CGridRowArray::GetChangeCount) is
// the one it was made at: the engine notes every change it makes itself (NoteCellChange,
// NoteKindChange, NoteNeutralChange), and a row written in any other way moves the count
// away, which drops what is kept. Inserted or deleted rows, a file read, another form, a
// renamed heading or discount total, a kind changed to or from a heading, total, free, step
// or classification kind, or more than 256 changed rows drop it too.
#pragma once

#include "engine/estimate/CWholeSums.h"
#include "engine/estimate/RowKinds.h"
#include "platform/base/CString.h"

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

class CEstimateEngine;

class CKeptTotals {
public:
    // Whether the sums are kept and follow the rows (an edit's recalculation can use them).
    bool IsBuilt() const { return m_eState == stateBuilt; }
    // Whether nothing is kept, nor being made from a walk's record.
    bool IsOff() const { return m_eState == stateOff; }
    // Whether the rows hold one the kept sums cannot follow (a step or classification row, a
    // number they cannot keep): a walk that recorded them would give up there again.
    bool IsBlocked() const { return m_eState == stateBlocked; }
    void Forget() { m_eState = stateOff; }
    // Whether the engine's next change of a row can be noted: something is kept and nothing
    // else changed the rows since they were last known (nChangeCount: the store's count
    // now). Asked before the change, Note... after it.
    bool IsInStep(unsigned long long nChangeCount) const;
    void NoteCellChange(const CEstimateEngine& engine, bool bInStep, int nRow, int nCol);
    void NoteKindChange(const CEstimateEngine& engine, bool bInStep, int nRow, ERowKind nOldKind,
                        ERowKind nNewKind);
    // A change that moves no number (an indent).
    void NoteNeutralChange(bool bInStep, unsigned long long nChangeCount);

    // The totals the edits since the kept sums were made can change, rewritten from the
    // sums (RecalcTotals from nFromRow): false, having written nothing that the walk would
    // not write, when they cannot serve (the walk then does the work).
    bool Recalc(CEstimateEngine& engine, int nFromRow);
    // After a walk from nFromRow: the totals from there down show their sums; changes from
    // now on are noted.
    void Start(const CEstimateEngine& engine, int nFromRow);
    // The sums of the rows as they stand, made without writing a row (an estimate just read):
    // no total is taken to show its sums, so the first recalculation rewrites those from its
    // first row down, as a walk would, and reads no other row. false, keeping nothing, where
    // the rows are of a kind the kept sums cannot follow.
    bool BuildFromTheRows(const CEstimateEngine& engine);

    // The walk that reads every row from the first records each row's kind and the
    // numbers of its summed columns; the sums are made from them at the next edit.
    // MayRecordInWalk: whether a walk from nFromRow should record (rows the kept sums cannot
    // follow stay so; a number they could not keep is looked at again from the first row).
    bool MayRecordInWalk(int nFromRow) const;
    // Where the walk writes the record: per row its kind, per row and summed column the
    // number the kept sums take (0 where no sum adds it), and the summed columns, with
    // whether each adds subtotal rows.
    struct CRecord {
        ERowKind* pKinds;
        int64_t* pValues;
        const int* pColumns;
        const char* pBySubtotals;
        size_t nSums;
    };
    // Starts the record for the engine's summed columns: false where the rows are of a
    // kind the kept sums cannot follow.
    bool StartRecord(const CEstimateEngine& engine, CRecord& record);
    // The walk met a row the kept sums cannot follow: a step or classification row, or a
    // number they cannot keep (bByNumber).
    void StopRecord(const CEstimateEngine& engine, bool bByNumber) { Block(engine, bByNumber); }
    // The walk wrote the totals from nFromRow up to nWriteEnd (not those from there on).
    void EndRecord(const CEstimateEngine& engine, int nFromRow, int nWriteEnd);
    // Makes the sums of the walk's record at once, instead of at the next edit (nothing
    // where no walk recorded the rows, or nothing changed since).
    void BuildFromWalk(const CEstimateEngine& engine);
    // After a walk that recorded every row and wrote the totals above the first tax row
    // only (nTaxRow): the sums made of its record, then every tax row from nTaxRow down
    // given the tax and every total below rewritten from the sums, instead of a second walk
    // over the rows. false where the record cannot serve (the walk then does the work).
    bool FinishBelowTheTax(CEstimateEngine& engine, int nTaxRow);

    // Whether the kept sums hold the rows as they are (built, nothing changed since).
    bool IsCurrent(const CEstimateEngine& engine) const;
    const std::vector<ERowKind>& GetKinds() const { return m_kinds; }
    // What SumEstimateAmount gives, from the kept sums while they are current.
    bool TakeAmount(const CEstimateEngine& engine, int nCol, bool bExcludeFree, double& amount) const;
    // The consistency check (see CEstimateEngine::KeptSumsMatchTheRows): every row counts its
    // changes in the edit page's count, and the kinds, numbers and sums kept are those a
    // walk over the rows gives.
    bool MatchesTheRows(const CEstimateEngine& engine) const;

private:
    // The tests of the consistency check break a kept sum on purpose.
    friend struct CKeptTotalsProbe;

    enum EState {
        stateOff,      // nothing kept: the next recalculation walks the rows
        stateTracking, // the totals from nFirstFresh down show their sums; the rows the engine
                       // changed since are noted (the sums are made at the next edit)
        stateRecorded, // a walk over every row recorded their kinds and numbers (below);
                       // the sums are made from them at the next edit, and the rows the
                       // engine changed since are noted
        stateBuilt,    // the sums below are kept and follow the rows
        stateBlocked,  // the estimate holds rows the kept sums cannot follow; it stays so
                       // until a row's kind or the rows' order changes (or, when it was a
                       // number, until a recalculation from the first row)
    };
    // The heading levels, in the order of the running sums.
    enum { slotKind, slotLarge, slotMiddle, slotSmall, SLOTS };
    static int SlotOfLevel(ETotalLevel nLevel);
    struct CTotal {
        int nRow;
        int nStart; // the first row of the rows it adds (it adds nStart to nRow - 1)
        ERowKind nKind;
    };

    // Clears everything kept.
    void Clear() { *this = CKeptTotals(); }
    void Block(const CEstimateEngine& engine, bool bByNumber);
    bool BuildFromRows(const CEstimateEngine& engine);
    bool BuildFromRecord(const CEstimateEngine& engine);
    bool StartKeepingRows(const CEstimateEngine& engine, bool bAllocate);
    bool KeepRow(const CEstimateEngine& engine, int nRow, ERowKind nKind, const int64_t* pValues);
    void EndKeepingRows();
    // Reads a row's kind and the numbers of its summed columns as the kept sums take them;
    // false for a number they cannot keep.
    bool ReadRow(const CEstimateEngine& engine, int nRow, ERowKind& nKind, int64_t* pValues) const;
    // Adds the change of a row's numbers to the totals that add the row, and marks those
    // for rewriting (the ones from nFromRow down) or as stale. The grand totals take it
    // later, in row order (m_grandChanges).
    class CPending;
    bool ApplyChange(int nRow, ERowKind nOldKind, const int64_t* pOld, ERowKind nNewKind, const int64_t* pNew,
                     int nFromRow, CPending& pending);
    // The totals that add the row (any of its numbers): the heading totals over it, the
    // grand totals below it (bGrand) and the discount totals over it (bDiscounts).
    template <typename Visit>
    void ForTotalsOver(int nRow, bool bGrand, bool bDiscounts, Visit visit) const;
    void NoteChangedRow(int nRow);

    EState m_eState = stateOff;
    bool m_bBlockedByNumber = false;
    // The edit page's change count when the rows were last known.
    unsigned long long m_nChanges = 0;
    int m_nUsedRows = 0;
    // The totals from this row down showed their sums when the tracking started; those from
    // m_nFreshEnd on did not (a walk that left them to the rewrite below the first tax row).
    int m_nFirstFresh = 0;
    int m_nFreshEnd = INT_MAX;
    // The column rules of the form the sums were made under.
    std::string m_strRules;
    // Rows whose cells or (ordinary) kind the engine changed since the rows were last known.
    std::vector<int> m_changedRows;

    // ---- kept sums (stateBuilt) ----
    std::vector<int> m_columns;        // the summed columns (CEstimateEngine::GetTotalColumns)
    std::vector<char> m_bySubtotals;   // per summed column: it adds subtotal rows ("計 B")
    std::vector<ERowKind> m_kinds;     // per row
    std::vector<int64_t> m_values;     // per row and summed column: the number its text reads
                                       // as (0 where the row's kind is never added)
    std::vector<int64_t> m_estimate;   // per summed column: the leaf rows other than free rows
    std::vector<int64_t> m_leaves;     // per summed column: every leaf row
    std::vector<CWholeSums> m_budgets; // per summed column: the magnitudes of every number
    // The totals the recalculation writes (not those it leaves alone), in row order, with
    // their sums (total x summed columns).
    std::vector<CTotal> m_totals;
    std::vector<int64_t> m_sums;
    std::vector<int> m_headings[SLOTS];    // the heading rows of each level
    std::vector<int> m_levelTotals[SLOTS]; // the totals of each heading level (indices)
    std::vector<int> m_grandTotals;        // indices
    // While a recalculation goes down the rows: the changes the grand totals have still to
    // take, per grand total (its place in m_grandTotals) and summed column, each to be
    // added to that grand total and every one after it. A changed row thus costs one entry,
    // not one addition per grand total below it (an estimate may hold hundreds).
    std::vector<int64_t> m_grandChanges;
    std::vector<int> m_discountTotals;     // indices
    std::vector<int> m_freeRows;
    // The last discount total row of every kind (also one left alone) and its level: the
    // recalculation leaves the engine's discount level at that of the last one it meets.
    int m_nLastDiscountRow = -1;
    ETotalLevel m_nLastDiscountLevel = LevelFromNumber(0);
    // The tax every free row shows, as a recalculation through the sums last gave it to all
    // of them (m_bTaxShown): while the tax stays the same, a free row no change reached is
    // not rewritten (it would come out as it is).
    bool m_bTaxShown = false;
    int m_nShownTaxColumns[2] = {-1, -1};
    CString m_strShownTax[2];
    // Totals that may not show their sums (indices, in any order, some more than once):
    // those above the rows a recalculation started from, which it does not rewrite.
    std::vector<int> m_stale;

    // ---- while the sums are made row by row (KeepRow) ----
    // What the rows so far add per summed column (by its mode), the discount rows' sums,
    // the former where each level's heading started, and the latter at each heading (per
    // level, in the order of headings).
    std::vector<int64_t> m_running;
    std::vector<int64_t> m_discounts;
    std::vector<int64_t> m_started;
    std::vector<int64_t> m_discountsAtHeading[SLOTS];
    int m_nNameCol = 0;
};
