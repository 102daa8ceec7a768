// The document manager of the program. It replaces the framework's so that every document
// file (estimates ".MMD", parts lists ".MBD", print layouts ".MMP" and ".MBP") is opened and
// saved through one file dialog that lists the filters of all four types, starts in a
// remembered folder instead of the current directory, and never changes the current
// directory.
//
// The folder is remembered in a process-wide map from an upper-case file extension to a
// folder, which the other file dialogs of the program share (CSV and exports, the import of
// outside data, the print-layout file dialogs). The document dialog itself reads and
// writes only the key "MMD", whatever the document type.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/ui/frames/CDocManager.h"

class CMorvelDocManager : public CDocManager {
    DECLARE_DYNAMIC(CMorvelDocManager)
public:
    // Empties the folder map: every run of the program starts without remembered folders.
    CMorvelDocManager();
    ~CMorvelDocManager() override;

    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                          CDocTemplate* pTemplate) override;
    void OnPromptedFileSaved(LPCTSTR lpszPathName) override;

    // The filter list of the dialog: the filter of pTemplate alone, or one filter per
    // registered template in registration order, each "name|*.EXT|", then the all-files
    // filter "すべてのﾌｧｲﾙ (*.*)|*.*|" and the closing "|". strDefaultExt receives the
    // extension (without the dot) of pTemplate or of the first template.
    CString BuildFilter(CDocTemplate* pTemplate, CString& strDefaultExt) const;
    // The folder the dialog starts in: the one remembered under "MMD", else the "Work
    // Field" folder; without its trailing backslash when the settings ask for that.
    CString GetStartFolder() const;
};

// The extension-to-folder map (key: upper-case extension without the dot, value: a folder
// ending in a backslash). It starts empty and lives only while the program runs.
CMapStringToString& GetExtensionPathMap();
// The folder remembered for an extension (upper-cased before the look-up), or the "Work
// Field" folder when none is.
CString GetExtensionPath(const char* lpszExtension);
// Remembers a folder for an extension (upper-cased), replacing an earlier one.
void SetExtensionPath(const char* lpszExtension, const char* lpszFolder);

// The folder part of a chosen path: the path less its file name, so it keeps its trailing
// separator ("C:\WORK\A.MMD" -> "C:\WORK\").
CString GetFolderOfPath(const CString& strPath);
// The file name of a path (after its last "\" or "/"), for a code page 932 path.
CString GetFileNameOfPath(const CString& strPath);
// The extension of a file name without the dot ("" when it has none).
CString GetExtensionOfPath(const CString& strPath);
// The path with the extension of its file name (from the name's last ".") replaced by
// lpszExtension (".ini", ".chm"); a file name without a "." gets it appended.
CString ReplaceFileExtension(const CString& strPath, const char* lpszExtension);
// A folder without its trailing backslash (one character, a real backslash and not the
// second byte of a double-byte character); other folders unchanged.
CString RemoveTrailingBackslash(const CString& strFolder);

// TRUE when the process is a 32-bit process on a 64-bit system: never, on this platform.
BOOL IsWow64();
