#include "app/CSubjectFile.h"

#include "app/CMorvelSettings.h"
#include "app/MasterFileIo.h"
#include "platform/base/CArchive.h"

#include <utility>
#include <vector>

namespace {

const char* const kLevelHeadings[CSubjectFile::LEVEL_COUNT] = {"大科目", "中科目", "小科目"};
const char* const kLevelMessages[CSubjectFile::LEVEL_COUNT] = {
    "大科目ﾌｧｲﾙがないか、壊れています。",
    "中科目ﾌｧｲﾙがないか、壊れています。",
    "小科目ﾌｧｲﾙがないか、壊れています。",
};
const char* const kLevelWriteMessages[CSubjectFile::LEVEL_COUNT] = {
    "大科目ﾌｧｲﾙに書き込めません。",
    "中科目ﾌｧｲﾙに書き込めません。",
    "小科目ﾌｧｲﾙに書き込めません。",
};

} // namespace

CSubjectFile::CSubjectFile() : m_strMagic("This is project form file")
{
    for (int nLevel = 0; nLevel < LEVEL_COUNT; ++nLevel) {
        m_strHeading[nLevel][0] = CString::FromUtf8(kLevelHeadings[nLevel]);
        m_strHeading[nLevel][1] = "単位"_sj;
    }
}

CSubjectFile::~CSubjectFile() = default;

MasterKind CSubjectFile::GetMasterKind(int nLevel)
{
    switch (nLevel) {
    case levelMiddle:
        return masterMiddle;
    case levelSmall:
        return masterSmall;
    default:
        return masterLarge;
    }
}

void CSubjectFile::SetLevel(int nLevel, const std::vector<std::pair<CString, CString>>& subjects)
{
    if (!IsLevel(nLevel))
        return;
    m_nCount[nLevel] = ClampTableCount(static_cast<int>(subjects.size()), MAX_SUBJECTS);
    for (int i = 0; i < m_nCount[nLevel]; ++i) {
        m_strName[nLevel][static_cast<size_t>(i)] = subjects[static_cast<size_t>(i)].first;
        m_strUnit[nLevel][static_cast<size_t>(i)] = subjects[static_cast<size_t>(i)].second;
    }
}

void CSubjectFile::CopyLevel(int nLevel, const CSubjectFile& from)
{
    if (!IsLevel(nLevel))
        return;
    m_nCount[nLevel] = from.m_nCount[nLevel];
    m_strName[nLevel] = from.m_strName[nLevel];
    m_strUnit[nLevel] = from.m_strUnit[nLevel];
}

int CSubjectFile::SerializeLevel(int nLevel, CArchive& ar)
{
    if (!IsLevel(nLevel))
        return -1;
    std::array<CString, MAX_SUBJECTS>& names = m_strName[nLevel];
    std::array<CString, MAX_SUBJECTS>& units = m_strUnit[nLevel];

    if (ar.IsStoring()) {
        StoreStringTable(
            ar, m_strMagic, ClampTableCount(m_nCount[nLevel], MAX_SUBJECTS), 2,
            [&](int i, int j) -> const CString& { return (j == 0 ? names : units)[static_cast<size_t>(i)]; });
        return 0;
    }

    std::vector<CString> records;
    const CString strMessage = CString::FromUtf8(kLevelMessages[nLevel]);
    if (LoadStringTable(ar, m_strMagic, MAX_SUBJECTS, 2, strMessage, records) != 0)
        return -1;
    const size_t nCount = records.size() / 2;
    for (size_t i = 0; i < nCount; ++i) {
        names[i] = std::move(records[2 * i]);
        units[i] = std::move(records[2 * i + 1]);
    }
    m_nCount[nLevel] = static_cast<int>(nCount);
    return 0;
}

BOOL CSubjectFile::AddSubject(int nLevel, const char* lpszName, const char* lpszUnit)
{
    if (!IsLevel(nLevel) || m_nCount[nLevel] < 0 || m_nCount[nLevel] >= MAX_SUBJECTS)
        return FALSE;
    const size_t i = static_cast<size_t>(m_nCount[nLevel]);
    m_strName[nLevel][i] = lpszName;
    m_strUnit[nLevel][i] = lpszUnit;
    ++m_nCount[nLevel];
    return RewriteFile(nLevel);
}

BOOL CSubjectFile::ChangeSubject(int nLevel, int nIndex, const char* lpszName, const char* lpszUnit)
{
    if (!IsLevel(nLevel) || nIndex < 0 || nIndex >= m_nCount[nLevel] || nIndex >= MAX_SUBJECTS)
        return FALSE;
    m_strName[nLevel][static_cast<size_t>(nIndex)] = lpszName;
    m_strUnit[nLevel][static_cast<size_t>(nIndex)] = lpszUnit;
    return RewriteFile(nLevel);
}

BOOL CSubjectFile::DeleteSubject(int nLevel, int nIndex)
{
    if (!IsLevel(nLevel) || nIndex < 0 || nIndex >= m_nCount[nLevel] || nIndex >= MAX_SUBJECTS)
        return FALSE;
    std::array<CString, MAX_SUBJECTS>& names = m_strName[nLevel];
    std::array<CString, MAX_SUBJECTS>& units = m_strUnit[nLevel];
    const size_t nLast = static_cast<size_t>(ClampTableCount(m_nCount[nLevel], MAX_SUBJECTS));
    for (size_t i = static_cast<size_t>(nIndex); i + 1 < nLast; ++i) {
        names[i] = names[i + 1];
        units[i] = units[i + 1];
    }
    --m_nCount[nLevel];
    return RewriteFile(nLevel);
}

BOOL CSubjectFile::RewriteFile(int nLevel)
{
    return RewriteTableFile(
        CMorvelSettings::GetMasterFilePath(GetMasterKind(nLevel)),
        [this, nLevel](CArchive& ar) { SerializeLevel(nLevel, ar); },
        CString::FromUtf8(kLevelWriteMessages[nLevel]));
}
