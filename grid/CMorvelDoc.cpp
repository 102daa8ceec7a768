#include "grid/CMorvelDoc.h"

#include "app/CMorvelApp.h"
#include "app/CMorvelSettings.h"
#include "app/CWaitDialog.h"
#include "app/MasterBackup.h"
#include "app/SharedRecords.h"
#include "grid/CMorvelView.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CUserException.h"
#include "platform/ui/frames/CView.h"

#include <algorithm>
#include <cerrno>

IMPLEMENT_DYNAMIC(CMorvelDoc, CDocument)

CMorvelDoc::CMorvelDoc() = default;

CMorvelDoc::~CMorvelDoc()
{
    ClearPrintForms();
}

HMENU CMorvelDoc::GetDefaultMenu()
{
    if (CMorvelApp* pApp = GetMorvelApp()) {
        if (HMENU hMenu = AppMenu(*pApp).GetSafeHmenu())
            return hMenu;
    }
    return CDocument::GetDefaultMenu();
}

void CMorvelDoc::SetModifiedFlag(BOOL bModified)
{
    CDocument::SetModifiedFlag(bModified);
    if (bModified)
        CMorvelView::NoteDocumentChanged(*this);
}

void CMorvelDoc::ClearPrintForms()
{
    ClearPrintFormList(m_aPrintForms);
}

BOOL CMorvelDoc::OnSaveDocument(LPCTSTR lpszPathName)
{
    // The file names the layouts as they are found from its new place. A failed save leaves
    // them naming the same layouts as before.
    KeepPrintFormsFound(m_aPrintForms, GetPathName(), lpszPathName);
    return CDocument::OnSaveDocument(lpszPathName);
}

WORD CMorvelDoc::CountWord(long long nCount)
{
    if (nCount < 0 || nCount > MAX_FILE_WORD)
        throw CArchiveException(CArchiveException::genericException);
    return static_cast<WORD>(nCount);
}

CString CMorvelDoc::ReplaceExtension(const char* lpszPathName, const char* lpszExtension)
{
    const CString strPath(lpszPathName);
    // Only the file name is searched for its ".": folders may hold points too.
    const int nName = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/')) + 1;
    const int nDot = strPath.Mid(nName).ReverseFind('.');
    if (nDot < 0)
        return strPath + "." + lpszExtension;
    return strPath.Left(nName + nDot + 1) + lpszExtension;
}

bool CMorvelDoc::ReadWholeFile(LPCTSTR lpszPathName, const CString& strWaitText)
{
    CWaitScope wait(strWaitText);
    try {
        SerializeWholeFile(lpszPathName);
    } catch (CUserException&) {
        // The reader has told the user already.
        return false;
    } catch (CException& e) {
        wait.Close();
        ReportSaveLoadException(lpszPathName, &e, FALSE, 0);
        return false;
    }
    return true;
}

bool CMorvelDoc::CheckSaveTarget(LPCTSTR lpszPathName)
{
    if (CanWriteFileAtomically(lpszPathName))
        return true;
    const int err = errno;
    CFileException fe(CFile::ErrnoToCause(err), err, lpszPathName);
    ReportSaveLoadException(lpszPathName, &fe, TRUE, 0);
    return false;
}

void CMorvelDoc::CopyToBackup(LPCTSTR lpszPathName, const CString& strBackupPath)
{
    MakeBackupCopy(CString(lpszPathName), strBackupPath,
                   CMorvelSettings::CurrentProfileInt("Input Setting", "Backup File", 0));
}

CView* CMorvelDoc::FindView(CRuntimeClass* pClass) const
{
    POSITION pos = GetFirstViewPosition();
    while (pos != nullptr) {
        CView* pView = GetNextView(pos);
        if (pView != nullptr && pView->IsKindOf(pClass))
            return pView;
    }
    return nullptr;
}
