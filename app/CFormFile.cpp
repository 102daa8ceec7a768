#include "app/CFormFile.h"

#include "app/MasterFileIo.h"
#include "platform/base/CArchive.h"

#include <utility>
#include <vector>

template <int nColumns>
CFormFile<nColumns>::CFormFile(const char* lpszMagic, const std::array<const char*, nColumns>& headings)
    : m_strMagic(lpszMagic)
{
    for (int j = 0; j < nColumns; ++j)
        m_strHeading[static_cast<size_t>(j)] = CString::FromUtf8(headings[static_cast<size_t>(j)]);
}

template <int nColumns>
int CFormFile<nColumns>::SerializeForm(CArchive& ar, const char* lpszMessage)
{
    if (ar.IsStoring()) {
        StoreStringTable(ar, m_strMagic, ClampTableCount(m_nCount, MAX_ITEMS), nColumns,
                         [this](int i, int j) -> const CString& { return m_strItem[Index(i, j)]; });
        return 0;
    }

    std::vector<CString> records;
    if (LoadStringTable(ar, m_strMagic, MAX_ITEMS, nColumns, lpszMessage, records) != 0)
        return -1;
    for (size_t i = 0; i < records.size(); ++i)
        m_strItem[i] = std::move(records[i]);
    m_nCount = static_cast<int>(records.size() / nColumns);
    return 0;
}

template <int nColumns>
std::vector<CString> CFormFile<nColumns>::GetItemNames() const
{
    std::vector<CString> names;
    for (int i = 0; i < m_nCount; ++i)
        names.push_back(GetItem(i, colName));
    return names;
}

template <int nColumns>
CString CFormFile<nColumns>::GetItemAttribute(int nItem) const
{
    return nItem >= 0 && nItem < m_nCount ? GetItem(nItem, colAttribute) : CString();
}

template <int nColumns>
BOOL CFormFile<nColumns>::IsSameFormAs(const CFormFile& other) const
{
    if (m_nCount != other.m_nCount)
        return FALSE;
    const int nCount = ClampTableCount(m_nCount, MAX_ITEMS);
    for (int i = 0; i < nCount; ++i) {
        if (GetItem(i, colName) != other.GetItem(i, colName) ||
            GetItem(i, colAttribute) != other.GetItem(i, colAttribute))
            return FALSE;
    }
    return TRUE;
}

template class CFormFile<10>;
template class CFormFile<8>;
