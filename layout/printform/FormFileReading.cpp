#include "layout/printform/FormFileReading.h"

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CMorvelSettings.h"
#include "app/CPartFormFile.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"

template <class TForm>
BOOL ReadLayoutForm(const char* lpszFolderKey, const CString& strFileName, TForm& form)
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    if (pSettings == nullptr || strFileName.IsEmpty())
        return FALSE;
    CFile file;
    if (!file.Open(pSettings->GetPathSetting(lpszFolderKey) + strFileName,
                   CFile::modeRead | CFile::shareDenyNone))
        return FALSE;
    TForm loaded;
    try {
        CArchive ar(&file, CArchive::load, 4096);
        if (loaded.Serialize(ar) != 0)
            return FALSE;
        ar.Close();
    } catch (CException&) {
        return FALSE;
    }
    form = loaded;
    return TRUE;
}

template BOOL ReadLayoutForm<CEstimationFormFile>(const char*, const CString&, CEstimationFormFile&);
template BOOL ReadLayoutForm<CInformationFormFile>(const char*, const CString&, CInformationFormFile&);
template BOOL ReadLayoutForm<CPartFormFile>(const char*, const CString&, CPartFormFile&);
