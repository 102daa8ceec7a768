#include "dosconvert/DosPartsFile.h"

#include "platform/base/CArchive.h"
#include "platform/base/CException.h"

namespace {

const char kPartsMagic[] = "This is Parts Management file";

WORD CountWord(int nCount)
{
    if (nCount < 0 || nCount > 0xFFFF)
        throw CArchiveException(CArchiveException::genericException);
    return static_cast<WORD>(nCount);
}

} // namespace

CDosPartsFile::CDosPartsFile() = default;

void CDosPartsFile::SetColumnCount(int nColumns)
{
    if (m_cells.empty() && m_nRows == 0)
        m_nColumns = nColumns < 0 ? 0 : nColumns;
}

CString* CDosPartsFile::AddRow()
{
    if (m_nColumns == 0) {
        ++m_nRows;
        return nullptr;
    }
    const size_t nFirst = m_cells.size();
    m_cells.resize(nFirst + static_cast<size_t>(m_nColumns));
    return m_cells.data() + nFirst;
}

const CString& CDosPartsFile::GetCell(int nRow, int nCol) const
{
    static const CString s_empty;
    if (nRow < 0 || nCol < 0 || nCol >= m_nColumns || nRow >= GetRowCount())
        return s_empty;
    return m_cells[static_cast<size_t>(nRow) * static_cast<size_t>(m_nColumns) + static_cast<size_t>(nCol)];
}

void CDosPartsFile::Store(CArchive& ar) const
{
    const int nRows = GetRowCount();
    const WORD wRows = CountWord(nRows);
    ar << CString(kPartsMagic);
    ar << static_cast<WORD>(m_nZoom);
    ar << m_strFormName;
    CPartFormFile form(m_form);
    form.Serialize(ar);
    ar << wRows;
    ar << CountWord(m_nColumns);
    for (const CString& cell : m_cells)
        ar << cell;
    // No print layouts are chosen for a converted list.
    ar << static_cast<WORD>(0);
}
