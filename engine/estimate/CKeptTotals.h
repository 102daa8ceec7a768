// CKeptTotals: what an estimate's totals were worked out from, kept between recalculations
// so that an edit rewrites only the totals it can change instead of walking every row of
// the estimate.
//
// The sums are kept as whole numbers (CWholeSums): while every number a total adds is whole
// and the magnitudes of all of them add up to at most 2^52, each sum is exact whatever the
// order of the additions, so a total's sum after an edit is its kept sum plus the edit's
// difference, byte for byte what adding its rows again gives. Anything else (a number with
// decimals, step or classification rows, which read other rows' results) leaves the work to
// the walk over the rows.
//
// How the engine uses them:
// - Made by the totals walk that reads every row from the first (StartBuild, BuildRow per
//   row, EndBuild), or from the rows as they stand (BuildFromTheRows) where no walk made
//   them (an estimate just read, or a walk from a later row, after which only the rows
//   the engine changed are followed: FollowFrom).
// - Kept in step: the engine notes every change it makes itself (NoteCellChange,
//   NoteKindChange, NoteNeutralChange); a row written in any other way moves the edit
//   page's change count away from the one they know, which drops them. Inserted or
//   deleted rows, a file read, another form, a renamed heading or discount total, a kind
//   changed to or from a heading, total, free, step or classification kind, or more than
//   256 changed rows drop them too.
// - Used by a recalculation from a row (the engine's RecalcThroughKeptSums): the changed
//   rows' differences go to the totals over them (TakeChanges); then, in row order, the
//   totals whose sums moved, those not yet showing their sums and the tax rows are written
//   by the engine (NextRewrite) and read back (TakeRewritten), a rewritten total's change
//   going on to the totals below that add it.
// They read the estimate through the engine's public functions, and write nothing.
#pragma once

#include "engine/estimate/CWholeSums.h"
#include "engine/estimate/RowKinds.h"
#include "engine/estimate/TotalRows.h"

#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CEstimateEngine;

class CKeptTotals {
public:
    // ---- whether they are kept ----------------------------------------------------------
    // The sums are kept and follow the rows (a recalculation can use them).
    bool IsBuilt() const { return m_eState == stateBuilt; }
    // Nothing is kept.
    bool IsOff() const { return m_eState == stateOff; }
    // The rows hold one the sums cannot follow (a step or classification row, a number they
    // cannot keep): a walk that built them would give up there again.
    bool IsBlocked() const { return m_eState == stateBlocked; }
    void Forget() { m_eState = stateOff; }
    // Whether the sums hold the rows as they are (built, nothing changed since).
    bool IsCurrent(const CEstimateEngine& engine) const;

    // ---- the engine's own changes ---------------------------------------------------------
    // Whether the engine's next change of a row can be noted: something is kept and nothing
    // else changed the rows since they were last known (nChangeCount: the edit page's count
    // now). Asked before the change, Note... after it, with the count then.
    bool IsInStep(unsigned long long nChangeCount) const;
    // A cell written; bMovesRanges: the name a heading or a discount total is found by.
    void NoteCellChange(bool bInStep, unsigned long long nChangeCount, int nRow, bool bMovesRanges);
    void NoteKindChange(bool bInStep, unsigned long long nChangeCount, int nRow, ERowKind nOldKind,
                        ERowKind nNewKind);
    // A change that moves no number (an indent).
    void NoteNeutralChange(bool bInStep, unsigned long long nChangeCount);

