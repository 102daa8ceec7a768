// The classification master: classification names (材料費, 労務費, ...) with their
// percentages, stored in "BUNRUL.MRD" in the "Other Form" folder.
#pragma once

#include "platform/base/CString.h"

#include <array>
#include <utility>
#include <vector>

class CArchive;

class CClassifyFile {
public:
    static constexpr int MAX_CLASSIFICATIONS = 1000;

    CClassifyFile();
    ~CClassifyFile();
    CClassifyFile(const CClassifyFile&) = default;
    CClassifyFile& operator=(const CClassifyFile&) = default;

    // Stores or loads the table. Returns 0, or -1 when a loaded file has the wrong magic
    // or more entries than the table holds; "分類ﾌｧｲﾙがないか、壊れています。!" has then
    // been shown and the table is unchanged. A file that ends early throws
    // CArchiveException (endOfFile) to the caller, the table unchanged.
    int Serialize(CArchive& ar);

    int GetCount() const { return m_nCount; }
    const CString& GetName(int nIndex) const { return m_strName[static_cast<size_t>(nIndex)]; }
    const CString& GetPercent(int nIndex) const { return m_strPercent[static_cast<size_t>(nIndex)]; }
    // The entries (name, percentage) in place of the table's, in memory only: the count
    // becomes their number (entries beyond MAX_CLASSIFICATIONS are left out).
    void SetEntries(const std::vector<std::pair<CString, CString>>& entries);

    CString m_strMagic;                                    // "This is classify form file"
    CString m_strHeading[2];                               // "分類名", "%"; never stored
    std::array<CString, MAX_CLASSIFICATIONS> m_strName;    // entries 0..count-1 are in use
    std::array<CString, MAX_CLASSIFICATIONS> m_strPercent; // the percentage as text

private:
    int m_nCount = 0; // changed only with the entries, by loading and SetEntries
};
