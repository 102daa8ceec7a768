// CGridRow: one line of a grid (estimate, parts list, copy buffers): its kind, the texts
// and indents of up to 100 cells, and the parameters that special rows keep (steps,
// classifications, total levels). A plain record: no base class, nothing virtual.
//
// A row holds only the cells it uses: the texts up to its last written cell (with room for
// a few more while it is typed) and the indents up to its last indented one. Every other cell reads as an
// empty text with indent 0. An estimate's rows use a dozen of their hundred cells, so a row costs a few
// hundred bytes, not the four kilobytes of a hundred texts and indents.
#pragma once

#include "engine/estimate/RowKinds.h"
#include "platform/base/CString.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

// A number remembered together with the text of the cell it was read from (up to
// TEXT_LIMIT bytes), kept apart from the rows (the totals walk keeps one per row and summed
// column). It is used only after comparing the whole text with the cell's present
// one, and the number is what that text reads as, so an entry can never give a stale
// number: whatever moved or changed the cell, a different text is simply read again.
struct CRememberedNumber {
    enum { TEXT_LIMIT = 22, NO_CELL = 0xff };
    double value;
    unsigned char nCell = NO_CELL; // the cell (column) it belongs to; NO_CELL: free
    unsigned char nLength;         // the length of the text it was read from
    char text[TEXT_LIMIT];

    // True when the entry belongs to nCell and was read from exactly this text.
    bool Matches(int nCell, const std::string& strText) const;
    // Remembers value for nCell's present text; a text longer than TEXT_LIMIT frees it.
    void Set(int nForCell, const std::string& strText, double number)
    {
        if (strText.size() > TEXT_LIMIT || nForCell < 0 || nForCell >= NO_CELL) {
            nCell = NO_CELL;
            return;
        }
        value = number;
        nCell = static_cast<unsigned char>(nForCell);
        nLength = static_cast<unsigned char>(strText.size());
        // A text of up to 15 bytes lies in the string's own 16-byte buffer (or in an
        // allocation at least that long): one fixed copy of 16 bytes instead of a call.
        if (strText.size() <= 15)
            std::memcpy(text, strText.data(), 16);
        else
            std::memcpy(text, strText.data(), strText.size());
    }
};

// The cell texts of a row, read as row.m_strCell[nCol]. Only the cells up to the last one
// ever given a text are held; a cell beyond them (or outside 0..99) reads as a shared empty
// text. Texts are written through CGridRow::SetCell, never through a reference, so that
// the number remembered beside each text always belongs to it.
class CGridRowCells {
public:
    CGridRowCells() = default;
    // The cells belong to their row: a wrapper is never copied or assigned on its own.
    CGridRowCells(const CGridRowCells&) = delete;
    CGridRowCells& operator=(const CGridRowCells&) = delete;
    const CString& operator[](int nCol) const
    {
        return static_cast<unsigned>(nCol) < m_nCells ? m_pCells[nCol].text : s_strEmpty;
    }
    // The number of cells held: every cell from here on is empty.
    int GetSize() const { return m_nCells; }

private:
    friend class CGridRow;
    struct CCell {
        CString text;
        // What text reads as (CNumberRules::ReadStoredNumber), or NotRead() until it is read.
        mutable double number;
    };
    // What every cell a row does not hold reads as.
    static inline const CString s_strEmpty{};

    CCell* m_pCells = nullptr;
    unsigned char m_nCells = 0; // cells held (constructed) in m_pCells
};

// The indents of a row's cells, read as row.m_nIndent[nCol]: held up to the last cell given
// an indent other than 0 (most rows have none); every other cell reads as 0. The first
// cells' indents (a detail's name is indented) lie in the row itself, more in an array of
// their own.
class CGridRowIndents {
public:
    CGridRowIndents() = default;
    ~CGridRowIndents() { Resize(0); }
    CGridRowIndents(const CGridRowIndents&) = delete;
    CGridRowIndents& operator=(const CGridRowIndents&) = delete;
    int operator[](int nCol) const { return static_cast<unsigned>(nCol) < m_nIndents ? Data()[nCol] : 0; }

private:
    friend class CGridRow;
    enum { IN_ROW = 2 }; // indents held in the row itself
    const int* Data() const { return m_nIndents <= IN_ROW ? m_inRow : m_pIndents; }
    int* Data() { return m_nIndents <= IN_ROW ? m_inRow : m_pIndents; }
    // Holds exactly nIndents indents: those held already (as far as they go), the others 0.
    void Resize(int nIndents);
    union {
        int* m_pIndents; // more than IN_ROW indents
        int m_inRow[IN_ROW] = {};
    };
    unsigned char m_nIndents = 0;
};