    // ---- made from the rows ---------------------------------------------------------------
    // Whether a walk from nFromRow should build them (rows the sums cannot follow stay so; a
    // number they could not keep is looked at again from the first row).
    bool MayBuildInWalk(int nFromRow) const;
    // The walk that reads every row from the first: StartBuild (false where the form's
    // formulas on total rows are of a kind the sums cannot follow), then every row in order
    // (its numbers written at ValuesToBuild, 0 where no sum adds them; BuildRow: its kind,
    // and for a total whether the walk wrote it: one it left to the rewrite below a tax row,
    // or one above the rows it writes, may not show its sums), then EndBuild. BuildRow is false
    // at a row the sums cannot follow: they are blocked there, and the walk goes on alone.
    bool StartBuild(const CEstimateEngine& engine);
    // Where the walk writes the row's numbers before BuildRow takes them (all 0 until then).
    int64_t* ValuesToBuild(int nRow) { return RowValues(nRow); }
    bool BuildRow(const CEstimateEngine& engine, int nRow, ERowKind nKind, bool bTotalWritten)
    {
        if (nKind == kindDetail && nRow < static_cast<int>(m_kinds.size()))
            return KeepDetail(nRow);
        return BuildOtherRow(engine, nRow, nKind, bTotalWritten);
    }
    // false: the numbers are more than the sums can keep (they are then blocked).
    bool EndBuild(const CEstimateEngine& engine);
    // The walk met a row the sums cannot follow: a step or classification row, or a number
    // they cannot keep (bByNumber).
    void StopBuild(const CEstimateEngine& engine, bool bByNumber);
    // The sums of the rows as they stand, made without writing a row (an estimate just read):
    // no total is taken to show its sums, so the first recalculation rewrites those from its
    // first row down, as a walk would. false, keeping nothing, where the rows are of a kind
    // the sums cannot follow.
    bool BuildFromTheRows(const CEstimateEngine& engine);
    // After a walk from nFromRow that did not build them: the totals from there down show
    // their sums, and the rows the engine changes from now on are noted; the sums are made
    // from the rows at the next recalculation.
    void FollowFrom(const CEstimateEngine& engine, int nFromRow);
    // While the build goes on: the kinds and numbers of the rows so far (for the walks below
    // a tax row when the build gives up).
    const std::vector<ERowKind>& GetKinds() const { return m_kinds; }
    const int64_t* GetValues(int nRow) const { return RowValues(nRow); }

    // ---- a recalculation through them ------------------------------------------------------
    // What the engine writes next (NextRewrite): a total from its sums (one per summed
    // column), a total that adds no rows, or a tax row.
    struct CRewrite {
        enum EWhat { total, totalWithoutRows, taxRow };
        EWhat eWhat = total;
        int nRow = -1;
        ERowKind nKind = kindEmpty; // the kind the row must still have
        const int64_t* pSums = nullptr;
    };
    // The changes since the sums were last made, for a recalculation from nFromRow: each
    // changed row's difference added to the totals over it, and those marked for rewriting.
    // false where the sums cannot serve (the walk then does the work; nothing was written).
    bool TakeChanges(const CEstimateEngine& engine, int nFromRow);
    // Whether a tax row lies at or below nFromRow, and the estimate's amounts per summed
    // leaf column (what SumEstimateAmount gives without the free rows) for its tax.
    bool HasTaxRowFrom(int nFromRow) const;
    std::vector<std::pair<int, CCompensatedSum>> GetEstimateAmounts() const;
    // The tax rows are rewritten with these texts (those no change reached are left alone
    // when they show them already); then the rewrites in row order, each read back after
    // the engine wrote it (false: the rows are not what the sums know, which drops them);
    // then EndRewrite.
    void StartRewrite(const CTaxTexts& tax);
    bool NextRewrite(CRewrite& rewrite);
    bool TakeRewritten(const CEstimateEngine& engine, int nRow);
    void EndRewrite(const CEstimateEngine& engine);
    // The level of the last discount total at or below nFromRow (the recalculation leaves
    // the engine's discount level at it): false when there is none.
    bool LastDiscountLevelFrom(int nFromRow, ETotalLevel& nLevel) const;

    // ---- read while they are current ------------------------------------------------------
    // What SumEstimateAmount gives.
    bool TakeAmount(const CEstimateEngine& engine, int nCol, bool bExcludeFree, double& amount) const;
    // The consistency check (see CEstimateEngine::KeptSumsMatchTheRows): every row counts its
    // changes in the edit page's count, and the kinds, numbers and sums kept are those a
    // walk over the rows gives.
    bool MatchesTheRows(const CEstimateEngine& engine) const;

private:
    // The tests of the consistency check break a kept sum on purpose.
    friend struct CKeptTotalsProbe;

