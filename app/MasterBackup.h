// File names of the master files and of the backup copies made before a master or form
// file is rewritten by the setup sheet.
//
// Start-up opens the masters under their upper-case names ("TANNI.MTD"); the edit
// operations and the setup sheet use the lower-case spellings ("tanni.MTD"). Names
// are matched without regard to case, so both find the same file.
#pragma once

#include "platform/base/CString.h"

enum MasterKind { masterUnit = 0, masterLarge, masterMiddle, masterSmall, masterClassify, masterKindCount };
enum FormKind { formEstimation = 0, formParts, formInformation, formKindCount };

// "tanni.MTD", "kamoku.MKB", "kamoku.MKM", "kamoku.MKS", "bunrul.MRD".
const char* GetMasterFileName(MasterKind kind);
// "TANNI.MTD", "KAMOKU.MKB", "KAMOKU.MKM", "KAMOKU.MKS", "BUNRUL.MRD".
const char* GetMasterStartupFileName(MasterKind kind);
// "tanni.BTD", "kamoku.BKB", "kamoku.BKM", "kamoku.BKS", "bunrul.BRD".
const char* GetMasterBackupName(MasterKind kind);

// ".BMK", ".BBK", ".BJK".
const char* GetFormBackupExtension(FormKind kind);
// The backup of a form file: its path up to the last "." of the file name, plus the
// backup extension ("C:\MORVEL\FORM\meisai.MMK" -> "C:\MORVEL\FORM\meisai.BMK"). Only
// the file name is searched for the ".", so a dot in a folder name is never taken; a
// name without one gets the extension appended.
CString GetFormBackupPath(const CString& strFormPath, FormKind kind);

// Copies a file over its backup, replacing an older backup, but only while the input
// setting "Backup File" is 0 (make backups). A missing source makes no backup and is not
// reported. Returns TRUE when a copy was made.
BOOL MakeBackupCopy(const CString& strSource, const CString& strBackup, int nBackupFileSetting);

// The backup of one master file in its folder (a folder as GetPathSetting gives it,
// ending in a separator).
BOOL MakeMasterBackup(const CString& strFolder, MasterKind kind, int nBackupFileSetting);
// The backup of a form file (its full path).
BOOL MakeFormBackup(const CString& strFormPath, FormKind kind, int nBackupFileSetting);