// A count of changes of rows. What is worked out from the rows of one store and kept (the
// engine's kept totals) stands while that store's count is the one it was made at,
// so each row counts every change of its own in the count of the store that holds it
// (CGridRowArray::CountChanges): an estimate's edit page has a count of its own, and rows
// no counting store holds (copy buffers, undo stores, rows being read or printed) count in
// the count of loose rows. A count lives as long as the process, so that a row that outlives
// its store still has a count to add to (a change counted where nothing is kept any more
// costs nothing).
//
// Beside every change it counts those that may change a row's kind or where the rows stand
// (a kind set, a row assigned, rows put in or taken out): what follows from the kinds and
// their order alone (the subject numbers) stands while that count does, however the cells
// change. It counts apart, too, the other changes of heading rows: the headings and their
// names (the subject tree) stand while both counts do.
class CRowChangeCount {
public:
    // A new count, for a store of its own.
    static CRowChangeCount* Make();
    // The count of the rows no counting store holds.
    static CRowChangeCount& Loose();
    unsigned long long Get() const { return m_nCount; }
    unsigned long long GetKindChanges() const { return m_nKindChanges; }
    unsigned long long GetHeadingChanges() const { return m_nHeadingChanges; }
    void Note() { ++m_nCount; }
    void NoteHeadingChange()
    {
        ++m_nCount;
        ++m_nHeadingChanges;
    }
    void NoteKindChange()
    {
        ++m_nCount;
        ++m_nKindChanges;
    }

private:
    unsigned long long m_nCount = 0;
    unsigned long long m_nKindChanges = 0;
    unsigned long long m_nHeadingChanges = 0;
};

class CGridRow {
public:
    // A row holds up to MAX_CELLS cells; one typed into grows by CELLS_STEP cells at least.
    enum { MAX_CELLS = 100, CELLS_STEP = 4 };

    CGridRow();
    ~CGridRow();
    CGridRow(const CGridRow& other);
    // Copies every field: kind, cells, indents, both parameter texts, all three parameters.
    CGridRow& operator=(const CGridRow& other);

    // Rows made with new come from a pool of large blocks (CRowPool), and their cells
    // from pools of their own, so that the thousands of rows of an estimate lie side by side
    // and closing it gives their memory back; under the address sanitizer both come from
    // the ordinary heap, where it can watch them.
    static void* operator new(std::size_t nSize);
    static void operator delete(void* p, std::size_t nSize) noexcept;

    // Cell nCol's text (the same as m_strCell[nCol]): an empty text for a cell outside the
    // row's cells.
    const CString& GetCell(int nCol) const { return m_strCell[nCol]; }
    // Every write of a cell's text goes through SetCell: an empty text beyond the cells the
    // row holds takes no memory; a column outside 0..99 is ignored.
    void SetCell(int nCol, const CString& strText);
    void SetCell(int nCol, CString&& strText);
    void SetCell(int nCol, const char* lpszText) { SetCell(nCol, CString(lpszText)); }
    void EmptyCell(int nCol) { SetCell(nCol, CString()); }
    // Cell nCol's indent (the same as m_nIndent[nCol]) and its setter; 0 beyond the indents
    // held, and setting 0 there takes no memory.
    int GetIndent(int nCol) const { return m_nIndent[nCol]; }
    void SetIndent(int nCol, int nIndent);
    // Empties every cell and indent at once (the row keeps its kind and parameters).
    void EmptyCells();
    // Replaces every cell's text and indent with the first nCells of pTexts (taken) and
    // pIndents, the row then holding them as EmptyCells and SetCell and SetIndent from the
    // last cell back would leave it, with one allocation each instead of a write per cell:
    // a file's rows are read with it.
    void TakeCells(CString* pTexts, const int* pIndents, int nCells);

    // The row's kind (RowKinds.h: 0 empty, 5 detail, 11 subtotal, ...) and what special rows
    // keep: the parameter values (a step's target column and range code, a classification's
    // column mode, a discount total's level) and texts (the target text, the rate). Like
    // every setter of the row, each setter counts a change.
    ERowKind GetKind() const { return m_nKind; }
    void SetKind(ERowKind nKind)
    {
        if (nKind != m_nKind)
            m_pChanges->NoteKindChange();
        else
            NoteChange();
        m_nKind = nKind;
    }
    int GetParam1() const { return m_nParam1; }
    int GetParam2() const { return m_nParam2; }
    int GetParam3() const { return m_nParam3; }
    void SetParam1(int nValue)
    {
        NoteChange();
        m_nParam1 = nValue;
    }
    void SetParam2(int nValue)
    {
        NoteChange();
        m_nParam2 = nValue;
    }
    void SetParam3(int nValue)
    {
        NoteChange();
        m_nParam3 = nValue;
    }
    const CString& GetParamText1() const
    {
        return m_pParamTexts != nullptr ? m_pParamTexts->strText1 : CGridRowCells::s_strEmpty;
    }
    const CString& GetParamText2() const
    {
        return m_pParamTexts != nullptr ? m_pParamTexts->strText2 : CGridRowCells::s_strEmpty;
    }
    void SetParamText1(const CString& strText)
    {
        NoteChange();
        if (CParamTexts* pTexts = ParamTextsToWrite(strText.IsEmpty()))
            pTexts->strText1 = strText;
    }
    void SetParamText2(const CString& strText)
    {
        NoteChange();
        if (CParamTexts* pTexts = ParamTextsToWrite(strText.IsEmpty()))
            pTexts->strText2 = strText;
    }

