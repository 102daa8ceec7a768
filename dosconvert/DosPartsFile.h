// The parts-list file (".MBD") as the DOS conversion writes it: the magic text, the zoom,
// the parts form's file name and the form itself, the rows as texts, and an empty list of
// print layouts. The parts-list document keeps the same layout; until it exists this
// small writer is the one place that produces the file.
#pragma once

#include "app/CPartFormFile.h"
#include "platform/base/CString.h"

#include <vector>

class CArchive;

class CDosPartsFile {
public:
    // Rows and columns are stored as 16-bit words.
    enum { MAX_ROWS = 0xFFFF, DEFAULT_ZOOM = 100 };

    CDosPartsFile();

    // Appends an empty row of GetColumnCount() cells and returns its first cell.
    CString* AddRow();
    int GetRowCount() const
    {
        return m_nColumns > 0 ? static_cast<int>(m_cells.size()) / m_nColumns : m_nRows;
    }
    int GetColumnCount() const { return m_nColumns; }
    // Sets the column count; only while there are no rows.
    void SetColumnCount(int nColumns);
    const CString& GetCell(int nRow, int nCol) const;

    // Writes the file into a storing archive. Throws CArchiveException when there are more
    // rows than the file can count.
    void Store(CArchive& ar) const;

    CString m_strFormName; // full path of the parts form the list was made with
    CPartFormFile m_form;
    int m_nZoom = DEFAULT_ZOOM;

private:
    int m_nColumns = 0;
    int m_nRows = 0;              // rows of a list without columns
    std::vector<CString> m_cells; // row-major
};
