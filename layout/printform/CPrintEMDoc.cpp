#include "layout/printform/CPrintEMDoc.h"

#include "app/CMorvelSettings.h"
#include "layout/printform/FormFileReading.h"
#include "layout/printform/FormSelection.h"
#include "platform/base/CArchive.h"
#include "platform/ui/core/CUserException.h"

IMPLEMENT_DYNCREATE(CPrintEMDoc, CPrintDoc)

CPrintEMDoc::CPrintEMDoc() = default;

CPrintEMDoc::~CPrintEMDoc() = default;

void CPrintEMDoc::RebuildFieldRefs()
{
    RebuildFieldRefsFor("$見積("_sj);
}

void CPrintEMDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        RebuildFieldRefs();
        ar << m_strCurEstimationForm;
        m_curEstimationForm.Serialize(ar);
        ar << m_strCurInformationForm;
        m_curInformationForm.Serialize(ar);
        CPrintDoc::Serialize(ar);
        return;
    }
    // A form block that is not a form leaves the rest of the file misaligned: the layout
    // is damaged and does not open (the form's reader has said so).
    ar >> m_strCurEstimationForm;
    if (m_curEstimationForm.Serialize(ar) != 0)
        AfxThrowUserException();
    ar >> m_strCurInformationForm;
    if (m_curInformationForm.Serialize(ar) != 0)
        AfxThrowUserException();
    CPrintDoc::Serialize(ar);
    // The stored values keep only 16 bits; the tokens hold the true ones.
    RebuildFieldRefs();
}

BOOL CPrintEMDoc::ReadForms(const CString& strEstimation, const CString& strInformation)
{
    CEstimationFormFile estimation;
    CInformationFormFile information;
    if (!ReadLayoutForm("Estimation Form", strEstimation, estimation) ||
        !ReadLayoutForm("Information Form", strInformation, information))
        return FALSE;
    m_strCurEstimationForm = strEstimation;
    m_curEstimationForm = estimation;
    m_strCurInformationForm = strInformation;
    m_curInformationForm = information;
    return TRUE;
}

BOOL CPrintEMDoc::OnNewDocument()
{
    EnterWorkFolder();
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    CString strEstimation = pSettings ? pSettings->m_strEstimationFormFile : CString();
    CString strInformation = pSettings ? pSettings->m_strInformationFormFile : CString();
    if (RunEMFormSelection("形式ﾌｧｲﾙ選択"_sj, strEstimation, strInformation) != IDOK)
        return FALSE;
    EnterWorkFolder();
    if (!ReadForms(strEstimation, strInformation))
        return FALSE;
    // The forms chosen survive the base's DeleteContents, which empties only the layout.
    return CPrintDoc::OnNewDocument();
}

BOOL CPrintEMDoc::OnOpenDocument(LPCTSTR lpszPathName)
{
    EnterWorkFolder();
    RemoveLeftBackupTemporaries(lpszPathName, ".BMP");
    return CPrintDoc::OnOpenDocument(lpszPathName);
}

BOOL CPrintEMDoc::OnSaveDocument(LPCTSTR lpszPathName)
{
    EnterWorkFolder();
    MakeBackup(lpszPathName);
    return CPrintDoc::OnSaveDocument(lpszPathName);
}
