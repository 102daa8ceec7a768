// CFileDialog: the Open and Save As dialogs.
//
// Filters are given as the system writes them, "名前 (*.MMD)|*.MMD|名前2|*.A;*.B||", and
// match file names without regard to case (*.MMD finds "a.mmd" too). The chosen file comes
// back as a system path (code page 932); it is written into m_ofn.lpstrFile, which may be
// pointed at the caller's own buffer of m_ofn.nMaxFile bytes. A path that does not fit
// there makes the dialog fail (IDCANCEL) instead of handing back a cut path.
//
// Flags honoured: OFN_OVERWRITEPROMPT (ask before replacing a file), OFN_FILEMUSTEXIST,
// OFN_PATHMUSTEXIST, OFN_NOCHANGEDIR (without it the current folder becomes the chosen
// file's folder), OFN_HIDEREADONLY, OFN_EXPLORER and OFN_ENABLESIZING (the dialog is always
// resizable).
//
// The file list names a file's type from its name alone and never opens a file to list it:
// a folder may hold files that never end (a named pipe, a system folder's files), and a
// list that read them would hang.
#pragma once

#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/dialogs/CDialog.h"

#include <string>
#include <vector>

struct OPENFILENAME {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCTSTR lpstrFilter; // "name\0pattern\0...\0\0"
    LPTSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex; // 1-based; the chosen filter comes back here
    LPTSTR lpstrFile;   // the initial file name in, the chosen path out
    DWORD nMaxFile;
    LPTSTR lpstrFileTitle; // the chosen file's name (optional)
    DWORD nMaxFileTitle;
    LPCTSTR lpstrInitialDir;
    LPCTSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;    // where the file name starts in lpstrFile
    WORD nFileExtension; // where its extension starts (0: none)
    LPCTSTR lpstrDefExt;
    LPARAM lCustData;
    void* lpfnHook;
    LPCTSTR lpTemplateName;
};
typedef OPENFILENAME* LPOPENFILENAME;

// One filter of a filter string.
struct CFileDialogFilter {
    CString name;
    std::vector<CString> patterns; // "*.MMD", "*.*", ...
};

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);
    ~CFileDialog() override;

    OPENFILENAME m_ofn;

    // IDOK or IDCANCEL.
    INT_PTR DoModal() override;

    // The chosen file: the whole path, the name with and without its extension, the
    // extension (without the dot), the folder (without a trailing separator).
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;

    BOOL IsOpenDialog() const { return m_bOpenFileDialog; }
    // What the dialog shows when it opens (for tests and answers): the filters, the
    // folder it starts in (a system path) and its title.
    std::vector<CFileDialogFilter> GetFilters() const;
    CString GetStartFolder() const;
    CString GetInitialFileName() const;
    CString GetDialogTitle() const;

    // ---- the rules the dialog works by --------------------------------------------------
    // Parses "name|pattern|...||" (or the same with zero bytes, ending in two zeros).
    static std::vector<CFileDialogFilter> ParseFilter(const char* lpszFilter, bool bZeroSeparated);
    // A pattern for Qt that matches without regard to case: "*.MMD" -> "*.[mM][mM][dD]";
    // "*.*" matches every file, with or without a dot. UTF-8.
    static std::string QtPatternFor(const CString& pattern);
    // Whether a file name matches a pattern (letters without regard to case).
    static bool MatchesPattern(const CString& fileName, const CString& pattern);
    // The file name with the default extension added when it has none.
    static CString ApplyDefaultExtension(const CString& fileName, const CString& defExt);
    // Asks whether an existing file may be replaced (TRUE for a file that does not exist);
    // FALSE when the user says no. The save dialog and the PDF printer's output ask alike.
    static BOOL ConfirmOverwrite(const CString& path);
    // Names the program's files of an extension (".MMK") in the dialogs' file lists, beside
    // the document types of the application's templates, which name theirs.
    static void RegisterFileType(LPCTSTR lpszExtension, LPCTSTR lpszTypeName);

private:
    // Checks and stores a chosen path. FALSE when the dialog must not end with it (the user
    // was told why).
    BOOL AcceptPath(const CString& path, bool bInteractive);
    BOOL StorePath(const CString& path);

    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    CString m_strFilter; // zero-separated, what m_ofn.lpstrFilter points to
    std::vector<char> m_fileBuffer;
    std::vector<char> m_titleBuffer;
    CString m_strPathName;
};
