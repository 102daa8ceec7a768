// CPMObj: one copied row of a parts list, as the clipboard, the undo record and the
// row-delete record keep it: the row it came from, the block it belongs to (its last row and
// its first and last column) and the texts of the block's columns (the others empty).
// CPMObjList owns its records: emptying it or destroying it frees them.
//
// Stored form (inside an object archive): WORD first column, WORD last column, WORD row,
// WORD last row, then all 100 cell texts in column order.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/base/Types.h"

#include <vector>

class CArchive;

class CPMObj : public CObject {
    DECLARE_SERIAL(CPMObj)
public:
    enum { MAX_COLUMNS = 100 };
    CPMObj() = default;
    void Serialize(CArchive& ar) override;
    // A new record with the same row, block and texts (the caller owns it).
    CPMObj* Clone() const;

    int m_nRow = 0;
    int m_nLastRow = 0;
    int m_nFirstCol = 0;
    int m_nLastCol = MAX_COLUMNS - 1;
    CString m_strCell[MAX_COLUMNS];
};

class CPMObjList : public CTypedPtrList<CObList, CPMObj*> {
public:
    explicit CPMObjList(INT_PTR nBlockSize = 10) : CTypedPtrList<CObList, CPMObj*>(nBlockSize) {}
    ~CPMObjList() override { DeleteAll(); }
    CPMObjList(const CPMObjList&) = delete;
    CPMObjList& operator=(const CPMObjList&) = delete;
    // Frees every record and empties the list.
    void DeleteAll();
    // The block of the list: the first record's first column, row, last column and last
    // row (left, top, right, bottom); all 0 for an empty list.
    CRect GetBlock() const;
    // Copies of the other list's records, after freeing this list's own.
    void CopyFrom(const CPMObjList& other);

    // The list as the clipboard carries it: an object archive of one list of records (the
    // count, then each record with its class tag).
    std::vector<BYTE> StoreExchangeBytes() const;
    // Reads clipboard bytes into the list. The bytes come from outside the program, so
    // nothing they claim is trusted: every object must be a record, every record's columns
    // must lie in 0..99 with first <= last, and the records must form one block (rows
    // first..last in order, one record each, all with the same columns). On any failure the
    // list is left as it was and FALSE comes back.
    bool LoadExchangeBytes(const BYTE* pData, size_t nSize);
};
