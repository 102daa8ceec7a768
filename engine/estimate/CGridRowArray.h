// CGridRowArray: an ordered array of rows that owns them. An entry may be empty (null): a row
// index without a row object is an empty row of kind 0, and readers treat it so. A row put in
// belongs to the array from then on and is deleted when its entry is overwritten or removed,
// or with the array; a row leaves it only through Release, which hands it to the caller.
//
// A print job never switches a store to another set of rows: it reads the rows through a
// CPrintRowSource, which takes a copy of its own where it leaves rows out.
//
// A store of rows may count the changes of its rows (CountChanges; an estimate's edit page
// does): every row it takes into its entries counts its changes there from then on
// (CGridRow::CountChangesIn), and every change of the entries themselves (a row put in, taken
// out, an entry handed out for writing) counts one too.
#pragma once

#include "platform/base/Types.h"

#include <memory>
#include <vector>

class CGridRow;
class CRowChangeCount;

class CGridRowArray {
public:
    using CRowPtr = std::unique_ptr<CGridRow>;

    CGridRowArray();
    // Deletes every row.
    ~CGridRowArray();
    CGridRowArray(const CGridRowArray&) = delete;
    CGridRowArray& operator=(const CGridRowArray&) = delete;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_rows.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    // The row at nIndex; null for an index without a row object (or outside the entries).
    CGridRow* GetRow(INT_PTR nIndex) const
    {
        return InRange(nIndex) ? m_rows[static_cast<size_t>(nIndex)].get() : nullptr;
    }
    // Room for nCount entries without moving them again.
    void Reserve(INT_PTR nCount);
    // Releases unused capacity.
    void FreeExtra() { m_rows.shrink_to_fit(); }

    // Puts pRow into entry nIndex, which must exist (else pRow is deleted), deleting the row
    // that was there.
    void SetAt(INT_PTR nIndex, CRowPtr pRow);
    // The same, growing the entries with empty ones up to nIndex (a negative index is ignored).
    void SetAtGrow(INT_PTR nIndex, CRowPtr pRow);
    // Appends pRow; returns its index.
    INT_PTR Add(CRowPtr pRow);
    // Puts pRow in before entry nIndex; an index beyond the end grows the entries with empty
    // ones first.
    void InsertAt(INT_PTR nIndex, CRowPtr pRow);
    // Puts nCount empty entries in before entry nIndex (grown as InsertAt).
    void InsertEmptyAt(INT_PTR nIndex, INT_PTR nCount);
    // Deletes the rows of nCount entries from nIndex on and takes the entries out (clamped to
    // the entries there are).
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);
    // Deletes every row and empties the entries.
    void RemoveAll();
    // Takes the row of entry nIndex out of the array and hands it to the caller; the entry
    // stays, empty.
    CRowPtr Release(INT_PTR nIndex);
    // Puts the rows of rows into the entries from nFirst on, in that order. They are the rows
    // of those entries already, in another order (a sort): no row is deleted or taken in.
    void Reorder(INT_PTR nFirst, const std::vector<CGridRow*>& rows);
    // Entry nIndex for writing: it counts as changed, and a row stored through it is not taken
    // in (its changes count elsewhere). The rows of a counting store are put in through the
    // operations above; this serves what must pass by them (a test's stray row).
    CRowPtr& EntryForWriting(INT_PTR nIndex);

    // Makes the store count the changes of its rows (see above); only a store of rows counts.
    void CountChanges();
    bool CountsChanges() const { return m_pChanges != nullptr; }
    // The count of the store's changes (0 for a store that does not count), and of those
    // that may change a row's kind or where the rows stand (CRowChangeCount).
    unsigned long long GetChangeCount() const;
    unsigned long long GetKindChangeCount() const;
    // The count of the other changes of heading rows (their cells, their settings).
    unsigned long long GetHeadingChangeCount() const;
    // Counts a change of the rows that the rows' own setters do not see (a row handed out
    // for writing, say): every change of the entries may move a row or change its kind.
    void NoteChange() const;
    // Whether a row counts its changes in this store's count.
    bool CountsChangesOf(const CGridRow& row) const;

private:
    bool InRange(INT_PTR nIndex) const { return nIndex >= 0 && static_cast<size_t>(nIndex) < m_rows.size(); }
    // The rows nCount entries from nIndex on, just put in, count their changes here; the
    // store's count counts the change.
    void Take(INT_PTR nIndex, INT_PTR nCount);

    std::vector<CRowPtr> m_rows;
    CRowChangeCount* m_pChanges = nullptr; // set by CountChanges
};