    // The numbers of a row the store holds (one per summed column). Only such a row is
    // asked for: an estimate without rows has an empty store, and no pointer is made into
    // it, not even one past its end.
    int64_t* RowValues(int nRow);
    const int64_t* RowValues(int nRow) const;

    enum EState {
        stateOff,       // nothing kept: the next recalculation walks the rows
        stateFollowing, // the totals from m_nFirstFresh down show their sums; the rows the
                        // engine changed since are noted (the sums are made at the next
                        // recalculation)
        stateBuilt,     // the sums below are kept and follow the rows
        stateBlocked,   // the estimate holds rows the sums cannot follow; it stays so until
                        // a row's kind or the rows' order changes (or, when it was a number,
                        // until a recalculation from the first row)
    };
    // The heading levels, in the order of the running sums.
    enum { slotKind, slotLarge, slotMiddle, slotSmall, SLOTS };
    static int SlotOfLevel(ETotalLevel nLevel);
    struct CTotal {
        int nRow;
        int nStart; // the first row of the rows it adds (it adds nStart to nRow - 1)
        ERowKind nKind;
        bool bAddsRows; // false: no heading, or no rows between the heading and itself
    };
    // The totals a recalculation rewrites, taken in row order (a total's index follows its
    // row), each marked once however many changed rows it adds: a heap over the indices
    // with a mark per total (an estimate's first recalculation may rewrite thousands).
    class CPending {
    public:
        void Reset(size_t nTotals)
        {
            m_marked.assign(nTotals, 0);
            m_heap.clear();
        }
        void Mark(int nIndex);
        // Whether the total was marked; it is not any more.
        bool Unmark(int nIndex);
        // The first marked total, or -1.
        int First();

    private:
        std::vector<char> m_marked;
        std::vector<int> m_heap;
    };

    void Clear() { *this = CKeptTotals(); }
    void Block(const CEstimateEngine& engine, bool bByNumber);
    // Whether the rows and the form are the ones the sums know (bFollowing: or may be made
    // from the rows).
    bool KnowsTheRows(const CEstimateEngine& engine) const;
    void NoteChangedRow(int nRow);
    // Reads a row's kind and the numbers of its summed columns as the sums take them; false
    // for a number they cannot keep.
    bool ReadRow(const CEstimateEngine& engine, int nRow, ERowKind& nKind, int64_t* pValues) const;

    // The build, row by row: a heading, a total of each kind, and the numbers a row adds.
    bool StartKeepingRows(const CEstimateEngine& engine);
    bool BuildFromRows(const CEstimateEngine& engine);
    void KeepHeading(int nRow, ERowKind nKind);
    void KeepTotal(int nRow, ERowKind nKind);
    void KeepDiscountTotal(const CEstimateEngine& engine, int nRow, ERowKind nKind);
    void KeepTotalWithoutRows(int nRow, ERowKind nKind);
    bool KeepNumbers(int nRow, ERowKind nKind);
    bool BuildOtherRow(const CEstimateEngine& engine, int nRow, ERowKind nKind, bool bTotalWritten);
    // The common row, a detail: its kind is kept now, its numbers are added up with those of
    // the details after it when another row comes (TakeDetails).
    bool KeepDetail(int nRow)
    {
        m_kinds[static_cast<size_t>(nRow)] = kindDetail;
        return true;
    }
    // The details from m_nAddedTo up to nRow, added to the running sums: only the columns
    // over leaf rows add them (their numbers in the others are 0). false past the budget.
    bool TakeDetails(int nRow);
    // The totals that may not show their sums: those above m_nFirstFresh, those the walk
    // did not write, those over the rows changed since.
    void EndKeepingRows();

    // The rewrite: a row's change of numbers added to the totals that add it, which are
    // marked for rewriting (those from the recalculation's first row) or as stale; the
    // grand totals take it later, in row order (m_grandChanges).
    bool ApplyChange(int nRow, ERowKind nOldKind, const int64_t* pOld, ERowKind nNewKind,
                     const int64_t* pNew);
    void MarkTotal(int nIndex);
    // The totals that add the row (any of its numbers): the heading totals over it, the
    // grand totals below it (bGrand) and the discount totals over it (bDiscounts).
    template <typename Visit>
    void ForTotalsOver(int nRow, bool bGrand, bool bDiscounts, Visit visit) const;
    // The index of the total at nRow, or -1.
    int FindTotal(int nRow) const;
    // The next grand total takes the changes of the rows above it: true when its sums moved.
    bool TakeGrandChanges();

