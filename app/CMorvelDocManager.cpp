#include "app/CMorvelDocManager.h"

#include "app/CMorvelApp.h"
#include "app/CMorvelFileDialog.h"
#include "platform/base/Cp932.h"
#include "platform/ui/frames/CDocTemplate.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinApi.h"

#include <memory>

IMPLEMENT_DYNAMIC(CMorvelDocManager, CDocManager)

namespace {

// The key the document dialog remembers its folder under, whatever the document type.
const char kDocumentKey[] = "MMD";

// Positions of the character starts of a code page 932 text, so that a separator is never
// taken for the second byte of a double-byte character.
int FindLastSeparator(const CString& strPath)
{
    int nLast = -1;
    const char* p = strPath.c_str();
    for (int i = 0; p[i] != '\0';) {
        if (p[i] == '\\' || p[i] == '/')
            nLast = i;
        i += Cp932CharLength(p + i);
    }
    return nLast;
}

int FindLastDot(const CString& strName)
{
    int nLast = -1;
    const char* p = strName.c_str();
    for (int i = 0; p[i] != '\0';) {
        if (p[i] == '.')
            nLast = i;
        i += Cp932CharLength(p + i);
    }
    return nLast;
}

} // namespace

CMapStringToString& GetExtensionPathMap()
{
    static CMapStringToString s_map(10);
    return s_map;
}

CString GetExtensionPath(const char* lpszExtension)
{
    CString strKey(lpszExtension);
    strKey.MakeUpper();
    CString strFolder;
    if (GetExtensionPathMap().Lookup(strKey, strFolder))
        return strFolder;
    if (CMorvelSettings* pSettings = CMorvelSettings::GetCurrent())
        return pSettings->GetPathSetting("Work Field");
    return "\\";
}

void SetExtensionPath(const char* lpszExtension, const char* lpszFolder)
{
    CString strKey(lpszExtension);
    strKey.MakeUpper();
    GetExtensionPathMap().SetAt(strKey, lpszFolder);
}

CString GetFileNameOfPath(const CString& strPath)
{
    return strPath.Mid(FindLastSeparator(strPath) + 1);
}

CString GetFolderOfPath(const CString& strPath)
{
    return strPath.Left(FindLastSeparator(strPath) + 1);
}

CString GetExtensionOfPath(const CString& strPath)
{
    const CString strName = GetFileNameOfPath(strPath);
    const int nDot = FindLastDot(strName);
    return nDot < 0 ? CString() : strName.Mid(nDot + 1);
}

CString ReplaceFileExtension(const CString& strPath, const char* lpszExtension)
{
    const CString strName = GetFileNameOfPath(strPath);
    const int nDot = FindLastDot(strName);
    if (nDot < 0)
        return strPath + lpszExtension;
    return strPath.Left(strPath.GetLength() - strName.GetLength() + nDot) + lpszExtension;
}

CString RemoveTrailingBackslash(const CString& strFolder)
{
    const int nLast = FindLastSeparator(strFolder);
    if (nLast >= 0 && nLast == strFolder.GetLength() - 1 && strFolder[nLast] == '\\')
        return strFolder.Left(nLast);
    return strFolder;
}

BOOL IsWow64()
{
    BOOL bWow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &bWow64))
        return FALSE;
    return bWow64;
}

CMorvelDocManager::CMorvelDocManager()
{
    GetExtensionPathMap().RemoveAll();
}

CMorvelDocManager::~CMorvelDocManager() = default;

CString CMorvelDocManager::BuildFilter(CDocTemplate* pTemplate, CString& strDefaultExt) const
{
    CString strFilter;
    strDefaultExt.Empty();
    auto append = [&](CDocTemplate* pDocTemplate) {
        CString strName;
        CString strExt;
        if (!pDocTemplate->GetDocString(strExt, CDocTemplate::filterExt) || strExt.IsEmpty() ||
            !pDocTemplate->GetDocString(strName, CDocTemplate::filterName) || strName.IsEmpty())
            return;
        if (strDefaultExt.IsEmpty())
            strDefaultExt = strExt[0] == '.' ? strExt.Mid(1) : strExt;
        strFilter += strName + "|*" + strExt + "|";
    };
    if (pTemplate != nullptr) {
        append(pTemplate);
    } else {
        POSITION pos = GetFirstDocTemplatePosition();
        while (pos != nullptr)
            append(GetNextDocTemplate(pos));
    }
    strFilter += "すべてのﾌｧｲﾙ (*.*)|*.*||"_sj;
    return strFilter;
}

CString CMorvelDocManager::GetStartFolder() const
{
    CString strFolder = GetExtensionPath(kDocumentKey);
    CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    if (pSettings != nullptr && pSettings->IsRemoveBackSlash())
        strFolder = RemoveTrailingBackslash(strFolder);
    return strFolder;
}

BOOL CMorvelDocManager::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                                         BOOL bOpenFileDialog, CDocTemplate* pTemplate)
{
    CString strDefaultExt;
    const CString strFilter = BuildFilter(pTemplate, strDefaultExt);
    const DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | lFlags | OFN_NOCHANGEDIR;
    // Open shows the caller's name as it is; Save offers only the name and extension.
    const CString strFileName = bOpenFileDialog ? fileName : GetFileNameOfPath(fileName);

    std::unique_ptr<CFileDialog> pDialog;
    if (bOpenFileDialog)
        pDialog = std::make_unique<CMorvelFileDialog>(TRUE, strDefaultExt, strFileName, dwFlags, strFilter,
                                                      AfxGetMainWnd());
    else
        pDialog = std::make_unique<CFileDialog>(FALSE, strDefaultExt, strFileName, dwFlags, strFilter,
                                                AfxGetMainWnd());

    const CString strTitle = AfxLoadString(nIDSTitle);
    const CString strStartFolder = GetStartFolder();
    pDialog->m_ofn.lpstrTitle = strTitle.IsEmpty() ? nullptr : strTitle.c_str();
    pDialog->m_ofn.lpstrInitialDir = strStartFolder;
    pDialog->m_ofn.nFilterIndex = 1;

    if (pDialog->DoModal() != IDOK)
        return FALSE;
    const CString strPath = pDialog->GetPathName();
    // A folder is remembered once a file came from it or went into it: a save that fails
    // leaves the dialogs where they were.
    if (bOpenFileDialog)
        SetExtensionPath(kDocumentKey, GetFolderOfPath(strPath));
    fileName = strPath;
    return TRUE;
}

void CMorvelDocManager::OnPromptedFileSaved(LPCTSTR lpszPathName)
{
    SetExtensionPath(kDocumentKey, GetFolderOfPath(lpszPathName));
}
