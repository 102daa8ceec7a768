// The unit master: the unit names the estimator picks from ("m", "m2", "式", ...),
// stored in "TANNI.MTD" in the "Other Form" folder.
#pragma once

#include "platform/base/CString.h"

#include <array>
#include <vector>

class CArchive;

class CUnitFile {
public:
    static constexpr int MAX_UNITS = 1000;

    CUnitFile();
    ~CUnitFile();
    CUnitFile(const CUnitFile&) = default;
    CUnitFile& operator=(const CUnitFile&) = default;

    // Stores or loads the table, as the archive says. Returns 0, or -1 when a loaded
    // file has the wrong magic or more units than the table holds; the message
    // "単位ﾌｧｲﾙがないか、壊れています。" has then been shown and the table is unchanged.
    // A file that ends early throws CArchiveException (endOfFile) to the caller; the
    // table is unchanged then too (it is read aside and taken over only when whole).
    int Serialize(CArchive& ar);

    // Edit operations of the pick dialogs: change the table, then rewrite "tanni.MTD"
    // in the "Other Form" folder of the current settings (see CMorvelSettings). An index
    // outside 0..count-1, or an add to a full table, changes nothing and returns FALSE.
    // When the file cannot be written a message says so; the change stays in memory
    // and FALSE is returned.
    BOOL AddUnit(const char* lpszName);
    BOOL ChangeUnit(int nIndex, const char* lpszName);
    BOOL DeleteUnit(int nIndex);

    int GetCount() const { return m_nCount; }
    const CString& GetUnit(int nIndex) const { return m_strUnit[static_cast<size_t>(nIndex)]; }
    // The units in place of the table's, in memory only: the count becomes their number
    // (units beyond MAX_UNITS are left out) and entries 0..count-1 are theirs.
    void SetUnits(const std::vector<CString>& units);

    CString m_strMagic;                       // "This is unit file"
    CString m_strHeading;                     // "単位", a column title; never stored
    std::array<CString, MAX_UNITS> m_strUnit; // units 0..count-1 are in use

private:
    int m_nCount = 0; // changed only with the units, by loading and the edit operations
    BOOL RewriteFile();
};
