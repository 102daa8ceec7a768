#include "app/MasterBackup.h"

#include "platform/base/Path.h"

namespace {

struct MasterNames {
    const char* file;
    const char* startupFile;
    const char* backup;
};

constexpr MasterNames kMasterNames[masterKindCount] = {
    {"tanni.MTD", "TANNI.MTD", "tanni.BTD"},    {"kamoku.MKB", "KAMOKU.MKB", "kamoku.BKB"},
    {"kamoku.MKM", "KAMOKU.MKM", "kamoku.BKM"}, {"kamoku.MKS", "KAMOKU.MKS", "kamoku.BKS"},
    {"bunrul.MRD", "BUNRUL.MRD", "bunrul.BRD"},
};

constexpr const char* kFormBackupExtensions[formKindCount] = {".BMK", ".BBK", ".BJK"};

const MasterNames& NamesOf(MasterKind kind)
{
    const int index = kind >= 0 && kind < masterKindCount ? kind : masterUnit;
    return kMasterNames[index];
}

} // namespace

const char* GetMasterFileName(MasterKind kind)
{
    return NamesOf(kind).file;
}
const char* GetMasterStartupFileName(MasterKind kind)
{
    return NamesOf(kind).startupFile;
}
const char* GetMasterBackupName(MasterKind kind)
{
    return NamesOf(kind).backup;
}

const char* GetFormBackupExtension(FormKind kind)
{
    return kFormBackupExtensions[kind >= 0 && kind < formKindCount ? kind : formEstimation];
}

CString GetFormBackupPath(const CString& strFormPath, FormKind kind)
{
    // ReverseFind steps over double-byte characters, so a trail byte 0x5C is never
    // taken for a separator.
    const int nBackslash = strFormPath.ReverseFind('\\');
    const int nSlash = strFormPath.ReverseFind('/');
    const int nNameStart = (nBackslash > nSlash ? nBackslash : nSlash) + 1;
    const int nDot = strFormPath.ReverseFind('.');
    CString strBase = nDot >= nNameStart ? strFormPath.Left(nDot) : strFormPath;
    return strBase + GetFormBackupExtension(kind);
}

BOOL MakeBackupCopy(const CString& strSource, const CString& strBackup, int nBackupFileSetting)
{
    // What a backup killed part-way left goes at every save, whether backups are made now
    // or not: no later write may be coming to clear it.
    RemoveLeftTemporaries(strBackup);
    if (nBackupFileSetting != 0)
        return FALSE;
    // A file the user may not write is refused by the write that follows the backup, so
    // the backup made before an earlier write stays the one to go back to.
    if (!CanWriteFileAtomically(strSource))
        return FALSE;
    return CopyFile(strSource, strBackup, FALSE);
}

BOOL MakeMasterBackup(const CString& strFolder, MasterKind kind, int nBackupFileSetting)
{
    return MakeBackupCopy(strFolder + GetMasterFileName(kind), strFolder + GetMasterBackupName(kind),
                          nBackupFileSetting);
}

BOOL MakeFormBackup(const CString& strFormPath, FormKind kind, int nBackupFileSetting)
{
    return MakeBackupCopy(strFormPath, GetFormBackupPath(strFormPath, kind), nBackupFileSetting);
}
