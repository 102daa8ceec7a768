#include "layout/printform/FormSelection.h"

#include "layout/printform/CPrintFilePages.h"

int RunEMFormSelection(const CString& strCaption, CString& strEstimation, CString& strInformation)
{
    CMyEMPrintFileSheet sheet(strCaption, strEstimation, strInformation);
    const int nResult = static_cast<int>(sheet.DoModal());
    if (nResult == IDOK) {
        strEstimation = sheet.m_estimationPage.m_strFileName;
        strInformation = sheet.m_informationPage.m_strFileName;
    }
    return nResult;
}

int RunPMFormSelection(const CString& strCaption, CString& strParts)
{
    CMyPMPrintFileSheet sheet(strCaption, strParts);
    const int nResult = static_cast<int>(sheet.DoModal());
    if (nResult == IDOK)
        strParts = sheet.m_partsPage.m_strFileName;
    return nResult;
}
