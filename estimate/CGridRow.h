// CGridRow: one line of a grid (estimate, parts list, copy buffers): its kind, the texts
// and indents of up to 100 cells, and the parameters that special rows keep (steps,
// classifications, total levels). A plain record: no base class, nothing virtual.
#pragma once

#include "platform/base/CString.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

// A number remembered together with the text of the cell it was read from (up to
// TEXT_LIMIT bytes). It is used only after comparing the whole text with the cell's present
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

class CGridRow {
public:
    enum { MAX_CELLS = 100 };

    CGridRow();
    ~CGridRow();
    CGridRow(const CGridRow& other);
    // Copies every field: kind, cells, indents, both parameter texts, all three parameters.
    CGridRow& operator=(const CGridRow& other);

    // Rows made with new come from a pool of huge-page blocks (CRowPool), so that the
    // thousands of rows of an estimate do not touch fresh memory page by page; under the
    // address sanitizer they come from the ordinary heap, where it can watch them.
    static void* operator new(std::size_t nSize);
    static void operator delete(void* p, std::size_t nSize) noexcept;

    // The cells come first: a row starts on a cache line (CRowPool), so every two cells
    // share one line and the few neighbouring cells a recalculation reads lie in few lines.
    CString m_strCell[MAX_CELLS]; // cell text of form item 0..99; numbers kept as text
    int m_nKind;                  // row kind (0 empty, 5 detail, 11 subtotal, ...)
    int m_nIndent[MAX_CELLS];     // indent of each cell's text, in character widths
    CString m_strParamText1;      // first parameter text of a special row
    int m_nParam1;                // first parameter value
    CString m_strParamText2;      // second parameter text
    int m_nParam2;                // second parameter value
    int m_nParam3;                // third parameter value

    // The number the cell's text reads as (CNumberRules::ReadNumber), remembered for the
    // next read of the same text. The totals read the same cells on every recalculation, so
    // the texts are parsed once. The cache checks the whole text on every read, so a text
    // changed by any means (an assignment to m_strCell or to the whole row included) is
    // read again: nothing needs to keep it in step. A cell's number is kept in the entry
    // of its number modulo CACHED_CELLS, for texts up to CACHED_TEXT bytes; two cells that
    // share an entry take it from each other, and longer texts are parsed on every read.
    double ReadNumber(int nCell) const;
    // Remembers that the cell's present text reads as value (the caller knows it: it has
    // just made the text from the value), so that the next ReadNumber needs no parsing.
    void RememberNumber(int nCell, double value) const;

    enum { CACHED_CELLS = 8, CACHED_TEXT = 22 };

    // Changes of rows' contents, counted process-wide: every setter and the assignment
    // count one, and so does whoever is handed a row to write into (the estimate view's
    // GetEditRow). What is worked out from rows and kept (the estimate view's kept totals)
    // stands while the count is the one it was made at.
    static unsigned long long ChangeCount() { return s_nChangeCount; }
    static void NoteChange() { ++s_nChangeCount; }

    // Asks the processor to fetch the parts of the row a recalculation reads (the kind,
    // the cells nFirstCell to nLastCell and their remembered numbers) ahead of use: the
    // rows of a long estimate lie kilobytes apart, where the processor does not guess the
    // next one.
    // The remembered numbers fetched are those of the cells nFirstNumber to nLastNumber
    // (by default the same cells): a caller that knows which cells it reads the numbers of
    // fetches no more than those.
    void Prefetch(int nFirstCell, int nLastCell, int nFirstNumber = -1, int nLastNumber = -1) const
    {
        __builtin_prefetch(&m_nKind);
        if (nFirstCell < 0 || nLastCell >= MAX_CELLS || nFirstCell > nLastCell)
            return;
        for (const char* p = reinterpret_cast<const char*>(&m_strCell[nFirstCell]);
             p <= reinterpret_cast<const char*>(&m_strCell[nLastCell]); p += 64)
            __builtin_prefetch(p);
        __builtin_prefetch(reinterpret_cast<const char*>(&m_strCell[nLastCell] + 1) - 1);
        if (nFirstNumber < 0) {
            nFirstNumber = nFirstCell;
            nLastNumber = nLastCell;
        }
        if (nLastNumber < nFirstNumber)
            return;
        if (nLastNumber - nFirstNumber >= CACHED_CELLS - 1) {
            for (size_t i = 0; i < sizeof(m_numbers); i += 64)
                __builtin_prefetch(reinterpret_cast<const char*>(m_numbers) + i);
        } else {
            // The entries of the cells in order, from the first to the last (around the
            // end of the table when they wrap).
            const int nFirst = nFirstNumber % CACHED_CELLS;
            const int nLast = nLastNumber % CACHED_CELLS;
            for (int i = nFirst;; i = (i + 1) % CACHED_CELLS) {
                __builtin_prefetch(&m_numbers[i]);
                if (i == nLast)
                    break;
            }
        }
    }

private:
    static inline unsigned long long s_nChangeCount = 0;
    // Part of the row (8 x 32 bytes), so that a row's first read allocates nothing.
    mutable CRememberedNumber m_numbers[CACHED_CELLS];
};
