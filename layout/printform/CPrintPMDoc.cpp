#include "layout/printform/CPrintPMDoc.h"

#include "app/CMorvelSettings.h"
#include "layout/printform/FormFileReading.h"
#include "layout/printform/FormSelection.h"
#include "platform/base/CArchive.h"
#include "platform/ui/core/CUserException.h"

IMPLEMENT_DYNCREATE(CPrintPMDoc, CPrintDoc)

CPrintPMDoc::CPrintPMDoc() = default;

CPrintPMDoc::~CPrintPMDoc() = default;

void CPrintPMDoc::RebuildFieldRefs()
{
    RebuildFieldRefsFor("$部材("_sj);
}

void CPrintPMDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        RebuildFieldRefs();
        ar << m_strCurPartsForm;
        m_curPartsForm.Serialize(ar);
        CPrintDoc::Serialize(ar);
        return;
    }
    ar >> m_strCurPartsForm;
    if (m_curPartsForm.Serialize(ar) != 0)
        AfxThrowUserException();
    CPrintDoc::Serialize(ar);
    RebuildFieldRefs();
}

BOOL CPrintPMDoc::ReadForms(const CString& strParts)
{
    CPartFormFile parts;
    if (!ReadLayoutForm("Parts Form", strParts, parts))
        return FALSE;
    m_strCurPartsForm = strParts;
    m_curPartsForm = parts;
    return TRUE;
}

BOOL CPrintPMDoc::OnNewDocument()
{
    EnterWorkFolder();
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    CString strParts = pSettings ? pSettings->m_strPartFormFile : CString();
    if (RunPMFormSelection("形式ﾌｧｲﾙ選択"_sj, strParts) != IDOK)
        return FALSE;
    EnterWorkFolder();
    if (!ReadForms(strParts))
        return FALSE;
    return CPrintDoc::OnNewDocument();
}

BOOL CPrintPMDoc::OnOpenDocument(LPCTSTR lpszPathName)
{
    EnterWorkFolder();
    RemoveLeftBackupTemporaries(lpszPathName, ".BBP");
    return CPrintDoc::OnOpenDocument(lpszPathName);
}

BOOL CPrintPMDoc::OnSaveDocument(LPCTSTR lpszPathName)
{
    EnterWorkFolder();
    MakeBackup(lpszPathName);
    return CPrintDoc::OnSaveDocument(lpszPathName);
}
