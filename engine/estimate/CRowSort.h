// CRowSort: the sort of a block of rows by one column, for both grids. Whole rows move;
// rows with equal keys keep their order, so that a second sort by another column keeps the
// first one's order within its equal keys. The key is the column's text, in code page 932
// byte order (a lead byte sorts after every single-byte character below it, as the
// multibyte comparison of the C library orders them), or the number the text reads as; a
// missing row or cell is an empty text.
#pragma once

#include "engine/estimate/CGridRow.h"

#include <vector>

class CEstimateEngine;

class CRowSort {
public:
    enum class EKey { text, number };

    // The order of the rows by column nCol: the indexes into rows (0 to size - 1) as the
    // rows stand once sorted. Each key is read once.
    static std::vector<int> SortedOrder(const std::vector<const CGridRow*>& rows, int nCol, EKey eKey,
                                        bool bAscending);

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
