// The subject master in its three levels, large (大科目), middle (中科目) and small
// (小科目): pairs of subject name and unit. Each level is its own file in the "Other
// Form" folder ("KAMOKU.MKB", "KAMOKU.MKM", "KAMOKU.MKS"), all three with the magic
// "This is project form file"; only the file name tells which level a file holds.
#pragma once

#include "app/MasterBackup.h"
#include "platform/base/CString.h"

#include <array>
#include <utility>
#include <vector>

class CArchive;

class CSubjectFile {
public:
    enum Level { levelLarge = 0, levelMiddle = 1, levelSmall = 2 };
    static constexpr int LEVEL_COUNT = 3;
    static constexpr int MAX_SUBJECTS = 1000;

    CSubjectFile();
    ~CSubjectFile();
    CSubjectFile(const CSubjectFile&) = default;
    CSubjectFile& operator=(const CSubjectFile&) = default;

    // Store or load one level. Return 0, or -1 when a loaded file has the wrong magic or
    // more subjects than a level holds; the level's message ("大科目ﾌｧｲﾙがないか、壊れて
    // います。" and so on) has then been shown and the level is unchanged. A file that ends
    // early throws CArchiveException (endOfFile) to the caller, the level unchanged.
    int SerializeLarge(CArchive& ar) { return SerializeLevel(levelLarge, ar); }
    int SerializeMiddle(CArchive& ar) { return SerializeLevel(levelMiddle, ar); }
    int SerializeSmall(CArchive& ar) { return SerializeLevel(levelSmall, ar); }
    int SerializeLevel(int nLevel, CArchive& ar);

    // Edit operations of the pick dialogs: change the level's table, then rewrite its
    // file ("kamoku.MKB", "kamoku.MKM" or "kamoku.MKS" in the "Other Form" folder of the
    // current settings). An index outside 0..count-1, or an add to a full level, changes
    // nothing and returns FALSE. When the file cannot be written a message says so; the
    // change stays in memory and FALSE is returned.
    BOOL AddLarge(const char* lpszName, const char* lpszUnit)
    {
        return AddSubject(levelLarge, lpszName, lpszUnit);
    }
    BOOL AddMiddle(const char* lpszName, const char* lpszUnit)
    {
        return AddSubject(levelMiddle, lpszName, lpszUnit);
    }
    BOOL AddSmall(const char* lpszName, const char* lpszUnit)
    {
        return AddSubject(levelSmall, lpszName, lpszUnit);
    }
    BOOL ChangeLarge(int nIndex, const char* lpszName, const char* lpszUnit)
    {
        return ChangeSubject(levelLarge, nIndex, lpszName, lpszUnit);
    }
    BOOL ChangeMiddle(int nIndex, const char* lpszName, const char* lpszUnit)
    {
        return ChangeSubject(levelMiddle, nIndex, lpszName, lpszUnit);
    }
    BOOL ChangeSmall(int nIndex, const char* lpszName, const char* lpszUnit)
    {
        return ChangeSubject(levelSmall, nIndex, lpszName, lpszUnit);
    }
    BOOL DeleteLarge(int nIndex) { return DeleteSubject(levelLarge, nIndex); }
    BOOL DeleteMiddle(int nIndex) { return DeleteSubject(levelMiddle, nIndex); }
    BOOL DeleteSmall(int nIndex) { return DeleteSubject(levelSmall, nIndex); }

    BOOL AddSubject(int nLevel, const char* lpszName, const char* lpszUnit);
    BOOL ChangeSubject(int nLevel, int nIndex, const char* lpszName, const char* lpszUnit);
    BOOL DeleteSubject(int nLevel, int nIndex);

    int GetCount(int nLevel) const { return m_nCount[nLevel]; }
    const CString& GetName(int nLevel, int nIndex) const
    {
        return m_strName[nLevel][static_cast<size_t>(nIndex)];
    }
    const CString& GetUnit(int nLevel, int nIndex) const
    {
        return m_strUnit[nLevel][static_cast<size_t>(nIndex)];
    }

    // A level's subjects (name, unit) in place of its own, in memory only: the level's
    // count becomes their number (subjects beyond MAX_SUBJECTS are left out). No level
    // outside 0..LEVEL_COUNT-1 is changed.
    void SetLevel(int nLevel, const std::vector<std::pair<CString, CString>>& subjects);
    // A level taken over whole from another table: its count and every entry.
    void CopyLevel(int nLevel, const CSubjectFile& from);

    // The master file that holds a level.
    static MasterKind GetMasterKind(int nLevel);

    CString m_strMagic;                   // "This is project form file"
    CString m_strHeading[LEVEL_COUNT][2]; // (大科目|中科目|小科目, 単位); never stored
    std::array<CString, MAX_SUBJECTS> m_strName[LEVEL_COUNT]; // subjects 0..count-1 of each level
    std::array<CString, MAX_SUBJECTS> m_strUnit[LEVEL_COUNT];

private:
    // Changed only with the subjects, by loading, the edit operations and SetLevel/CopyLevel.
    int m_nCount[LEVEL_COUNT] = {0, 0, 0};

    static bool IsLevel(int nLevel) { return nLevel >= 0 && nLevel < LEVEL_COUNT; }
    BOOL RewriteFile(int nLevel);
};
