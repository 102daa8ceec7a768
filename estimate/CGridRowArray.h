// CGridRowArray: an ordered array of row pointers with a second array beside it, the print
// copy. While the process-wide print-copy flag is set (IsPrintCopyActive), every operation
// below works on the print copy, so printing can drop rows from the copy without touching
// the estimate; otherwise on the working rows.
//
// The rows are plain records (CGridRow has no base class), so the container is a pointer
// array. It does not own the working rows: RemoveAll and the destructor leave them to the
// owner (the estimate view). A null entry stands for an empty row of kind 0. The undo text
// store uses the same container for its text entries; the print copy is only ever made of
// containers that hold rows.
#pragma once

#include "estimate/CEstimateShared.h"
#include "platform/base/Collections.h"

class CGridRow;

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
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) { Active().SetSize(nNewSize, nGrowBy); }
    void FreeExtra() { Active().FreeExtra(); }
    void RemoveAll() { Active().RemoveAll(); }

    void* GetAt(INT_PTR nIndex) const { return Active().GetAt(nIndex); }
    void SetAt(INT_PTR nIndex, void* pRow) { Active().SetAt(nIndex, pRow); }
    void*& ElementAt(INT_PTR nIndex) { return Active().ElementAt(nIndex); }
    void* operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    void*& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    void** GetData() { return Active().GetData(); }
    const void* const* GetData() const { return Active().GetData(); }

    void SetAtGrow(INT_PTR nIndex, void* pRow) { Active().SetAtGrow(nIndex, pRow); }
    INT_PTR Add(void* pRow) { return Active().Add(pRow); }
    // Appends the entries that the other container serves now; returns the first new index.
    INT_PTR Append(const CGridRowArray& src) { return Active().Append(src.Active()); }
    void Copy(const CGridRowArray& src) { Active().Copy(src.Active()); }
    void InsertAt(INT_PTR nIndex, void* pRow, INT_PTR nCount = 1) { Active().InsertAt(nIndex, pRow, nCount); }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) { Active().RemoveAt(nIndex, nCount); }
    void InsertAt(INT_PTR nStartIndex, const CGridRowArray* pNewArray)
    {
        if (pNewArray != nullptr)
            Active().InsertAt(nStartIndex, &pNewArray->Active());
    }

    // The row at nIndex as a row record; null for an index without a row object.
    CGridRow* GetRow(INT_PTR nIndex) const { return static_cast<CGridRow*>(GetAt(nIndex)); }

    // Replaces the print copy with a copy of every working row (null entries stay null),
    // whatever the flag.
    void MakePrintCopy();
    // Deletes the rows of the print copy and empties it, whatever the flag.
    void DeletePrintCopy();

    // The working rows and the print copy themselves, whatever the flag.
    CPtrArray& GetWorkingArray() { return *this; }
    const CPtrArray& GetWorkingArray() const { return *this; }
    const CPtrArray& GetPrintCopyArray() const { return m_printCopy; }

private:
    CPtrArray& Active() { return IsPrintCopyActive() ? m_printCopy : static_cast<CPtrArray&>(*this); }
    const CPtrArray& Active() const
    {
        return IsPrintCopyActive() ? m_printCopy : static_cast<const CPtrArray&>(*this);
    }

    CPtrArray m_printCopy;
};
