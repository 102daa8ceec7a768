// CGridRowArray: an ordered array of row pointers with a second array beside it, the print
// copy. While the container serves its print copy (ServePrintCopy, set by the estimate that
// prints for its own containers only), every operation below works on the print copy, so
// printing can drop rows from the copy without touching the estimate; otherwise on the
// working rows. Other containers, another estimate window's say, go on serving their
// working rows meanwhile.
//
// The rows are plain records (CGridRow has no base class), so the container is a pointer
// array. It does not own the working rows: RemoveAll and the destructor leave them to the
// owner (the estimate view). A null entry stands for an empty row of kind 0. The undo text
// store uses the same container for its text entries; the print copy is only ever made of
// containers that hold rows.
//
// A store of rows may count the changes of its rows (CountChanges; an estimate's edit page
// does): every row it takes into its working rows counts its changes there from then on
// (CGridRow::CountChangesIn), and every change of the working entries themselves (a row
// put in, taken out, the entries handed out for writing) counts one too. The print copy
// counts nothing: what is kept from the rows is not used while it is served.
#pragma once

#include "platform/base/Collections.h"

class CGridRow;
class CRowChangeCount;

class CGridRowArray : public CPtrArray {
public:
    CGridRowArray() = default;
    // Drops the print copy (its rows belong to the container); the working rows stay.
    ~CGridRowArray() override;
    CGridRowArray(const CGridRowArray&) = delete;
    CGridRowArray& operator=(const CGridRowArray&) = delete;

