#include "app/CUnitFile.h"

#include "app/CMorvelSettings.h"
#include "app/MasterBackup.h"
#include "app/MasterFileIo.h"
#include "platform/base/CArchive.h"

#include <algorithm>
#include <utility>
#include <vector>

CUnitFile::CUnitFile() : m_strMagic("This is unit file"), m_strHeading("単位"_sj) {}

CUnitFile::~CUnitFile() = default;

int CUnitFile::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        StoreStringTable(ar, m_strMagic, ClampTableCount(m_nCount, MAX_UNITS), 1,
                         [this](int i, int) -> const CString& { return m_strUnit[static_cast<size_t>(i)]; });
        return 0;
    }

    std::vector<CString> records;
    if (LoadStringTable(ar, m_strMagic, MAX_UNITS, 1, "単位ﾌｧｲﾙがないか、壊れています。"_sj, records) != 0)
        return -1;
    for (size_t i = 0; i < records.size(); ++i)
        m_strUnit[i] = std::move(records[i]);
    m_nCount = static_cast<int>(records.size());
    return 0;
}

void CUnitFile::SetUnits(const std::vector<CString>& units)
{
    m_nCount = ClampTableCount(static_cast<int>(units.size()), MAX_UNITS);
    std::copy_n(units.begin(), m_nCount, m_strUnit.begin());
}

BOOL CUnitFile::AddUnit(const char* lpszName)
{
    if (m_nCount < 0 || m_nCount >= MAX_UNITS)
        return FALSE;
    m_strUnit[static_cast<size_t>(m_nCount)] = lpszName;
    ++m_nCount;
    return RewriteFile();
}

BOOL CUnitFile::ChangeUnit(int nIndex, const char* lpszName)
{
    if (nIndex < 0 || nIndex >= m_nCount || nIndex >= MAX_UNITS)
        return FALSE;
    m_strUnit[static_cast<size_t>(nIndex)] = lpszName;
    return RewriteFile();
}

BOOL CUnitFile::DeleteUnit(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nCount || nIndex >= MAX_UNITS)
        return FALSE;
    const size_t nLast = static_cast<size_t>(ClampTableCount(m_nCount, MAX_UNITS));
    for (size_t i = static_cast<size_t>(nIndex); i + 1 < nLast; ++i)
        m_strUnit[i] = m_strUnit[i + 1];
    --m_nCount;
    return RewriteFile();
}

BOOL CUnitFile::RewriteFile()
{
    return RewriteTableFile(
        CMorvelSettings::GetMasterFilePath(masterUnit), [this](CArchive& ar) { Serialize(ar); },
        "単位ﾌｧｲﾙに書き込めません。"_sj);
}