    EState m_eState = stateOff;
    bool m_bBlockedByNumber = false;
    // The edit page's change count when the rows were last known, their count, and the
    // column rules of the form the sums were made under.
    unsigned long long m_nChanges = 0;
    int m_nUsedRows = 0;
    std::string m_strRules;
    // The totals from this row down showed their sums when the following started.
    int m_nFirstFresh = 0;
    // Rows whose cells or (ordinary) kind the engine changed since the rows were last known.
    std::vector<int> m_changedRows;

    // ---- the sums (stateBuilt) ----
    std::vector<int> m_columns;        // the summed columns (CEstimateEngine::GetTotalColumns)
    std::vector<char> m_bySubtotals;   // per summed column: it adds subtotal rows ("計 B")
    std::vector<ERowKind> m_kinds;     // per row
    std::vector<int64_t> m_values;     // per row and summed column: the number its text reads
                                       // as (0 where the row's kind is never added)
    std::vector<int64_t> m_estimate;   // per summed column: the leaf rows other than free rows
    std::vector<int64_t> m_leaves;     // per summed column: every leaf row
    std::vector<CWholeSums> m_budgets; // per summed column: the magnitudes of every number
    // Every total, in row order, with its sums (total x summed columns).
    std::vector<CTotal> m_totals;
    std::vector<int64_t> m_sums;
    std::vector<int> m_headings[SLOTS];    // the rows where each level's sections start
    std::vector<int> m_levelTotals[SLOTS]; // the totals of each heading level that add rows
    std::vector<int> m_grandTotals;        // the grand totals that add rows
    std::vector<int> m_discountTotals;     // the discount totals that add rows
    std::vector<int> m_freeRows;
    // The last discount total row of every kind and its level.
    int m_nLastDiscountRow = -1;
    ETotalLevel m_nLastDiscountLevel = LevelFromNumber(0);
    // The tax every free row from m_nTaxShownFrom (an index into m_freeRows) down shows, as
    // a recalculation through the sums last gave it to them: while the tax stays the same,
    // a free row there that no change reached is not rewritten (it would come out as it is).
    size_t m_nTaxShownFrom = SIZE_MAX;
    CTaxTexts m_taxShown;
    // Totals that may not show their sums (indices, in any order, some more than once).
    std::vector<int> m_stale;

    // ---- while the sums are made row by row ----
    // What the rows so far add per summed column (by its mode), the discount rows' sums,
    // the former where each level's section started, and the latter at each section's
    // start (per level, in the order of the starts); the totals the walk did not write.
    std::vector<int64_t> m_running;
    std::vector<int64_t> m_discounts;
    std::vector<int64_t> m_started;
    std::vector<int64_t> m_discountsAtHeading[SLOTS];
    std::vector<int> m_unwritten;
    int m_nAddedTo = 0; // the rows above it are in the running sums
    int m_nNameCol = 0;

    // ---- while a recalculation goes down the rows ----
    // Its first row; the totals to rewrite; the changes the grand totals have still to take,
    // per grand total (its place in m_grandTotals) and summed column, each to be added to
    // that grand total and every one after it (a changed row costs one entry, not one
    // addition per grand total below it: an estimate may hold hundreds), the next grand
    // total and what the rows above it changed; the next tax row (an index into m_freeRows)
    // and whether those no change reached are left alone; the tax rows changed by hand.
    int m_nFrom = 0;
    CPending m_pending;
    std::vector<int64_t> m_grandChanges;
    size_t m_nGrand = 0;
    std::vector<int64_t> m_grandChange;
    size_t m_nFree = 0;
    bool m_bTaxAsShown = false;
    CTaxTexts m_tax;
    std::vector<int> m_changedFree;
    std::vector<int64_t> m_oldValues;
    std::vector<int64_t> m_newValues;
};