    // The cells come first: a recalculation reads the cells' place and the kind, which lie
    // in the row's first cache line (a row is one line). The cells and indents are read
    // through these two (their types give no way to write); every other field is written
    // through its setter, so that no change of a row goes uncounted.
    CGridRowCells m_strCell; // cell text of form item 0..99; numbers kept as text
private:
    ERowKind m_nKind;            // row kind (0 empty, 5 detail, 11 subtotal, ...)
    int m_nParam1;               // first parameter value
    int m_nParam2;               // second parameter value
    int m_nParam3;               // third parameter value
    CRowChangeCount* m_pChanges; // where the row counts its changes (never null)
public:
    CGridRowIndents m_nIndent; // indent of each cell's text, in character widths
private:
    // The parameter texts of a special row, held only by a row that was given one: most
    // rows have none and take no room for them.
    struct CParamTexts {
        CString strText1; // first parameter text
        CString strText2; // second parameter text
    };
    std::unique_ptr<CParamTexts> m_pParamTexts;
    // The texts to write one into, made for a text that is not empty; null when an empty
    // text is written where the row holds none.
    CParamTexts* ParamTextsToWrite(bool bEmptyText)
    {
        if (m_pParamTexts == nullptr && !bEmptyText)
            m_pParamTexts = std::make_unique<CParamTexts>();
        return m_pParamTexts.get();
    }

public:
    // The number the cell's text reads as (CNumberRules::ReadStoredNumber), remembered
    // beside the text for the next read: the totals read the same cells on every
    // recalculation, so the texts are parsed once. SetCell forgets it whenever the text
    // changes.
    double ReadNumber(int nCell) const;
    // Remembers that the cell's present text reads as value (the caller knows it: it has
    // just made the text from the value), so that the next ReadNumber needs no parsing.
    // Texts longer than CACHED_TEXT bytes are parsed instead.
    void RememberNumber(int nCell, double value) const;

    enum { CACHED_TEXT = 22 };

    // The count the row's changes go to: every setter and the assignment count one there.
    // A new row counts as a loose row until a counting store takes it (CountChangesIn).
    const CRowChangeCount& GetChangeCount() const { return *m_pChanges; }
    void CountChangesIn(CRowChangeCount& count) { m_pChanges = &count; }

    // Asks the processor to fetch the row's kind ahead of use (a look at the kinds alone).
    void PrefetchKind() const { __builtin_prefetch(&m_nKind); }
    // Asks the processor to fetch the parts of the row a recalculation reads (the kind and
    // the cells nFirstCell to nLastCell with their remembered numbers) ahead of use. The
    // numbers lie beside the texts, so nFirstNumber and nLastNumber (the cells whose numbers
    // a caller reads) only widen the cells fetched.
    void Prefetch(int nFirstCell, int nLastCell, int nFirstNumber = -1, int nLastNumber = -1) const
    {
        __builtin_prefetch(&m_nKind);
        if (nFirstNumber >= 0 && nLastNumber >= nFirstNumber) {
            nFirstCell = nFirstCell < 0 ? nFirstNumber : std::min(nFirstCell, nFirstNumber);
            nLastCell = std::max(nLastCell, nLastNumber);
        }
        nLastCell = std::min(nLastCell, m_strCell.GetSize() - 1);
        if (nFirstCell < 0 || nFirstCell > nLastCell)
            return;
        const char* pLast = reinterpret_cast<const char*>(&m_strCell.m_pCells[nLastCell] + 1) - 1;
        for (const char* p = reinterpret_cast<const char*>(&m_strCell.m_pCells[nFirstCell]); p <= pLast;
             p += 64)
            __builtin_prefetch(p);
        __builtin_prefetch(pLast);
    }

private:
    void NoteChange()
    {
        if (IsSectionStartKind(m_nKind))
            m_pChanges->NoteHeadingChange();
        else
            m_pChanges->Note();
    }
    // Makes the row hold at least nCells cells: empty beyond the present ones, or below
    // nCells taking their texts from pTexts (indexed by cell) where it is given. A row that
    // grows takes CELLS_STEP cells more at least, unless bExactly (a row read whole).
    void GrowCells(int nCells, CString* pTexts = nullptr, bool bExactly = false);
    // Memory for nCells cells, unconstructed, and its return.
    static CGridRowCells::CCell* AllocateCells(int nCells);
    static void FreeCellMemory(CGridRowCells::CCell* pCells, int nCells) noexcept;
    // The cell nCol for a new text, its remembered number forgotten; null when nothing is
    // to be written (a column outside 0..99, or an empty text for a cell the row does not hold).
    CGridRowCells::CCell* CellToWrite(int nCol, bool bEmptyText);
    void FreeCells();
};
