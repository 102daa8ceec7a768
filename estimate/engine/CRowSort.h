// CRowSort: the sort of a block of rows by one column. Whole rows move; rows with equal
// keys keep their order, so that a second sort by another column keeps the first one's
// order within its equal keys. The key is the column's text, in code page 932 byte order
// (a lead byte sorts after every single-byte character below it, as the multibyte
// comparison of the C library orders them), or the number the text reads as.
#pragma once

#include "estimate/engine/CGridRow.h"

class CEstimateEngine;

class CRowSort {
public:
    enum class EKey { text, number };

    // The row comparisons by the sort column nCol: negative, 0 or positive as the first row
    // sorts before, with or after the second (a missing row or cell is an empty text).
    static int CompareTextAscending(const CGridRow* pFirst, const CGridRow* pSecond, int nCol);
    static int CompareTextDescending(const CGridRow* pFirst, const CGridRow* pSecond, int nCol);
    static int CompareNumberAscending(const CGridRow* pFirst, const CGridRow* pSecond, int nCol);
    static int CompareNumberDescending(const CGridRow* pFirst, const CGridRow* pSecond, int nCol);

    // Whether the block nFirstRow to nLastRow, cut to the used rows, holds two rows or more
    // to order by an existing column nCol.
    static bool HasRowsToSort(const CEstimateEngine& engine, int nFirstRow, int nLastRow, int nCol);
    // Orders the engine's rows nFirstRow to nLastRow (cut to the used rows) by column nCol.
    // Every row of the block gets its object, so that an empty row sorts as empty texts.
    // false when there was nothing to sort (fewer than two rows, no such column); the rows
    // are then untouched.
    static bool SortRows(CEstimateEngine& engine, int nFirstRow, int nLastRow, int nCol, EKey eKey,
                         bool bAscending);
};