    INT_PTR GetSize() const { return Active().GetSize(); }
    INT_PTR GetCount() const { return Active().GetSize(); }
    INT_PTR GetUpperBound() const { return Active().GetUpperBound(); }
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        Active().SetSize(nNewSize, nGrowBy);
        NoteChange();
    }
    void FreeExtra() { Active().FreeExtra(); }
    void RemoveAll()
    {
        Active().RemoveAll();
        NoteChange();
    }

    void* GetAt(INT_PTR nIndex) const { return Active().GetAt(nIndex); }
    void SetAt(INT_PTR nIndex, void* pRow)
    {
        Active().SetAt(nIndex, pRow);
        Take(nIndex, 1);
    }
    // The entries handed out for writing count as changed; a row stored through them is not
    // taken in (its changes count elsewhere), so the rows of a counting store are put in
    // through the operations that take them.
    void*& ElementAt(INT_PTR nIndex)
    {
        NoteChange();
        return Active().ElementAt(nIndex);
    }
    void* operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    void*& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    void** GetData()
    {
        NoteChange();
        return Active().GetData();
    }
    const void* const* GetData() const { return Active().GetData(); }

    void SetAtGrow(INT_PTR nIndex, void* pRow)
    {
        Active().SetAtGrow(nIndex, pRow);
        Take(nIndex, 1);
    }
    INT_PTR Add(void* pRow)
    {
        const INT_PTR nIndex = Active().Add(pRow);
        Take(nIndex, 1);
        return nIndex;
    }
    // Appends the entries that the other container serves now; returns the first new index.
    INT_PTR Append(const CGridRowArray& src)
    {
        const INT_PTR nIndex = Active().Append(src.Active());
        Take(nIndex, src.GetSize());
        return nIndex;
    }
    void Copy(const CGridRowArray& src)
    {
        Active().Copy(src.Active());
        Take(0, GetSize());
    }
    void InsertAt(INT_PTR nIndex, void* pRow, INT_PTR nCount = 1)
    {
        Active().InsertAt(nIndex, pRow, nCount);
        Take(nIndex, nCount);
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        Active().RemoveAt(nIndex, nCount);
        NoteChange();
    }
    void InsertAt(INT_PTR nStartIndex, const CGridRowArray* pNewArray)
    {
        if (pNewArray != nullptr) {
            Active().InsertAt(nStartIndex, &pNewArray->Active());
            Take(nStartIndex, pNewArray->GetSize());
        }
    }

    // Makes the store count the changes of its rows (see above); only a store of rows counts.
    void CountChanges();
    bool CountsChanges() const { return m_pChanges != nullptr; }
    // The count of the store's changes (0 for a store that does not count), and of those
    // that may change a row's kind or where the rows stand (CRowChangeCount).
    unsigned long long GetChangeCount() const;
    unsigned long long GetKindChangeCount() const;
    // The count of the changes of the print copy's entries: it was made, dropped, or an
    // entry was put in or taken out while it was served (its rows count their own changes
    // with the rows no store holds).
    unsigned long long GetPrintCopyChangeCount() const { return m_nPrintCopyChanges; }
    // Counts a change of the rows that the rows' own setters do not see (a row handed out
    // for writing, say): every change of the entries may move a row or change its kind.
    void NoteChange() const;
    // Whether a row counts its changes in this store's count.
    bool CountsChangesOf(const CGridRow& row) const;
    // Deletes every working row (the entries hold rows) and empties the working entries.
    void DeleteWorkingRows();

    // The row at nIndex as a row record; null for an index without a row object.
    CGridRow* GetRow(INT_PTR nIndex) const { return static_cast<CGridRow*>(GetAt(nIndex)); }

    // Replaces the print copy with a copy of every working row (null entries stay null),
    // whatever is served.
    void MakePrintCopy();
    // Deletes the rows of the print copy and empties it, whatever is served.
    void DeletePrintCopy();
    // Whether a print copy was made (and not deleted since).
    bool HasPrintCopy() const { return m_bPrintCopyMade; }
    // The row a print reads at nIndex: the print copy's while there is one, else the
    // working row, whatever is served; null for an index without a row object.
    CGridRow* GetPrintRow(INT_PTR nIndex) const
    {
        const CPtrArray& rows = m_bPrintCopyMade ? m_printCopy : static_cast<const CPtrArray&>(*this);
        return static_cast<CGridRow*>(rows.GetAt(nIndex));
    }
    // Takes out of the print copy every row among the first nUsedRows that bRemove(nRow)
    // picks, from the last up (each asked once the rows below it went), and keeps the copy's
    // length with an empty entry at its end for each; the used rows left. Only while the copy
    // is served: the rows bRemove reads are the copy's.
    template <class FRemove>
    int RemovePrintCopyRows(int nUsedRows, const FRemove& bRemove)
    {
        if (!m_bServePrintCopy)
            return nUsedRows;
        for (int nRow = nUsedRows - 1; nRow >= 0; --nRow) {
            if (!bRemove(nRow))
                continue;
            DeletePrintCopyRow(nRow);
            Add(nullptr);
            --nUsedRows;
        }
        return nUsedRows;
    }
    // Whether the operations above work on the print copy (true) or the working rows. The
    // container's owner serves the copy only while it exists.
    void ServePrintCopy(bool bServe) { m_bServePrintCopy = bServe; }
    bool IsServingPrintCopy() const { return m_bServePrintCopy; }

    // The working rows and the print copy themselves, whatever is served. The working entries
    // are not handed out for writing by a store that counts its changes.
    CPtrArray& GetWorkingArray();
    const CPtrArray& GetWorkingArray() const { return *this; }
    const CPtrArray& GetPrintCopyArray() const { return m_printCopy; }

private:
    // Deletes the print copy's row at nRow and takes its entry out.
    void DeletePrintCopyRow(INT_PTR nRow);
    CPtrArray& Active() { return m_bServePrintCopy ? m_printCopy : static_cast<CPtrArray&>(*this); }
    const CPtrArray& Active() const
    {
        return m_bServePrintCopy ? m_printCopy : static_cast<const CPtrArray&>(*this);
    }

    // The rows nCount entries from nIndex on, just put in, count their changes here (while
    // the working rows are served); the store's count counts the change.
    void Take(INT_PTR nIndex, INT_PTR nCount);

    CPtrArray m_printCopy;
    bool m_bServePrintCopy = false;
    bool m_bPrintCopyMade = false;
    CRowChangeCount* m_pChanges = nullptr; // set by CountChanges
    mutable unsigned long long m_nPrintCopyChanges = 0;
};
