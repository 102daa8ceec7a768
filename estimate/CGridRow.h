// CGridRow: one line of a grid (estimate, parts list, copy buffers): its kind, the texts
// and indents of up to 100 cells, and the parameters that special rows keep (steps,
// classifications, total levels). A plain record: no base class, nothing virtual.
#pragma once

#include "platform/base/CString.h"

class CGridRow {
public:
    enum { MAX_CELLS = 100 };

    CGridRow();
    ~CGridRow();
    CGridRow(const CGridRow& other);
    // Copies every field: kind, cells, indents, both parameter texts, all three parameters.
    CGridRow& operator=(const CGridRow& other);

    int m_nKind;                  // row kind (0 empty, 5 detail, 11 subtotal, ...)
    CString m_strCell[MAX_CELLS]; // cell text of form item 0..99; numbers kept as text
    int m_nIndent[MAX_CELLS];     // indent of each cell's text, in character widths
    CString m_strParamText1;      // first parameter text of a special row
    int m_nParam1;                // first parameter value
    CString m_strParamText2;      // second parameter text
    int m_nParam2;                // second parameter value
    int m_nParam3;                // third parameter value
};
