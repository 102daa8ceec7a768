// What the parts selection list shows of a parts-list file: the parts form and the stored
// rows whose first cell matches a filter, numbers formatted as the list shows them. The
// file is read as the parts window writes it: the magic text, a word, the form's name,
// the parts form, the row and column counts, then every row's cells.
#pragma once

#include "app/CPartFormFile.h"
#include "platform/base/CString.h"

#include <string_view>
#include <vector>

struct CPartsSelection {
    enum Result { readOK = 0, readNotParts, readDamaged };

    CPartFormFile form;
    int nColumns = 0; // the form's items, at most 100
    // Matching rows: the texts as listed (numbers formatted, near-zero numbers empty).
    std::vector<std::vector<CString>> rows;
};

// TRUE when a parts row's first cell matches the filter: without "*" the whole cell equals
// it; with "*" at byte p the first p bytes agree ("*" alone matches every row).
bool PartsFilterMatches(const CString& filter, const CString& cell);
// TRUE for a numeric parts column: "数値", or an attribute containing "計算".
bool IsNumericPartsColumn(const CPartFormFile& form, int nCol);
// A stored cell as the list shows it.
CString PartsListText(const CPartFormFile& form, int nCol, const CString& cell);

// Reads the file's bytes; on anything but readOK the selection is left empty.
CPartsSelection::Result ReadPartsSelection(std::string_view data, const CString& filter,
                                           CPartsSelection& out);
