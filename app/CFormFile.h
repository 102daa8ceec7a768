// What the three form files have in common: a column layout of up to 100 items, each
// item a row of nColumns texts (item name, attribute, width, number picture, formula,
// rounding, then the form's codes). CEstimationFormFile and CPartFormFile use ten
// columns, CInformationFormFile eight.
#pragma once

#include "platform/base/CString.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

class CArchive;

template <int nColumns>
class CFormFile {
public:
    static constexpr int MAX_ITEMS = 100;
    static constexpr int COLUMN_COUNT = nColumns;

    // The columns every form has; the codes follow from column 6 on.
    enum Column { colName = 0, colAttribute, colWidth, colPicture, colFormula, colRounding };

    ~CFormFile() = default;

    int GetCount() const { return m_nCount; }
    // The number of items in use, kept within 0..MAX_ITEMS; every item keeps its texts.
    void SetCount(int nCount) { m_nCount = std::clamp(nCount, 0, MAX_ITEMS); }
    const CString& GetItem(int nItem, int nColumn) const { return m_strItem[Index(nItem, nColumn)]; }
    CString& GetItem(int nItem, int nColumn) { return m_strItem[Index(nItem, nColumn)]; }
    void SetItem(int nItem, int nColumn, const char* lpszText)
    {
        m_strItem[Index(nItem, nColumn)] = lpszText;
    }
    // The names of the items in use, in their order (what the dialogs list and the field
    // texts of a print layout name).
    std::vector<CString> GetItemNames() const;
    // The attribute of item nItem; empty for an item that is not in use.
    CString GetItemAttribute(int nItem) const;

    CString m_strMagic;
    std::array<CString, MAX_ITEMS * nColumns> m_strItem; // item i, column j: nColumns * i + j
    std::array<CString, nColumns> m_strHeading;          // column titles; never stored

protected:
    // lpszMagic is ASCII; the headings are written in UTF-8 and kept in code page 932.
    CFormFile(const char* lpszMagic, const std::array<const char*, nColumns>& headings);
    CFormFile(const CFormFile&) = default;
    CFormFile& operator=(const CFormFile&) = default;

    // Stores the form, or loads it: 0, or -1 after showing lpszMessage when the magic is
    // wrong or the stored count is above 100 (the form is then unchanged). A file that
    // ends early throws CArchiveException (endOfFile) to the caller, the form unchanged.
    // Items at or above a loaded count keep what they held.
    int SerializeForm(CArchive& ar, const char* lpszMessage);

    // Same item count, and the same name and attribute in every item in use, compared
    // byte for byte. Widths, pictures, formulas, codes, headings and magic do not count.
    BOOL IsSameFormAs(const CFormFile& other) const;

private:
    int m_nCount = 0; // items 0..m_nCount-1 are in use; changed by loading and SetCount

    static size_t Index(int nItem, int nColumn)
    {
        return static_cast<size_t>(nItem) * nColumns + static_cast<size_t>(nColumn);
    }
};

extern template class CFormFile<10>;
extern template class CFormFile<8>;
