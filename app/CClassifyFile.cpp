#include "app/CClassifyFile.h"

#include "app/MasterFileIo.h"
#include "platform/base/CArchive.h"

#include <utility>
#include <vector>

CClassifyFile::CClassifyFile()
    : m_strMagic("This is classify form file"), m_strHeading{"分類名"_sj, CString("%")}
{
}

CClassifyFile::~CClassifyFile() = default;

void CClassifyFile::SetEntries(const std::vector<std::pair<CString, CString>>& entries)
{
    m_nCount = ClampTableCount(static_cast<int>(entries.size()), MAX_CLASSIFICATIONS);
    for (int i = 0; i < m_nCount; ++i) {
        m_strName[static_cast<size_t>(i)] = entries[static_cast<size_t>(i)].first;
        m_strPercent[static_cast<size_t>(i)] = entries[static_cast<size_t>(i)].second;
    }
}

int CClassifyFile::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        StoreStringTable(ar, m_strMagic, ClampTableCount(m_nCount, MAX_CLASSIFICATIONS), 2,
                         [this](int i, int j) -> const CString& {
                             return (j == 0 ? m_strName : m_strPercent)[static_cast<size_t>(i)];
                         });
        return 0;
    }

    std::vector<CString> records;
    // The stray "!" belongs to this message as the program has always shown it.
    if (LoadStringTable(ar, m_strMagic, MAX_CLASSIFICATIONS, 2, "分類ﾌｧｲﾙがないか、壊れています。!"_sj,
                        records) != 0)
        return -1;
    const size_t nCount = records.size() / 2;
    for (size_t i = 0; i < nCount; ++i) {
        m_strName[i] = std::move(records[2 * i]);
        m_strPercent[i] = std::move(records[2 * i + 1]);
    }
    m_nCount = static_cast<int>(nCount);
    return 0;
}
